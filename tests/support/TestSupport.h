#pragma once
// What the widget and settings tests share: a private place for everything a test writes, the error trap
// started afresh, a user logged in as a successful login leaves them, and ways to drive modal dialogs.
#include "errortrap/Bulwark.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

namespace support {

// A fresh environment per test: settings (XDG_CONFIG_HOME), temporary files (TMPDIR) and the error logs
// (the program folder) go into a folder of their own; the error trap, the dialog seams and the program's
// options start afresh. Errors the trap reports are kept in reports() instead of shown, answered "leave",
// once keepReports() is called. Everything is put back when the environment ends.
class Environment
{
public:
    Environment();
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    QString path(const QString& name = QString()) const;
    void keepReports();
    QList<BwErrorReport>& reports() { return m_reports; }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldTemp;
    QList<BwErrorReport> m_reports;
};

// Logs `user` in with `password` as a login leaves it: the key in force, the verifier held and stored.
void logIn(const QString& user, const QString& password);
// The verifier stored for the user, read straight from the settings.
QString storedVerifier(const QString& user);

// A child control by name; the test fails hard when it is missing.
template <class T = QWidget> T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

// Runs `act` on the next modal dialog once it is up (looking every few milliseconds, for up to ten
// seconds; it works inside exec()). A watch still waiting when the environment ends is dropped.
void whenModalShows(std::function<void(QWidget*)> act);
// The same for the next modal dialog of type Dialog.
template <class Dialog> void whenModal(std::function<void(Dialog*)> act)
{
    whenModalShows([act](QWidget* dialog) {
        if (auto* typed = qobject_cast<Dialog*>(dialog))
            act(typed);
        else
            qFatal("another dialog came up: %s", qPrintable(dialog->objectName()));
    });
}

// Types text into a box as a user does: focus, then one key per character.
void typeInto(QWidget* box, const QString& text);

} // namespace support
