#pragma once
// The error trap: the procedure trace that every procedure keeps, and the capture of run-time errors.
//
// Every procedure starts with BW_TRACE(module, procedure). Event handlers run their body through
// bwHandler(), which hands any run-time error to bwERROR() and acts on the answer.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <stdexcept>

// An unexpected run-time error. It keeps the procedure trace of the moment it was raised, so that the report
// names the procedure that failed even after the stack has unwound to the handler.
// Its description and source must never hold a secret (a password, a verifier, a record field): they are
// written to the error log and shown in reports. Say what failed, never with what data.
class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(int number, const QString& description, const QString& source = QString());
    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }
    QStringList trace() const { return m_trace; } // trace entries when raised (empty while tracing is off)

private:
    int m_number;
    QString m_description;
    QString m_source;
    QStringList m_trace;
};

// Well-known error numbers, as the program's run-time raises them.
namespace BwErr {
constexpr int TypeMismatch = 13;
constexpr int InvalidProcedureCall = 5;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int ObjectRequired = 424;
constexpr int InternalError = 51;
} // namespace BwErr

enum class BwAction { Retry, GoOn, Leave };

// Procedure trace. module and procedure are the file name and title, e.g. "frmLogin.frm", "Sub cmdOK_Click".
void bwPUSH(const char* module, const char* procedure, const char* args = "");
void bwPOP(const char* module, const char* procedure, const char* args = "");

// Reports an error (to the reporter unless silent, to the error log when writing to disk) and answers how the
// failing procedure goes on. In silent mode, and whenever the user cannot be asked, the answer is Leave.
BwAction bwERROR(const QString& procedure, const QString& module, const RuntimeError& error);

// What the reporter is told about an error: the trace is the one of the moment the error was raised.
struct BwErrorReport
{
    int number = 0;
    QString description, source, module, procedure;
    QStringList trace;
};
// The reporter's answer, and the user's note on what he was doing (written to the error log).
struct BwReportAnswer
{
    BwAction action = BwAction::Leave;
    QString note;
};
using BwReporter = std::function<BwReportAnswer(const BwErrorReport&)>;

// Installs the reporter that bwERROR asks (an empty one restores the default: the message on standard error,
// answering Leave). An exception from the reporter is logged as an internal error of the trap and answered
// with Leave.
void bwSetReporter(BwReporter reporter);

// The folder that holds "BWCLIENT.INI" and the logs: the program's folder unless set here, before the trap
// starts (tests).
void bwSetProgramFolder(const QString& folder);
QString bwProgramFolder();

// Writes the end-of-program line to the log file when trace lines are captured; call once at shut-down.
void bwEndProgram();

// Forgets everything: trace, settings, logs, reporter, folder. The next traced entry starts afresh (tests).
void bwReset();

// The option routine: value "GET" (any case) reads option `number`; anything else sets it.
QVariant bwOption(int number, const QVariant& value);

// Introspection for tests and the report dialog.
int bwDepth();
QStringList bwTraceEntries(); // entry texts of levels 1..depth; none while tracing is switched off

namespace bwdetail {
// True while both tracing switches are on; checked inline so a switched-off trace costs one load.
extern bool g_tracing;
// A traced scope's entry: true when it put a level on the trace, which its leave must take off again.
bool enterScope(const char* module, const char* procedure);
// Takes the level of a scope that entered off the trace, even when tracing was switched off since.
void leaveScope(const char* module, const char* procedure);
} // namespace bwdetail

// Keeps the trace balanced: a scope takes off exactly what it put on, however the tracing switches
// change while it runs (the procedure that switches tracing off, and its callers, still leave the trace).
class BwTraceScope
{
public:
    BwTraceScope(const char* module, const char* procedure) : m_module(module), m_procedure(procedure)
    {
        if (bwdetail::g_tracing)
            m_entered = bwdetail::enterScope(m_module, m_procedure);
    }
    ~BwTraceScope()
    {
        if (m_entered)
            bwdetail::leaveScope(m_module, m_procedure);
    }
    BwTraceScope(const BwTraceScope&) = delete;
    BwTraceScope& operator=(const BwTraceScope&) = delete;

private:
    const char* m_module;
    const char* m_procedure;
    bool m_entered = false;
};

#define BW_TRACE(module, procedure) const BwTraceScope bwTraceScope_((module), (procedure))

// Runs an event handler's body under the error trap: an exception goes to bwERROR; Retry runs the body
// again, GoOn and Leave both return (C++ cannot resume after the failing statement; the log tells which).
template <class Body> void bwHandler(const char* module, const char* procedure, Body&& body)
{
    BW_TRACE(module, procedure);
    for (;;) {
        BwAction action;
        try {
            body();
            return;
        } catch (const RuntimeError& e) {
            action = bwERROR(QString::fromLatin1(procedure), QString::fromLatin1(module), e);
        } catch (const std::exception& e) {
            action = bwERROR(
                QString::fromLatin1(procedure), QString::fromLatin1(module),
                RuntimeError(BwErr::InternalError, QStringLiteral("Internal error"), QString::fromLatin1(e.what())));
        } catch (...) {
            action = bwERROR(QString::fromLatin1(procedure), QString::fromLatin1(module),
                             RuntimeError(BwErr::InternalError, QStringLiteral("Internal error")));
        }
        if (action != BwAction::Retry)
            return;
    }
}
