#pragma once
// Every section and key the program keeps in the settings store, with its text form and default,
// and the program-wide variables that hold the per-user options and layout while the program runs.
//
// Sections: "LastLogin"; "Accounts\" + user (the password verifier); "Accounts\" + user + "\Settings"
// (options and layout). User names are upper-cased, so names differing only in letter case are one
// user. A name holding "\" or "/" could reach into another user's section and is refused.
#include <QString>

// The per-user options and layout, read once when the main window loads.
extern bool PeekOn;         // a revealed secret field is hidden again after PeekTime seconds
extern qint16 PeekTime;     // seconds a revealed field stays visible
extern bool TimeoutOn;      // the security time-out locks the window
extern qint16 TimeoutTime;  // minutes of inactivity before the lock
extern bool KeepOnTop;      // the main window stays above other windows
extern bool AutoLoad;       // the last data file is opened at start
extern QString DBpath;      // path of the current data file
extern bool EncryptSetting; // key "Encrypt", carried from load to exit unchanged (the cipher owns the name Encrypt)
extern float ColAccount;    // width of the grid column "Account", twips
extern float ColURL;        // width of the grid column "URL", twips
extern bool ShowNew;        // true: the information window after creating a data file is no longer shown
extern bool EmptyFile;      // carried from load to exit unchanged
extern float MainLeft;      // left edge of the main window, twips
extern float MainTop;       // top edge of the main window, twips
extern float MainWidth;     // width of the main window at the last exit, twips (written, never read)
extern float MainHeight;    // height of the main window at the last exit, twips (written, never read)

// False for an empty name and for a name holding a section separator ("\" or "/").
bool isValidUserName(const QString& name);

class ProgramSettings
{
public:
    static QString lastLoginSection();                       // "LastLogin"
    static QString accountSection(const QString& user);      // "Accounts\" + USER
    static QString userSettingsSection(const QString& user); // "Accounts\" + USER + "\Settings"

    // Default width of each grid column: half the grid width less 60.1.
    static float defaultColumnWidth(float gridWidth);
    // When the two columns together are wider than the grid less 299.1, both become half the grid
    // width less 150.1.
    static void fitColumnWidths(float gridWidth);

    // Reads the user's options and layout into the variables, in this order: MainLeft, MainTop,
    // PeekOn, PeekTime, TimeoutOn, TimeoutTime, KeepOnTop, AutoLoad, DBpath, Encrypt, ColAccount,
    // ColURL, ShowNew, EmptyFile; then fits the column widths to the grid. An absent key gives its
    // default; a stored text that cannot be read goes to the error trap and the key keeps its default.
    static void loadAtStart(const QString& user, float gridWidth);

    // Writes the window geometry and file settings at exit, in this order: MainLeft, MainTop,
    // MainWidth, MainHeight, DBpath, Encrypt, ColAccount, ColURL, ShowNew, EmptyFile. The caller
    // skips it while the window is minimised.
    static void saveAtExit(const QString& user, float left, float top, float width, float height);

    // Writes the options, in this order: PeekOn, PeekTime, TimeoutOn, TimeoutTime, AutoLoad, KeepOnTop.
    static void saveOptions(const QString& user);

    // The user name of the last successful login; empty when no one has logged in.
    static QString lastLoginName();
    static void setLastLoginName(const QString& user);

    // The password verifier of a user; empty when the user name is new.
    static QString verifierOf(const QString& user);
    static void setVerifierOf(const QString& user, const QString& verifier);
};
