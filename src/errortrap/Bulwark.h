#pragma once
// The error trap: the procedure trace that every procedure keeps, and the capture of run-time errors.
//
// Every procedure starts with BW_TRACE(module, procedure). Event handlers run their body through
// bwHandler(), which hands any run-time error to bwERROR() and acts on the answer.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <stdexcept>

// An unexpected run-time error. Its description must never hold a secret: it reaches logs and reports.
class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(int number, const QString& description, const QString& source = QString());
    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }

private:
    int m_number;
    QString m_description;
    QString m_source;
};

// Well-known error numbers, as the program's run-time raises them.
namespace BwErr {
constexpr int TypeMismatch = 13;
constexpr int InvalidProcedureCall = 5;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int ObjectRequired = 424;
} // namespace BwErr

enum class BwAction { Retry, GoOn, Leave };

// Procedure trace. module and procedure are the file name and title, e.g. "frmLogin.frm", "Sub cmdOK_Click".
void bwPUSH(const char* module, const char* procedure, const char* args = "");
void bwPOP(const char* module, const char* procedure, const char* args = "");

// Reports an error (dialog unless silent, error log) and answers how the failing procedure goes on.
BwAction bwERROR(const QString& procedure, const QString& module, const RuntimeError& error);

// The option routine: value "GET" (any case) reads option `number`; anything else sets it.
QVariant bwOption(int number, const QVariant& value);

// Introspection for tests and the report dialog.
int bwDepth();
QStringList bwTraceEntries(); // entry texts of levels 1..depth

namespace bwdetail {
// True while both tracing switches are on; checked inline so a switched-off trace costs one load.
extern bool g_tracing;
} // namespace bwdetail

class BwTraceScope
{
public:
    BwTraceScope(const char* module, const char* procedure) : m_module(module), m_procedure(procedure)
    {
        if (bwdetail::g_tracing)
            bwPUSH(m_module, m_procedure);
    }
    ~BwTraceScope()
    {
        if (bwdetail::g_tracing)
            bwPOP(m_module, m_procedure);
    }
    BwTraceScope(const BwTraceScope&) = delete;
    BwTraceScope& operator=(const BwTraceScope&) = delete;

private:
    const char* m_module;
    const char* m_procedure;
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
            action = bwERROR(QString::fromLatin1(procedure), QString::fromLatin1(module),
                             RuntimeError(51, QStringLiteral("Internal error"), QString::fromLatin1(e.what())));
        }
        if (action != BwAction::Retry)
            return;
    }
}
