// The program's settings: defaults on a first run, what load, exit and the options read and write,
// users kept apart, and a stored text that cannot be read reaching the error trap.
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "errortrap/Bulwark.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kBobSettings = QStringLiteral("Accounts\\BOB\\Settings");

// Values no default has, so a test sees what a load really set.
void scribbleOverVariables()
{
    Options.PeekOn = Options.TimeoutOn = Options.AutoLoad = false;
    Options.KeepOnTop = Options.Encrypt = Options.ShowNew = Options.EmptyFile = true;
    Options.PeekTime = Options.TimeoutTime = -1;
    Options.DBpath = QStringLiteral("stale");
    Options.ColAccount = Options.ColURL = Options.MainLeft = Options.MainTop = Options.MainWidth = Options.MainHeight =
        -1.0F;
}

void store(const QString& key, const QString& text)
{
    SettingsStore::write(kBobSettings, key, text);
}

QStringList sortedKeysOf(const QString& section)
{
    QSettings raw(SettingsStore::filePath(), QSettings::IniFormat);
    raw.beginGroup(QString(section).replace(QLatin1Char('\\'), QLatin1Char('/')));
    QStringList keys = raw.childKeys();
    keys.sort();
    return keys;
}

} // namespace

class TestProgramSettings : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_home;
    QList<BwErrorReport> m_reports;

