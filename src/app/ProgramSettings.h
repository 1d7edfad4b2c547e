#pragma once
// Every section and key the program keeps in the settings store, with its text form and default,
// and the one options object that holds the per-user options and layout while the program runs.
//
// Sections: "LastLogin"; "Accounts\" + user (the password verifier); "Accounts\" + user + "\Settings"
// (options and layout). User names are upper-cased, so names differing only in letter case are one
// user. A name holding "\" or "/" could reach into another user's section and is refused.
#include <QString>

// The per-user options and layout, read once when the main window loads and kept for the run. The
// defaults here are the ones a first run gets; a fresh ProgramOptions is the state before any load.
struct ProgramOptions
{
    bool PeekOn = true;       // a revealed secret field is hidden again after PeekTime seconds
    qint16 PeekTime = 10;     // seconds a revealed field stays visible
    bool TimeoutOn = true;    // the security time-out locks the window
    qint16 TimeoutTime = 5;   // minutes of inactivity before the lock
    bool KeepOnTop = false;   // the main window stays above other windows
    bool AutoLoad = true;     // the last data file is opened at start
    QString DBpath;           // path of the current data file
    bool Encrypt = false;     // carried from load to exit unchanged
    float ColAccount = 0.0F;  // width of the grid column "Account", twips (its default follows the grid)
    float ColURL = 0.0F;      // width of the grid column "URL", twips
    bool ShowNew = false;     // true: the information window after creating a data file is no longer shown
    bool EmptyFile = false;   // carried from load to exit unchanged
    float MainLeft = 1000.0F; // left edge of the main window, twips
    float MainTop = 1000.0F;  // top edge of the main window, twips
    float MainWidth = 0.0F;   // width of the main window at the last exit, twips (written, never read)
    float MainHeight = 0.0F;  // height of the main window at the last exit, twips (written, never read)
};

// The options of this run, shared by the records window, the options dialog and the data file commands.
extern ProgramOptions Options;

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

    // Reads the user's options and layout into Options, in this order: MainLeft, MainTop, PeekOn,
    // PeekTime, TimeoutOn, TimeoutTime, KeepOnTop, AutoLoad, DBpath, Encrypt, ColAccount, ColURL,
    // ShowNew, EmptyFile; then fits the column widths to the grid. An absent key gives its default.
    // A stored text that cannot be read goes to the error trap, the report naming the key and the
    // settings file; unless the answer is to retry, the key gets its default, which is written back
    // over the text, so the next start reads it without a word.
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
