#include "MainWindowFixture.h"

#include "app/LoginValues.h"
#include "mainwindow/frmMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mwtest {

namespace {
// Where temporary files went before a test environment moved them.
const QString g_originalTemp = QDir::tempPath();
} // namespace

void logIn(const QString& user, const QString& password)
{
    fixtures::logIn(user, password);
}

QString dataFilePassword(const QString& password)
{
    return password + QStringLiteral("K7352");
}

QList<fixtures::Record> realisticRecords()
{
    return {
        {"Amazon", "https://www.amazon.com", "bob.miller@example.com", "Gx7#mQ2!vL", "old one was the cat", "PIN",
         "4471"},
        {"Bank of Springfield", "https://online.springfieldbank.example", "bmiller77", "Tq9$wE4r!Z", "", "Card PIN",
         "8812", "Security word", "harbour"},
        {"BBC", "https://www.bbc.co.uk/account", "bob.miller@example.com", "radio4Morning"},
        {"British Gas", "https://www.britishgas.co.uk", "BM-559102", "Meter#2024"},
        {"Dropbox", "https://www.dropbox.com/login", "bob.miller@example.com", "d8F!kq29Lm", "2FA on phone"},
        {"eBay", "https://signin.ebay.co.uk", "bobm_collects", "Vint4ge!Radio"},
        {"GitHub", "https://github.com/login", "bmiller-dev", "hU3&nP8@xY", "", "Recovery code", "5c1e-77ab"},
        {"Gmail", "https://mail.google.com", "bob.miller@example.com", "Sp4rrow!Nest", "first pet + year"},
        {"HMRC Gateway", "https://www.gov.uk/log-in-register-hmrc-online-services", "6612 4409 8813", "Tax2024!Form"},
        {"Home Wi-Fi", "", "", "kettle-orange-97", "router sticker", "SSID", "Miller_Home"},
        {"LinkedIn", "https://www.linkedin.com/login", "bob.miller@example.com", "Netw0rk!ng"},
        {"Netflix", "https://www.netflix.com/login", "bob.miller@example.com", "Sofa&Popcorn9"},
        {"NHS App", "https://www.nhsapp.service.nhs.uk", "bob.miller@example.com", "Wellb3ing!"},
        {"Office 365", "https://login.microsoftonline.com", "b.miller@work.example", "Q3report!Due"},
        {"PayPal", "https://www.paypal.com/signin", "bob.miller@example.com", "Pp!7Hq2xR4"},
        {"Spotify", "https://accounts.spotify.com", "bobmillermusic", "Jazz&Blues55"},
        {"Steam", "https://store.steampowered.com/login", "bobgames", "L3vel_Up!"},
        {"Tesco Clubcard", "https://secure.tesco.com/account", "bob.miller@example.com", "Gr0ceries!"},
        {"Trainline", "https://www.thetrainline.com", "bob.miller@example.com", "Platform9&3/4"},
        {"Zoom", "https://zoom.us/signin", "b.miller@work.example", "Me3ting!Room"},
    };
}

QList<fixtures::Record> accounts(const QStringList& names)
{
    QList<fixtures::Record> records;
    for (const QString& name : names)
        records.append({name, QStringLiteral("https://") + name.toLower() + QStringLiteral(".example")});
    return records;
}

QString makeFile(const Environment& env, const QString& name, const QList<fixtures::Record>& records)
{
    // Encrypting a file costs two key derivations: each set of records is made once and copied.
    static QTemporaryDir made(g_originalTemp + QStringLiteral("/lw-mainwindow-files-XXXXXX"));
    const QString password = dataFilePassword(LoginValues::masterPassword().exposed().text());
    QCryptographicHash key(QCryptographicHash::Sha1);
    key.addData(password.toUtf8());
    for (const fixtures::Record& record : records)
        key.addData(record.join(QChar(0x1F)).toUtf8() + QByteArray(1, '\x1E'));
    const QString master = made.filePath(QString::fromLatin1(key.result().toHex()));
    if (!QFileInfo::exists(master))
        fixtures::makeDataFile(master, password, records);
    const QString file = env.path(name);
    QFile::remove(file);
    if (!QFile::copy(master, file))
        qFatal("the data file could not be copied");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    return file;
}

std::unique_ptr<frmMain> loadedWindow(const QString& commandText)
{
    auto window = std::make_unique<frmMain>();
    window->setCommandText(commandText);
    window->Form_Load();
    return window;
}

} // namespace mwtest
