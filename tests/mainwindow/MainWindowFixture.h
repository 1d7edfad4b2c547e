#pragma once
// What the records window tests share: a private settings folder and temporary folder, a user logged
// in programmatically, data files holding chosen records, and a loaded window.
#include "DataFileFixtures.h"
#include "TestSupport.h"

#include <QString>
#include <memory>

class frmMain;
class QWidget;

namespace mwtest {

// A fresh environment per test (settings, temporary files, error logs in a folder of their own).
using Environment = support::Environment;
using support::child;
using support::typeInto;
using support::whenModalShows;

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

} // namespace mwtest
