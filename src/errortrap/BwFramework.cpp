#include "errortrap/BwFramework.h"

#include "errortrap/BwCatalogue.h"
#include "errortrap/BwFiles.h"
#include "errortrap/BwOptions.h"
#include "errortrap/DefaultReporter.h"
#include "errortrap/ErrorLog.h"
#include "errortrap/IniFile.h"
#include "errortrap/TraceLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {
constexpr QLatin1String kCrLf("\r\n");
constexpr int kLogFileOption = 16;

QString timestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// The program's folder, also before the application object exists (a procedure traced early in start-up).
QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return exe.exists() ? QFileInfo(exe.canonicalFilePath()).absolutePath() : QDir::currentPath();
}

QString operatingSystemUser()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}
} // namespace

BwFramework& BwFramework::instance()
{
    // Never destroyed: destructors of other static objects may still be traced at exit.
    static BwFramework* framework = new BwFramework;
    return *framework;
}

void BwFramework::ensureStarted()
{
    if (m_started)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_started)
        return;
    const QCoreApplication* app = QCoreApplication::instance();
    m_owner = app ? app->thread() : QThread::currentThread();
    const QString folder = m_folder.isEmpty() ? executableFolder() : m_folder;
    m_folder = folder;
    m_logFolder = BwFiles::logFolderFor(folder);
    m_settings = BwSettings::fromIni(IniFile::load(BwFiles::resolve(folder, BwFiles::configFileName())));
    bwdetail::g_tracing = m_settings.tracing();
    m_clock.start();
    if (m_settings.circularLogActive())
        m_circular.open(BwFiles::circularLogPath(m_logFolder, m_settings), m_settings.recordSize,
                        m_settings.maxRecords);
    m_started = true;
}

bool BwFramework::onTraceThread() const
{
    return QThread::currentThread() == m_owner.load();
}

bool BwFramework::push(QLatin1String module, QLatin1String procedure, QLatin1String args)
{
    ensureStarted();
    if (!m_settings.tracing() || !onTraceThread())
        return false;
    const QLatin1String shownArgs = m_settings.includeArguments ? args : QLatin1String();
    if (m_stack.push(module, procedure, shownArgs) == TraceStack::Push::TooDeep) {
        if (!m_tooDeepNoted)
            writeNote(bwMessage(BwMsg::TooDeep));
        m_tooDeepNoted = true;
        return true;
    }
    if (logging())
        writeTraceLine(true, m_stack.entry(m_stack.depth()));
    return true;
}

void BwFramework::pop(QLatin1String module, QLatin1String procedure, Leave when)
{
    ensureStarted();
    const bool tracing = m_settings.tracing();
    if ((!tracing && when == Leave::WhileTracing) || !onTraceThread())
        return;
    // Copied only when it is written: a copy would make the level's buffer be reallocated on the next push.
    const bool lineWritten = tracing && logging();
    const QString top = lineWritten ? m_stack.entry(m_stack.depth()) : QString();
    switch (m_stack.pop(module, procedure)) {
    case TraceStack::Pop::Balanced:
        if (lineWritten)
            writeTraceLine(false, top);
        break;
    case TraceStack::Pop::Overflow:
        break;
    case TraceStack::Pop::Repaired:
        writeNote(bwMessage(BwMsg::UnbalancedProcedure) + bwMessage(BwMsg::ModuleCaption) + module +
                  QStringLiteral(", ") + bwMessage(BwMsg::ProcedureCaption) + QLatin1Char(' ') + procedure);
        break;
    case TraceStack::Pop::Unbalanced:
        writeNote(bwMessage(BwMsg::UnbalancedProcedure) + bwMessage(BwMsg::PopWithoutPush) +
                  bwMessage(BwMsg::ModuleCaption) + module + QStringLiteral(", ") + bwMessage(BwMsg::ProcedureCaption) +
                  QLatin1Char(' ') + procedure);
        break;
    }
}

bool BwFramework::logging() const
{
    return m_circular.isOpen() || m_settings.captureToDisk;
}

void BwFramework::writeTraceLine(bool entering, const QString& entry)
{
    const bool circular = m_circular.isOpen();
    TraceLineFields fields;
    fields.elapsedMs = m_clock.elapsed();
    fields.sequence = m_sequence = (m_sequence + 1) % 100000;
    fields.entering = entering;
    fields.entry = entry;
    fields.includeResources = m_settings.includeResources;
    fields.includeMemory = m_settings.includeMemory;
    if (fields.includeResources || fields.includeMemory)
        fields.figures = bwSystemFigures();
    const QString line = bwTraceLine(fields);
    if (circular)
        m_circular.write(line);
    if (m_settings.captureToDisk)
        captureLine(line);
}

// A remark of the trap about the trace itself, for the log file only.
void BwFramework::writeNote(const QString& text)
{
    if (m_settings.captureToDisk)
        captureLine(QLatin1Char('[') + QString::number(m_clock.elapsed()) + QStringLiteral("] ") + text);
}

void BwFramework::captureLine(const QString& line)
{
    const QString path = BwFiles::captureLogPath(m_logFolder, m_settings);
    markStart(path);
    BwFiles::append(path, line + kCrLf);
}

