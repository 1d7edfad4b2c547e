#include "errortrap/Bulwark.h"

#include "errortrap/BwFramework.h"

// The entry points. None of them lets an exception out: a failing statement inside the trap is skipped, so a
// trace call can never break the procedure that makes it (bwPOP runs in destructors).

namespace bwdetail {
bool g_tracing = true;
}

RuntimeError::RuntimeError(int number, const QString& description, const QString& source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source),
      m_trace(bwTraceEntries())
{
}

void bwPUSH(const char* module, const char* procedure, const char* args)
{
    if (!bwdetail::g_tracing)
        return;
    try {
        BwFramework::instance().push(QLatin1String(module), QLatin1String(procedure), QLatin1String(args));
    } catch (...) {
    }
}

void bwPOP(const char* module, const char* procedure, const char*)
{
    if (!bwdetail::g_tracing)
        return;
    try {
        BwFramework::instance().pop(QLatin1String(module), QLatin1String(procedure));
    } catch (...) {
    }
}

bool bwdetail::enterScope(const char* module, const char* procedure)
{
    try {
        return BwFramework::instance().push(QLatin1String(module), QLatin1String(procedure), QLatin1String());
    } catch (...) {
        return false;
    }
}

void bwdetail::leaveScope(const char* module, const char* procedure)
{
    try {
        BwFramework::instance().pop(QLatin1String(module), QLatin1String(procedure), BwFramework::Leave::Always);
    } catch (...) {
    }
}

BwAction bwERROR(const QString& procedure, const QString& module, const RuntimeError& error)
{
    try {
        return BwFramework::instance().report(procedure, module, error);
    } catch (...) {
        return BwAction::Leave;
    }
}

QVariant bwOption(int number, const QVariant& value)
{
    try {
        return BwFramework::instance().option(number, value);
    } catch (...) {
        return QVariant();
    }
}

int bwDepth()
{
    return BwFramework::instance().depth();
}

QStringList bwTraceEntries()
{
    try {
        return BwFramework::instance().entries();
    } catch (...) {
        return QStringList();
    }
}

void bwSetReporter(BwReporter reporter)
{
    BwFramework::instance().setReporter(std::move(reporter));
}

void bwSetProgramFolder(const QString& folder)
{
    BwFramework::instance().setProgramFolder(folder);
}

QString bwProgramFolder()
{
    return BwFramework::instance().programFolder();
}

void bwEndProgram()
{
    try {
        BwFramework::instance().endProgram();
    } catch (...) {
    }
}

void bwReset()
{
    BwFramework::instance().reset();
}
