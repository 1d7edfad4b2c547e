// Loading and unloading the records window: texts from the string table, the settings read at load and
// their defaults, the command line and auto-load, the error trap after load, and what closing writes.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "app/StringTable.h"
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
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
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

    float columnWidth(const frmMain& window, int column) const
    {
        return Twips::fromPixelsX(child<QTableView>(&window, "DataGrid1")->horizontalHeader()->sectionSize(column),
                                  &window);
    }
    float gridWidth(const frmMain& window) const
    {
        return Twips::fromPixelsX(child<QTableView>(&window, "DataGrid1")->width(), &window);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
    }

    void cleanup() { m_env.reset(); }

    void creatingTheWindowReadsNothing()
    {
        store("PeekTime", QStringLiteral("7"));
        frmMain window;
        QVERIFY(!window.isFormLoaded());
        QCOMPARE(Options.PeekTime, qint16(10));
        QVERIFY(window.close()); // a window never loaded writes nothing when it goes
        QCOMPARE(stored("MainLeft"), QStringLiteral("<absent>"));
    }

    void theWindowTakesItsTextsFromTheStringTable()
    {
        auto window = mwtest::loadedWindow();
        QCOMPARE(window->windowTitle(), LoadResString(kTitleBannerId));
        QCOMPARE(window->statusPanel(1), QStringLiteral("No DataBase Loaded:"));
        QCOMPARE(child(window.get(), "txtKey3Label")->toolTip(), QStringLiteral("Custom Label: 3"));
    }

    void theDefaultsApplyWhenNothingIsStored()
    {
        auto window = mwtest::loadedWindow();
        QCOMPARE(window->pos(), QPoint(Twips::toPixelsX(1000, window.get()), Twips::toPixelsY(1000, window.get())));
        QVERIFY(Twips::fromPixelsX(window->width(), window.get()) >= 10455.0F - 15.0F);
        QVERIFY(Twips::fromPixelsY(window->height(), window.get()) >= 7845.0F - 15.0F);
        // Two columns of half the grid less 60.1 never fit into the grid less 299.1: the defaults come
        // back at half the grid less 150.1.
        const float w = gridWidth(*window);
        QCOMPARE(Options.ColAccount, float(double(w) * 0.5 - 150.1));
        QCOMPARE(Options.ColURL, Options.ColAccount);
        QVERIFY(std::abs(columnWidth(*window, 0) - Options.ColAccount) <= 15.0F);
    }

    void storedSettingsAreReadButNotTheStoredSize()
    {
        store("MainLeft", QStringLiteral("3000"));
        store("MainTop", QStringLiteral("1500"));
        store("MainWidth", QStringLiteral("30000"));
        store("MainHeight", QStringLiteral("20000"));
        store("PeekTime", QStringLiteral("7"));
        store("TimeoutTime", QStringLiteral("3"));
        store("KeepOnTop", QStringLiteral("True"));
        auto designed = std::make_unique<frmMain>();
        const QSize designedSize = designed->size();
        auto window = mwtest::loadedWindow();
        QCOMPARE(window->pos(), QPoint(200, 100));
        QCOMPARE(window->size().width(), std::max(designedSize.width(), Twips::toPixelsX(10455, window.get())));
        QCOMPARE(Options.PeekTime, qint16(7));
        QCOMPARE(window->securityLock().countdownStart(), qint16(3));
        QCOMPARE(child<PictureButton>(window.get(), "imgTBontop")->pictureName(), QStringLiteral("LED-GUP"));
    }

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

    void storedColumnsTooWideForTheGridAreHalvedLess150()
    {
        store("ColAccount", QStringLiteral("9000"));
        store("ColURL", QStringLiteral("9000"));
        auto window = mwtest::loadedWindow();
        const float w = gridWidth(*window);
        QCOMPARE(Options.ColAccount, float(double(w) * 0.5 - 150.1));
        QCOMPARE(Options.ColURL, Options.ColAccount);
        QVERIFY(std::abs(columnWidth(*window, 1) - Options.ColURL) <= 15.0F);

        store("ColAccount", QStringLiteral("1500"));
        store("ColURL", QStringLiteral("1700"));
        auto fitting = mwtest::loadedWindow();
        QCOMPARE(Options.ColAccount, 1500.0F);
        QVERIFY(std::abs(columnWidth(*fitting, 1) - 1700.0F) <= 15.0F);
    }

    void theCommandLineNamesTheFileToOpen()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("My vault.lwd"), mwtest::accounts({"Alpha"}));
        auto window = mwtest::loadedWindow(QLatin1Char('"') + file + QStringLiteral("\" "));
        QVERIFY(window->isDataFileOpen());
        QCOMPARE(Options.DBpath, file);
        QCOMPARE(window->statusPanel(1), QStringLiteral("1 Accounts stored."));
        QCOMPARE(window->statusPanel(2), QStringLiteral("My vault.lwd"));
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

    void theLastFileOpensOnlyWithAutoLoad()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("last.lwd"), {});
        store("DBpath", file);
        store("AutoLoad", QStringLiteral("False"));
        QVERIFY(!mwtest::loadedWindow()->isDataFileOpen());
        store("AutoLoad", QStringLiteral("True"));
        QVERIFY(mwtest::loadedWindow()->isDataFileOpen());
        // A command line of quotes names no file, and the last file does not open either.
        QVERIFY(!mwtest::loadedWindow(QStringLiteral("\"\""))->isDataFileOpen());

        // A last file that is gone opens nothing and says nothing; it stays the last file.
        store("DBpath", m_env->path(QStringLiteral("gone.lwd")));
        auto window = mwtest::loadedWindow();
        QVERIFY(!window->isDataFileOpen());
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QCOMPARE(Options.DBpath, m_env->path(QStringLiteral("gone.lwd")));
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

    void closingWhileMinimisedWritesNothing()
    {
        store("MainLeft", QStringLiteral("2000"));
        auto window = mwtest::loadedWindow();
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        window->close();
        for (const char* key : kExitKeys) {
            if (qstrcmp(key, "MainLeft") != 0)
                QVERIFY2(stored(key) == QLatin1String("<absent>"), key);
        }
        QCOMPARE(stored("MainLeft"), QStringLiteral("2000"));
    }
};

QTEST_MAIN(TestFrmMainLoad)
#include "test_frmMain_load.moc"
