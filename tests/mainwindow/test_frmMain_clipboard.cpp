// A revealed secret on a real X11 clipboard and primary selection (the X server scripts/run-tests
// starts), read back by another program, xclip, as a user's paste would: it is there while its time
// lasts and gone from both when the reveal ends, the window locks, the data file closes or the program
// ends; the user's own copy made since, and a field that is no secret, are left alone.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "desktop/Clipboard.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kToolMs = 10000;

// What a paste from the clipboard or the primary selection gives another program ("" when nothing is
// there). This process serves the paste, so its events run while xclip waits.
QString pasted(const char* selection, const char* target = "UTF8_STRING")
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QString::fromLatin1(selection),
                                          QStringLiteral("-t"), QString::fromLatin1(target), QStringLiteral("-o")});
    if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, kToolMs))
        qFatal("xclip did not end");
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

void lockByTimeOut(frmMain& window)
{
    Options.TimeoutOn = true;
    for (int minute = 0; minute < 100 && !window.Locked(); ++minute)
        window.Timer2_Timer();
}
} // namespace

class TestFrmMainClipboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (scripts/run-tests starts one)");
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            QSKIP("xclip is not installed");
    }

    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        const QString file =
            mwtest::makeFile(*m_env, QStringLiteral("clip.lwd"),
                             {{"Alpha", "https://alpha.example", "al", "pw-alpha", "", "PIN", "1111"}});
        m_window = mwtest::loadedWindow(file);
        QVERIFY(m_window->isDataFileOpen());
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void aSecretLeavesBothWhenItsTimeEnds_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("the reveal ends") << 0;
        QTest::newRow("the window locks") << 1;
        QTest::newRow("the data file closes") << 2;
        QTest::newRow("the program ends") << 3;
    }

    void aSecretLeavesBothWhenItsTimeEnds()
    {
        QFETCH(int, ending);
        m_window->cmdSP_Click();
        QCOMPARE(pasted("clipboard"), QStringLiteral("pw-alpha"));
        QCOMPARE(pasted("primary"), QStringLiteral("pw-alpha"));
        const QString targets = pasted("clipboard", "TARGETS");
        for (const ClipboardHint& hint : kSecretHints)
            QVERIFY2(targets.contains(QLatin1String(hint.format)), qPrintable(targets));
        QCOMPARE(pasted("clipboard", kPasswordManagerHint), QLatin1String(kPasswordManagerHintSecret));

        switch (ending) {
        case 0:
            m_window->Timer1_Timer();
            break;
        case 1:
            lockByTimeOut(*m_window);
            QVERIFY(m_window->Locked());
            break;
        case 2:
            m_window->mnuFileClose_Click();
            QVERIFY(!m_window->isDataFileOpen());
            break;
        default:
            m_window.reset();
        }
        QCOMPARE(pasted("clipboard"), QString());
        QCOMPARE(pasted("primary"), QString());
    }

    void theUsersOwnCopyAndPlainFieldsAreLeftAlone()
    {
        m_window->cmdSP_Click();
        // The user copies something of his own in another program, which keeps serving it.
        QProcess own;
        own.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                            QStringLiteral("clipboard"), QStringLiteral("-i")});
        own.write("the user's own text");
        own.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->ownsClipboard(), kToolMs);

        m_window->Timer1_Timer();
        QCOMPARE(pasted("clipboard"), QStringLiteral("the user's own text"));
        QCOMPARE(pasted("primary"), QString()); // the selection still held the secret

        m_window->cmdSP_Click();
        m_window->cmdURL_Click(); // a field that is no secret replaces the secret, and stays
        lockByTimeOut(*m_window);
        QCOMPARE(pasted("clipboard"), QStringLiteral("https://alpha.example"));
        QCOMPARE(pasted("primary"), QStringLiteral("https://alpha.example"));
        own.kill();
        own.waitForFinished(kToolMs);
    }
};

QTEST_MAIN(TestFrmMainClipboard)
#include "test_frmMain_clipboard.moc"
