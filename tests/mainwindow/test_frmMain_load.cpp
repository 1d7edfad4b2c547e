// Loading and unloading the records window: spoiled settings, typing right after a load, the error trap
// after load, and what closing writes and compacts.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "datafile/DataFileCommands.h"
#include "desktop/MessageBox.h"
#include "errorreport/ErrorReportText.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/Twips.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <sys/stat.h>

using mwtest::child;

namespace {
const QString kSection = QStringLiteral("Accounts\\BOB\\Settings");

void store(const char* key, const QString& text)
{
    SettingsStore::write(kSection, QString::fromLatin1(key), text);
}

QString stored(const char* key)
{
    return SettingsStore::read(kSection, QString::fromLatin1(key), QStringLiteral("<absent>"));
}

// A compaction in place puts a new file where the old one was: its inode number changes.
ino_t inodeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

const char* const kExitKeys[] = {"MainLeft", "MainTop",    "MainWidth", "MainHeight", "DBpath",
                                 "Encrypt",  "ColAccount", "ColURL",    "ShowNew",    "EmptyFile"};
} // namespace

class TestFrmMainLoad : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
    }

    void cleanup() { m_env.reset(); }

    // Settings spoiled by hand or by another tool: each unreadable key is reported with its name and the
    // settings file, falls back to its default and is mended in the file; a position off every screen
    // brings the window back onto one, and that is the position kept.
    void spoiledSettingsAreReportedMendedAndTheWindowComesBackOnScreen()
    {
        store("PeekOn", QStringLiteral("banana"));
        store("PeekTime", QStringLiteral("99999"));
        store("MainLeft", QStringLiteral("30000000"));
        QStringList reports;
        bwSetReporter([&reports](const BwErrorReport& report) {
            reports << report.description;
            return BwReportAnswer{BwAction::Leave, QString()};
        });
        auto window = mwtest::loadedWindow();

        QCOMPARE(reports.size(), 2);
        for (const QString& key : {QStringLiteral("PeekOn"), QStringLiteral("PeekTime")}) {
            const QString report = reports.takeFirst();
            QVERIFY2(report.contains(QLatin1Char('"') + key + QLatin1Char('"')), qPrintable(report));
            QVERIFY2(report.contains(SettingsStore::filePath()), qPrintable(report));
        }
        QVERIFY(Options.PeekOn);
        QCOMPARE(Options.PeekTime, qint16(10));
        QCOMPARE(stored("PeekOn"), QStringLiteral("True"));
        QCOMPARE(stored("PeekTime"), QStringLiteral("10"));

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        QCOMPARE(screen.intersected(frame).size(), frame.size().boundedTo(screen.size()));
        window->close();
        QCOMPARE(Twips::toPixelsX(stored("MainLeft").toFloat(), window.get()), frame.x());
        QVERIFY(mwtest::loadedWindow()->frameGeometry().topLeft() == frame.topLeft());
        QCOMPARE(reports.size(), 0); // the next start reads the mended file without a word
    }

    void typingRightAfterALoadSearchesTheListAndChangesNoRecord()
    {
        // As users of other vaults do: type the start of a name. The letters go to the grid, whose letter jump
        // finds the account; none lands in a record box.
        const QString file =
            mwtest::makeFile(*m_env, QStringLiteral("vault.lwd"), mwtest::accounts({"amazon", "ebay", "github"}));
        auto window = mwtest::loadedWindow(file);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), child(window.get(), "DataGrid1"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("g"));
        QCOMPARE(window->boxText("txtAccount"), QStringLiteral("github"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ebay"));
        QVERIFY(window->close());
        QCOMPARE(fixtures::readAccounts(file, mwtest::dataFilePassword()),
                 QStringList(
                     {"amazon|https://amazon.example", "ebay|https://ebay.example", "github|https://github.example"}));
    }

    // Loading switches tracing off from inside Main and Form_Load. A handler's error afterwards is reported
    // without those levels, so the report dialog says the trace is unavailable, and LWD.LOG holds this
    // run's start line from the load on.
    void errorsAfterLoadComeWithoutAStaleTrace()
    {
        QList<BwErrorReport> reports;
        bwSetReporter([&reports](const BwErrorReport& report) {
            reports << report;
            return BwReportAnswer{};
        });
        BW_TRACE("Module1.bas", "Sub Main");
        auto window =
            mwtest::loadedWindow(mwtest::makeFile(*m_env, QStringLiteral("vault.lwd"), mwtest::accounts({"Alpha"})));
        QCOMPARE(bwDepth(), 1);
        QFile log(m_env->path(QStringLiteral("LWD.LOG")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().endsWith("] START PROGRAM\r\n"));

        child<QLineEdit>(window.get(), "txtFilter")->setText(QStringLiteral("o'ne")); // pasted: never screened
        window->cmdFilter_Click();
        QCOMPARE(reports.size(), 1);
        QCOMPARE(ErrorReportText::callTree(reports[0]),
                 QStringList({"<unavailable: the procedure trace is switched off>"}));
        const QByteArray logged = log.readAll();
        QVERIFY(logged.contains("Code Pointer : frmMain.frm : Sub cmdFilter_Click\r\n"));
        QVERIFY(!logged.contains("Sub Form_Load") && !logged.contains("Sub setErrorTrapOptions"));
        QCOMPARE(bwDepth(), 1);
    }

    void closingWritesTheTenValuesAndCompactsTheFile()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("vault.lwd"), mwtest::accounts({"Alpha", "Beta"}));
        const ino_t before = inodeOf(file);
        auto window = mwtest::loadedWindow(file);
        QDialog other;
        other.show();
        window->move(300, 150);
        window->mnuFileExit_Click();
        QVERIFY(other.isHidden());
        QCOMPARE(stored("MainLeft").toFloat(), Twips::fromPixelsX(window->frameGeometry().x(), window.get()));
        for (const char* key : kExitKeys)
            QVERIFY2(stored(key) != QLatin1String("<absent>"), key);
        QCOMPARE(stored("DBpath"), file);
        QVERIFY(inodeOf(file) != before); // compacted in place into a fresh copy
        QCOMPARE(fixtures::readAccounts(file, mwtest::dataFilePassword()),
                 QStringList({"Alpha|https://alpha.example", "Beta|https://beta.example"}));
    }

    void aFileOpenedWithAnotherPasswordIsNotCompacted()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("vault.lwd"), mwtest::accounts({"Alpha"}));
        const ino_t before = inodeOf(file);
        auto window = mwtest::loadedWindow(file);
        window->fileCommands().openPassword = SecretText(QStringLiteral("secret1"));
        window->close();
        QCOMPARE(inodeOf(file), before);
    }
};

QTEST_MAIN(TestFrmMainLoad)
#include "test_frmMain_load.moc"
