#include "E2eDesktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kPollMs = 100;
constexpr int kToolTimeoutMs = 10000;
} // namespace

E2eDesktop::E2eDesktop() = default;

E2eDesktop::~E2eDesktop()
{
    if (m_tray.state() != QProcess::NotRunning) {
        m_tray.terminate();
        m_tray.waitForFinished(5000);
    }
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

std::unique_ptr<QProcess> E2eDesktop::startProgram(const QString& osUser, const QStringList& arguments,
                                                   const QStringList& environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_scratch.filePath(QStringLiteral("run-%1").arg(m_run)));
    env.insert(QStringLiteral("USER"), osUser);
    // The sanitizer would set the core size limit to zero itself: the program is to do it.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:disable_coredump=0"));
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    auto program = std::make_unique<QProcess>();
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(m_scratch.path());
    program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program->start(QStringLiteral(LW_PROGRAM), arguments);
    program->waitForStarted(5000);
    return program;
}

QProcessEnvironment E2eDesktop::toolEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    return env;
}

namespace {
QString runTool(const QProcessEnvironment& env, const QString& program, const QStringList& args, bool* ok = nullptr)
{
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(program, args);
    const bool done =
        tool.waitForFinished(kToolTimeoutMs) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}
} // namespace

QString E2eDesktop::xdotool(const QStringList& args, bool* ok)
{
    return runTool(toolEnvironment(), QStringLiteral("xdotool"), args, ok);
}

// Candidates come from xdotool, which matches WM_NAME: the title as the program gave it, so the pattern
// without its end anchor. The window manager shows _NET_WM_NAME, and that is what must match.
QString E2eDesktop::waitForWindow(const QString& titlePattern, int timeoutMs, bool onlyVisible)
{
    const QRegularExpression shown(titlePattern);
    QString prefix = titlePattern;
    if (prefix.endsWith(QLatin1Char('$')))
        prefix.chop(1);
    QElapsedTimer waited;
    waited.start();
    do {
        QStringList args{QStringLiteral("search")};
        if (onlyVisible)
            args << QStringLiteral("--onlyvisible");
        args << QStringLiteral("--name") << prefix;
        const QStringList found = xdotool(args).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (auto window = found.crbegin(); window != found.crend(); ++window) {
            if (shown.match(shownTitle(*window)).hasMatch())
                return *window;
        }
        QTest::qWait(kPollMs);
    } while (waited.elapsed() < timeoutMs);
    return QString();
}

bool E2eDesktop::waitForNoWindow(const QString& titlePattern, int timeoutMs)
{
    return QTest::qWaitFor([&] { return waitForWindow(titlePattern, 0).isEmpty(); }, timeoutMs);
}

QString E2eDesktop::shownTitle(const QString& window)
{
    // _NET_WM_NAME = "text", with \" and \\ escaped
    const QString line = runTool(toolEnvironment(), QStringLiteral("xprop"),
                                 {QStringLiteral("-id"), window, QStringLiteral("_NET_WM_NAME")});
    const qsizetype open = line.indexOf(QLatin1Char('"'));
    if (open < 0 || !line.endsWith(QLatin1Char('"')))
        return QString();
    QString title = line.mid(open + 1, line.size() - open - 2);
    title.replace(QStringLiteral("\\\""), QStringLiteral("\"")).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return title;
}

QRect E2eDesktop::geometry(const QString& window)
{
    QHash<QString, int> values;
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    for (const QString& line : shell.split(QLatin1Char('\n')))
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                 values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
}

QSize E2eDesktop::screenSize()
{
    const QStringList size = xdotool({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
}

bool E2eDesktop::startTray()
{
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) {
        m_skipReason = QStringLiteral("trayer is not installed");
        return false;
    }
    m_tray.setProcessEnvironment(toolEnvironment());
    m_tray.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_tray.start(QStringLiteral("trayer"),
                 {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                  QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                  QStringLiteral("--height"), QStringLiteral("32")});
    if (!m_tray.waitForStarted(5000) || trayWindow().isEmpty()) {
        m_skipReason = QStringLiteral("trayer did not start");
        return false;
    }
    return true;
}

QString E2eDesktop::trayWindow()
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                             QStringLiteral("trayer")})
                        .section(QLatin1Char('\n'), 0, 0);
            return !found.isEmpty();
        },
        kToolTimeoutMs);
    return found;
}

bool E2eDesktop::clickAt(const QPoint& where, int button)
{
    bool ok = false;
    // No --sync: it would wait for ever when the pointer is already there.
    xdotool({QStringLiteral("mousemove"), QString::number(where.x()), QString::number(where.y()),
             QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("click"), QString::number(button)},
            &ok);
    return ok;
}

bool E2eDesktop::press(const QString& keys)
{
    bool ok = false;
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} +
                keys.split(QLatin1Char(' ')),
            &ok);
    return ok;
}

QString E2eDesktop::clipboard()
{
    return runTool(toolEnvironment(), QStringLiteral("xclip"),
                   {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
}

bool E2eDesktop::screenshotArea(const QRect& area, const QString& path)
{
    bool ok = false;
    runTool(toolEnvironment(), QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
             QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y()), path},
            &ok);
    return ok;
}

bool E2eDesktop::sendTo(const QString& window, const QString& command, const QString& what)
{
    bool ok = false;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, &ok);
    QTest::qWait(kPollMs); // let the program take the focus before the keys arrive
    if (ok) {
        // Keys are named one by one ("Home Delete"); typed text goes as it is.
        const QStringList args = command == QLatin1String("key") ? what.split(QLatin1Char(' ')) : QStringList{what};
        xdotool(QStringList{command, QStringLiteral("--delay"), QStringLiteral("30")} + args, &ok);
    }
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
    bool ok = false;
    runTool(toolEnvironment(), QStringLiteral("import"), {QStringLiteral("-window"), window, path}, &ok);
    return ok;
}
