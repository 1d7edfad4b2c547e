#pragma once
// What the records window tests share: a private settings folder and temporary folder, a user logged
// in programmatically, data files holding chosen records, and a loaded window.
#include "DataFileFixtures.h"

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class frmMain;
class QWidget;

namespace mwtest {

// A fresh environment per test: settings, temporary files and the error logs go into a folder of
// their own; every program-wide value the window reads is back at its default.
class Environment
{
public:
    Environment();
    ~Environment();
    QString path(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldTemp;
};

// Logs BOB in with his master password: the login values and the key in force, as a login leaves them.
void logIn(const QString& user = QStringLiteral("BOB"), const QString& password = QStringLiteral("secret1"));
// The data file password of a file made for the user logged in.
QString dataFilePassword(const QString& password = QStringLiteral("secret1"));

// Twenty records as a user keeps them: account, URL, user ID, password and the rest.
QList<fixtures::Record> realisticRecords();
// Records with these account names (URL "https://" + lower-case name + ".example").
QList<fixtures::Record> accounts(const QStringList& names);

// Makes a data file for the logged-in user.
QString makeFile(const Environment& env, const QString& name, const QList<fixtures::Record>& records);

// A window loaded with nothing on the command line (and AutoLoad as stored), or with a data file.
std::unique_ptr<frmMain> loadedWindow(const QString& commandText = QString());

// A child control of the window by name; the test fails hard when it is missing.
template <class T = QWidget> T* child(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

// Runs `act` on the next modal dialog once it is up (looking for it every few milliseconds, for up to
// ten seconds); nothing happens when none comes.
void whenModalShows(std::function<void(QWidget*)> act);

// Types text into a box as a user does: focus, then one key per character.
void typeInto(QWidget* box, const QString& text);

} // namespace mwtest
