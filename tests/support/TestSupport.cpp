#include "TestSupport.h"

#include "DataFileFixtures.h"
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "desktop/Clipboard.h"
#include "desktop/FileDialog.h"
#include "desktop/Keystrokes.h"
#include "desktop/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

namespace support {

namespace {
// The environment in force: one made while another exists takes over, and the older one then puts
// nothing back when it ends (a test that makes the next environment before it drops the last).
const Environment* g_current = nullptr;

// Dialog answers still waiting: a test's answer must not meet the next test's dialog.
QList<QPointer<QTimer>>& pendingAnswers()
{
    static QList<QPointer<QTimer>> timers;
    return timers;
}

void dropPendingAnswers()
{
    for (const QPointer<QTimer>& timer : std::as_const(pendingAnswers()))
        delete timer.data();
    pendingAnswers().clear();
}
} // namespace

Environment::Environment() : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldTemp(qgetenv("TMPDIR"))
{
    if (!m_dir.isValid())
        qFatal("no temporary folder");
    if (g_current) { // what the environment it takes over from had put back
        m_oldConfig = g_current->m_oldConfig;
        m_oldTemp = g_current->m_oldTemp;
        dropPendingAnswers();
    }
    g_current = this;
    QDir().mkpath(path(QStringLiteral("config")));
    QDir().mkpath(path(QStringLiteral("tmp")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    qputenv("TMPDIR", QFile::encodeName(path(QStringLiteral("tmp"))));
    bwReset();
    bwSetProgramFolder(path());
    MessageBoxSeam::clear();
    FileDialogSeam::clear();
    KeystrokeSeam::clear();
    Options = ProgramOptions();
    LoginValues::wipe();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) // a test without a GUI has no clipboard
        clearClipboard();
}

Environment::~Environment()
{
    if (g_current != this)
        return;
    g_current = nullptr;
    dropPendingAnswers();
    bwReset();
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("TMPDIR", m_oldTemp);
}

QString Environment::path(const QString& name) const
{
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

void Environment::keepReports()
{
    bwSetReporter([this](const BwErrorReport& report) {
        m_reports.append(report);
        return BwReportAnswer{BwAction::Leave, QString()};
    });
}

void logIn(const QString& user, const QString& password)
{
    fixtures::logIn(user, password);
    SettingsStore::write(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"),
                         LoginValues::heldVerifier().exposed().text());
}

QString storedVerifier(const QString& user)
{
    return SettingsStore::read(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"));
}

void whenModalShows(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, act] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible()) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        } else if (++*tries > 2000) {
            poll->stop();
            poll->deleteLater();
        }
    });
    pendingAnswers().append(poll);
    poll->start(5);
}

void typeInto(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

} // namespace support