private Q_SLOTS:
    void init()
    {
        m_home.reset(new QTemporaryDir);
        qputenv("XDG_CONFIG_HOME", (m_home->path() + QStringLiteral("/config")).toLocal8Bit());
        bwReset();
        bwSetProgramFolder(m_home->path());
        m_reports.clear();
        bwSetReporter([this](const BwErrorReport& report) {
            m_reports.append(report);
            return BwReportAnswer{BwAction::Leave, QString()};
        });
        scribbleOverVariables();
    }

    void cleanup() { bwReset(); }

    void firstRunGivesDefaults()
    {
        ProgramSettings::loadAtStart(QStringLiteral("bob"), 9000.0F);
        QCOMPARE(Options.MainLeft, 1000.0F);
        QCOMPARE(Options.MainTop, 1000.0F);
        QVERIFY(Options.PeekOn && Options.TimeoutOn && Options.AutoLoad);
        QVERIFY(!Options.KeepOnTop && !Options.Encrypt && !Options.ShowNew && !Options.EmptyFile);
        QCOMPARE(Options.PeekTime, qint16(10));
        QCOMPARE(Options.TimeoutTime, qint16(5));
        QCOMPARE(Options.DBpath, QString());
        // Two default columns (half the grid less 60.1 each) never fit the grid less 299.1, so a first
        // run always ends with half the grid less 150.1.
        QCOMPARE(ProgramSettings::defaultColumnWidth(9000.0F), 4439.9F);
        QCOMPARE(Options.ColAccount, 4349.9F);
        QCOMPARE(Options.ColURL, 4349.9F);
        QVERIFY(m_reports.isEmpty());
        QVERIFY2(!QFile::exists(SettingsStore::filePath()), "reading the settings wrote the store");
    }

    void exitAndOptionsWriteTheirOwnKeys()
    {
        Options.DBpath = QStringLiteral("/home/bob/My Vault.lwd");
        Options.ColAccount = 3000.5F;
        Options.ColURL = 2000.25F;
        ProgramSettings::saveAtExit(QStringLiteral("bob"), 1500.0F, 1230.0F, 12000.0F, 9000.0F);
        QCOMPARE(sortedKeysOf(kBobSettings),
                 QStringList({"ColAccount", "ColURL", "DBpath", "EmptyFile", "Encrypt", "MainHeight", "MainLeft",
                              "MainTop", "MainWidth", "ShowNew"}));
        QCOMPARE(SettingsStore::read(kBobSettings, QStringLiteral("ShowNew")), QStringLiteral("True"));

        ProgramSettings::saveOptions(QStringLiteral("bob"));
        QCOMPARE(sortedKeysOf(kBobSettings).size(), 16);
        QCOMPARE(SettingsStore::read(kBobSettings, QStringLiteral("PeekTime")), QStringLiteral("-1"));

        scribbleOverVariables();
        Options.PeekTime = 42;
        Options.MainWidth = Options.MainHeight = 5.0F;
        ProgramSettings::loadAtStart(QStringLiteral("BOB"), 9000.0F);
        QCOMPARE(Options.MainLeft, 1500.0F);
        QCOMPARE(Options.MainTop, 1230.0F);
        QCOMPARE(Options.DBpath, QStringLiteral("/home/bob/My Vault.lwd"));
        QCOMPARE(Options.ColAccount, 3000.5F);
        QCOMPARE(Options.ColURL, 2000.25F);
        QVERIFY(Options.Encrypt && Options.ShowNew && Options.EmptyFile && Options.KeepOnTop);
        QVERIFY(!Options.PeekOn && !Options.TimeoutOn && !Options.AutoLoad);
        QCOMPARE(Options.PeekTime, qint16(-1));
        QCOMPARE(Options.MainWidth, 5.0F); // the stored size is never read back
        QCOMPARE(Options.MainHeight, 5.0F);
    }

    void storedTextsOfOtherTools()
    {
        store(QStringLiteral("KeepOnTop"), QStringLiteral("-1"));
        store(QStringLiteral("AutoLoad"), QStringLiteral("0"));
        store(QStringLiteral("ColAccount"), QStringLiteral("4000"));
        store(QStringLiteral("ColURL"), QStringLiteral("4700,9")); // comma decimal; exactly fills the grid
        ProgramSettings::loadAtStart(QStringLiteral("bob"), 9000.0F);
        QVERIFY(Options.KeepOnTop);
        QVERIFY(!Options.AutoLoad);
        QCOMPARE(Options.ColAccount, 4000.0F);
        QCOMPARE(Options.ColURL, 4700.9F);

        store(QStringLiteral("ColAccount"), QStringLiteral("4000.1"));
        ProgramSettings::loadAtStart(QStringLiteral("bob"), 9000.0F);
        QCOMPARE(Options.ColAccount, 4349.9F);
        QCOMPARE(Options.ColURL, 4349.9F);
    }

    void unreadableTextReachesTheTrap()
    {
        const auto spoil = [] {
            store(QStringLiteral("PeekOn"), QStringLiteral("abc"));
            store(QStringLiteral("PeekTime"), QStringLiteral("40000"));
            store(QStringLiteral("ShowNew"), QString(QLatin1String("")));
        };
        spoil();
        store(QStringLiteral("TimeoutTime"), QStringLiteral("7"));
        ProgramSettings::loadAtStart(QStringLiteral("bob"), 9000.0F);

        QCOMPARE(m_reports.size(), 3);
        QCOMPARE(m_reports.at(0).number, 13);
        QVERIFY(m_reports.at(0).description.startsWith(QStringLiteral("Type mismatch: the setting \"PeekOn\"")));
        QCOMPARE(m_reports.at(0).module, QStringLiteral("ProgramSettings.cpp"));
        QCOMPARE(m_reports.at(1).number, 6);
        QCOMPARE(m_reports.at(2).number, 13); // an empty text is no Boolean either
        // The unreadable keys keep their defaults, which replace them in the store, and the load goes on
        // with the others.
        QVERIFY(Options.PeekOn);
        QVERIFY(!Options.ShowNew);
        QCOMPARE(Options.PeekTime, qint16(10));
        QCOMPARE(Options.TimeoutTime, qint16(7));
        QCOMPARE(bwDepth(), 0);
        QCOMPARE(SettingsStore::read(kBobSettings, QStringLiteral("ShowNew")), QStringLiteral("False"));

        // Answered with retry, the key is read again.
        spoil();
        m_reports.clear();
        bwSetReporter([this](const BwErrorReport& report) {
            m_reports.append(report);
            store(QStringLiteral("PeekOn"), QStringLiteral("False"));
            store(QStringLiteral("PeekTime"), QStringLiteral("12"));
            store(QStringLiteral("ShowNew"), QStringLiteral("true"));
            return BwReportAnswer{BwAction::Retry, QString()};
        });
        ProgramSettings::loadAtStart(QStringLiteral("bob"), 9000.0F);
        QCOMPARE(m_reports.size(), 1); // the first answer mended all three keys
        QVERIFY(!Options.PeekOn);
        QVERIFY(Options.ShowNew);
        QCOMPARE(Options.PeekTime, qint16(12));
    }

    void usersAreKeptApart()
    {
        ProgramSettings::setVerifierOf(QStringLiteral("BOB"), QStringLiteral("bob-verifier"));
        ProgramSettings::setVerifierOf(QStringLiteral("alice"), QStringLiteral("alice-verifier"));
        ProgramSettings::setLastLoginName(QStringLiteral("alice"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("bob")), QStringLiteral("bob-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("ALICE")), QStringLiteral("alice-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("CAROL")), QString());
        QCOMPARE(ProgramSettings::lastLoginName(), QStringLiteral("ALICE"));

        ProgramSettings::saveAtExit(QStringLiteral("Bob"), 111.0F, 222.0F, 10455.0F, 7845.0F);
        ProgramSettings::loadAtStart(QStringLiteral("alice"), 9000.0F);
        QCOMPARE(Options.MainLeft, 1000.0F);
        ProgramSettings::loadAtStart(QStringLiteral("bOB"), 9000.0F);
        QCOMPARE(Options.MainLeft, 111.0F);

        // INI syntax in a name stays inside that name's section.
        const QString odd = QStringLiteral("A=B;C[D] #E");
        ProgramSettings::setVerifierOf(odd, QStringLiteral("odd-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(odd), QStringLiteral("odd-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("A")), QString());
    }

    void namesWithSeparatorsAreRefused()
    {
        QVERIFY(isValidUserName(QStringLiteral("Bob Smith")));
        QVERIFY(!isValidUserName(QString()));
        QVERIFY(!isValidUserName(QStringLiteral("BOB\\SETTINGS")));
        QVERIFY(!isValidUserName(QStringLiteral("BOB/SETTINGS")));

        ProgramSettings::setVerifierOf(QStringLiteral("BOB"), QStringLiteral("bob-verifier"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ProgramSettings::setVerifierOf(QStringLiteral("BOB\\SETTINGS"), "x"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ProgramSettings::setLastLoginName(QStringLiteral("A/B")));
        QVERIFY(sortedKeysOf(kBobSettings).isEmpty());
        QCOMPARE(ProgramSettings::lastLoginName(), QString());
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "test_programsettings.moc"
