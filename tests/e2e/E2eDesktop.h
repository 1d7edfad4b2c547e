#pragma once
// A private desktop for end-to-end tests: an X server of its own (so typing never reaches another
// test's windows), fresh configuration and runtime folders, the real program started in it, and
// xdotool to find windows, type and press keys.
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class E2eDesktop
{
public:
    E2eDesktop();
    ~E2eDesktop();

    // Starts the X server; false (with the reason in skipReason()) where Xvfb or xdotool is missing.
    bool start();
    QString skipReason() const { return m_skipReason; }

    // Fresh, empty configuration and runtime folders for the next program run; this process uses the
    // same configuration folder, so the settings store reads what the program wrote.
    void freshFolders();
    QString configFolder() const;

    // Starts the program with USER set to `osUser`, the given command-line arguments and the environment
    // changed by `environment` ("NAME=value" entries).
    std::unique_ptr<QProcess> startProgram(const QString& osUser = QStringLiteral("e2euser"),
                                           const QStringList& arguments = {}, const QStringList& environment = {});

    // The id of a window whose title, as the window manager shows it (_NET_WM_NAME), matches the regular
    // expression (anchor it), waiting up to timeoutMs; empty when none came. onlyVisible: mapped windows only.
    QString waitForWindow(const QString& titlePattern, int timeoutMs, bool onlyVisible = true);
    // True once no mapped window's title matches within timeoutMs.
    bool waitForNoWindow(const QString& titlePattern, int timeoutMs);
    // The window's _NET_WM_NAME; empty when it has none.
    QString shownTitle(const QString& window);
    // The window's place and size on the screen, and the screen's size.
    QRect geometry(const QString& window);
    QSize screenSize();

    // Starts a system tray (trayer) at the screen's bottom edge; false (with the reason) where there is none.
    bool startTray();
    // The tray's own window, once it is up.
    QString trayWindow();
    // Clicks `button` (1 left, 3 right) at a point of the screen.
    bool clickAt(const QPoint& where, int button);
    // Presses keys ("Home Delete") wherever the keyboard is now (a pop-up menu holds it).
    bool press(const QString& keys);
    // The clipboard's text.
    QString clipboard();
    // Saves a picture of part of the screen as PNG.
    bool screenshotArea(const QRect& area, const QString& path);

    // Gives the window the keyboard focus, then types the text or presses the keys ("Return", "Home Delete").
    bool typeInto(const QString& window, const QString& text) { return sendTo(window, QStringLiteral("type"), text); }
    bool pressIn(const QString& window, const QString& keys) { return sendTo(window, QStringLiteral("key"), keys); }
    bool unmap(const QString& window);

    // Saves a picture of the window as PNG.
    bool screenshot(const QString& window, const QString& path);

private:
    QString xdotool(const QStringList& args, bool* ok = nullptr);
    bool sendTo(const QString& window, const QString& command, const QString& what);

    QProcessEnvironment toolEnvironment() const;

    QProcess m_server;
    QProcess m_tray;
    QTemporaryDir m_scratch;
    QString m_display;
    QString m_skipReason;
    int m_run = 0;
};