// This run's start line, once per log file, before anything else of the run goes there.
void BwFramework::markStart(const QString& path)
{
    if (path == m_startMarked)
        return;
    m_startMarked = path;
    BwFiles::append(path,
                    QLatin1Char('[') + timestamp() + QStringLiteral("] ") + bwMessage(BwMsg::StartProgram) + kCrLf);
}

BwAction BwFramework::report(const QString& procedure, const QString& module, const RuntimeError& error)
{
    ensureStarted();
    const bool owner = onTraceThread();
    BwErrorReport report;
    report.number = error.number();
    report.description = error.description();
    report.source = error.source();
    report.module = module;
    report.procedure = procedure;
    report.trace = error.trace().isEmpty() && owner ? entries() : error.trace();

    BwSettings settings;
    QString folder;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        settings = m_settings;
        folder = m_logFolder;
    }
    // Silent, on another thread, or while a report is already up: log only.
    BwReportAnswer answer;
    if (!settings.silentRun && owner && !m_reporting)
        answer = ask(report);

    if (settings.writeToDisk) {
        BwErrorLogEntry entry{report, answer.action, answer.note, QDateTime::currentDateTime(),
                              settings.includeUser ? operatingSystemUser() : QString()};
        BwFiles::append(BwFiles::errorLogPath(folder, settings), bwErrorLogText(entry));
    }
    return answer.action;
}

BwReportAnswer BwFramework::ask(const BwErrorReport& report)
{
    m_reporting = true;
    BwReportAnswer answer;
    try {
        answer = m_reporter ? m_reporter(report) : bwDefaultReporter(report);
    } catch (const RuntimeError& e) {
        internalError(e.number());
        answer = BwReportAnswer();
    } catch (...) {
        internalError(BwErr::InternalError);
        answer = BwReportAnswer();
    }
    m_reporting = false;
    return answer;
}

void BwFramework::internalError(int number)
{
    const QString text = bwMessage(BwMsg::ErrorIntercepted) + bwMessage(BwMsg::InternalErrorTitle) +
                         QStringLiteral(": ") + bwInternalErrorText(number, 0);
    qWarning("%s", qPrintable(text));
    if (m_settings.writeToDisk)
        BwFiles::append(BwFiles::errorLogPath(m_logFolder, m_settings),
                        QStringLiteral("*Error ") + timestamp() + kCrLf + text + kCrLf + kCrLf);
}

QVariant BwFramework::option(int number, const QVariant& value)
{
    ensureStarted();
    if (!onTraceThread())
        return QVariant();
    std::lock_guard<std::mutex> lock(m_mutex);
    const BwSettings before = m_settings;
    const QVariant result = bwApplyOption(m_settings, number, value, m_logFolder);
    bwdetail::g_tracing = m_settings.tracing();
    applyCircularLog(before);
    // Naming the log file starts this run in it, so a run is marked even when no trace line follows.
    if (number == kLogFileOption && m_settings.captureToDisk)
        markStart(BwFiles::captureLogPath(m_logFolder, m_settings));
    return result;
}

void BwFramework::applyCircularLog(const BwSettings& before)
{
    const BwSettings& now = m_settings;
    if (!now.circularLogActive()) {
        m_circular.close();
        return;
    }
    const QString path = BwFiles::circularLogPath(m_logFolder, now);
    const bool reopen = !before.circularLogActive() || path != m_circular.path() ||
                        before.circularFileName != now.circularFileName || before.recordSize != now.recordSize;
    if (reopen)
        m_circular.open(path, now.recordSize, now.maxRecords);
    else if (before.maxRecords != now.maxRecords)
        m_circular.setMaxRecords(now.maxRecords);
}

int BwFramework::depth() const
{
    return onTraceThread() ? m_stack.depth() : 0;
}

QStringList BwFramework::entries() const
{
    // With tracing off the levels left on the trace are those of callers entered before: not the trace of now.
    return onTraceThread() && m_settings.tracing() ? m_stack.entries() : QStringList();
}

void BwFramework::setReporter(BwReporter reporter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reporter = std::move(reporter);
}

void BwFramework::setProgramFolder(const QString& folder)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_folder = folder;
    if (m_started)
        m_logFolder = BwFiles::logFolderFor(folder);
}

QString BwFramework::programFolder() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_folder.isEmpty())
        return m_folder;
    return executableFolder();
}

void BwFramework::endProgram()
{
    if (!m_started || !onTraceThread() || !m_settings.captureToDisk)
        return;
    captureLine(QLatin1Char('[') + timestamp() + bwMessage(BwMsg::EndProgram) + QCoreApplication::applicationName());
}

void BwFramework::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stack.clear();
    m_circular.close();
    m_settings = BwSettings();
    m_reporter = nullptr;
    m_folder.clear();
    m_logFolder.clear();
    m_sequence = 0;
    m_startMarked.clear();
    m_tooDeepNoted = false;
    m_reporting = false;
    m_owner = nullptr;
    m_started = false;
    bwdetail::g_tracing = true;
}
