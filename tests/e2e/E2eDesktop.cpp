#include "E2eDesktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kPollMs = 100;
constexpr int kToolTimeoutMs = 10000;
} // namespace

E2eDesktop::E2eDesktop() = default;

E2eDesktop::~E2eDesktop()
{
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
}

bool E2eDesktop::start()
{
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            m_skipReason = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return false;
        }
    }
    // Xvfb picks a free display and writes its number to descriptor 3, sent to a file here.
    const QString displayFile = m_scratch.filePath(QStringLiteral("display"));
    m_server.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>\"$1\" 2>/dev/null"),
                    QStringLiteral("sh"), displayFile});
    QFile file(displayFile);
    if (!m_server.waitForStarted(5000) || !QTest::qWaitFor([&] { return file.size() > 0; }, 10000) ||
        !file.open(QIODevice::ReadOnly)) {
        m_skipReason = QStringLiteral("Xvfb did not start");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(file.readAll().trimmed());
    return true;
}

void E2eDesktop::freshFolders()
{
    ++m_run;
    for (const char* folder : {"config", "run"}) {
        const QString path = m_scratch.filePath(QStringLiteral("%1-%2").arg(QString::fromLatin1(folder)).arg(m_run));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    qputenv("XDG_CONFIG_HOME", configFolder().toLocal8Bit());
}

QString E2eDesktop::configFolder() const
{
    return m_scratch.filePath(QStringLiteral("config-%1").arg(m_run));
}

std::unique_ptr<QProcess> E2eDesktop::startProgram(const QString& osUser)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_scratch.filePath(QStringLiteral("run-%1").arg(m_run)));
    env.insert(QStringLiteral("USER"), osUser);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    auto program = std::make_unique<QProcess>();
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(m_scratch.path());
    program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program->start(QStringLiteral(LW_PROGRAM), {});
    program->waitForStarted(5000);
    return program;
}

QString E2eDesktop::xdotool(const QStringList& args, bool* ok)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), args);
    const bool done = tool.waitForFinished(kToolTimeoutMs) && tool.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QString E2eDesktop::waitForWindow(const QString& titlePattern, int timeoutMs, bool onlyVisible)
{
    QElapsedTimer waited;
    waited.start();
    do {
        QStringList args{QStringLiteral("search")};
        if (onlyVisible)
            args << QStringLiteral("--onlyvisible");
        args << QStringLiteral("--name") << titlePattern;
        const QString found = xdotool(args);
        if (!found.isEmpty())
            return found.split(QLatin1Char('\n')).last();
        QTest::qWait(kPollMs);
    } while (waited.elapsed() < timeoutMs);
    return QString();
}

bool E2eDesktop::waitForNoWindow(const QString& titlePattern, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                            titlePattern})
                .isEmpty();
        },
        timeoutMs);
}

bool E2eDesktop::sendTo(const QString& window, const QString& command, const QString& what)
{
    bool ok = false;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, &ok);
    QTest::qWait(kPollMs); // let the program take the focus before the keys arrive
    if (ok)
        xdotool({command, QStringLiteral("--delay"), QStringLiteral("30"), what}, &ok);
    return ok;
}

bool E2eDesktop::unmap(const QString& window)
{
    bool ok = false;
    xdotool({QStringLiteral("windowunmap"), QStringLiteral("--sync"), window}, &ok);
    return ok;
}

bool E2eDesktop::screenshot(const QString& window, const QString& path)
{
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    import.setProcessEnvironment(env);
    import.start(QStringLiteral("import"), {QStringLiteral("-window"), window, path});
    return import.waitForFinished(kToolTimeoutMs) && import.exitCode() == 0;
}
