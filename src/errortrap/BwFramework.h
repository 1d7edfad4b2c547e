#pragma once
// The trap's state for the whole program: settings, trace stack, logs and reporter, behind the bw* entry points.
//
// The trace belongs to the thread that started the trap (the user-interface thread). Trace calls from other
// threads are ignored, as are option calls; an error reported from another thread is logged and answered Leave.
#include "errortrap/Bulwark.h"
#include "errortrap/BwSettings.h"
#include "errortrap/CircularLog.h"
#include "errortrap/TraceStack.h"

#include <QElapsedTimer>
#include <atomic>
#include <mutex>

class QThread;

class BwFramework
{
public:
    static BwFramework& instance();

    // Pushes a level while tracing is on; true when it did (a level past the last one is counted instead).
    bool push(QLatin1String module, QLatin1String procedure, QLatin1String args);
    // WhileTracing: only while tracing is on (bwPOP). Always: also when it has been switched off since the
    // level was pushed (a traced scope leaving); no trace line is written then.
    enum class Leave { WhileTracing, Always };
    void pop(QLatin1String module, QLatin1String procedure, Leave when = Leave::WhileTracing);
    BwAction report(const QString& procedure, const QString& module, const RuntimeError& error);
    QVariant option(int number, const QVariant& value);

    int depth() const;
    QStringList entries() const;

    void setReporter(BwReporter reporter);
    void setProgramFolder(const QString& folder);
    QString programFolder() const;
    void endProgram();
    void reset();

private:
    BwFramework() = default;

    void ensureStarted();
    bool onTraceThread() const;
    void applyCircularLog(const BwSettings& before);
    bool logging() const; // trace lines are written somewhere
    void writeTraceLine(bool entering, const QString& entry);
    void writeNote(const QString& text);
    void captureLine(const QString& line);
    void markStart(const QString& path);
    void internalError(int number);
    BwReportAnswer ask(const BwErrorReport& report);

    mutable std::mutex m_mutex; // settings, folder and reporter, which other threads read
    std::atomic<bool> m_started{false};
    std::atomic<QThread*> m_owner{nullptr};
    QString m_folder;    // the program's folder: BWCLIENT.INI
    QString m_logFolder; // where the logs are written
    BwSettings m_settings;
    BwReporter m_reporter;

    TraceStack m_stack;
    CircularLog m_circular;
    QElapsedTimer m_clock;
    int m_sequence = 0;
    QString m_startMarked; // the log file that holds this run's start line
    bool m_tooDeepNoted = false;
    bool m_reporting = false;
};
