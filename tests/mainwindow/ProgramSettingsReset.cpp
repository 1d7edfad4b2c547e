// Puts the program-wide option variables back to their defaults between tests.
#include "app/ProgramSettings.h"

void resetProgramSettingsForTest()
{
    PeekOn = true;
    PeekTime = 10;
    TimeoutOn = true;
    TimeoutTime = 5;
    KeepOnTop = false;
    AutoLoad = true;
    DBpath.clear();
    EncryptSetting = false;
    ColAccount = 0.0F;
    ColURL = 0.0F;
    ShowNew = false;
    EmptyFile = false;
    MainLeft = 1000.0F;
    MainTop = 1000.0F;
    MainWidth = 0.0F;
    MainHeight = 0.0F;
}
