#include "errortrap/Bulwark.h"

#include <QMessageBox>

#include <vector>

// First cut of the trap: the trace stack and a plain report. Configuration, logs and the option
// routine follow.

namespace bwdetail {
bool g_tracing = true;
}

namespace {
constexpr int kMaxDepth = 1000;
std::vector<QString> g_entries(kMaxDepth + 1);
int g_depth = 0;
} // namespace

RuntimeError::RuntimeError(int number, const QString& description, const QString& source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source)
{
}

void bwPUSH(const char* module, const char* procedure, const char* args)
{
    if (g_depth >= kMaxDepth)
        return;
    ++g_depth;
    QString entry = QString::number(g_depth) + QStringLiteral(" : ");
    entry += QString(g_depth - 1, QLatin1Char('\t'));
    entry += QString::fromLatin1(module) + QStringLiteral(" : ") + QString::fromLatin1(procedure) +
             QStringLiteral(" : ") + QString::fromLatin1(args);
    g_entries[g_depth] = entry;
}

void bwPOP(const char* module, const char* procedure, const char*)
{
    if (g_depth <= 0)
        return;
    g_entries[g_depth].clear();
    --g_depth;
    (void)module;
    (void)procedure;
}

BwAction bwERROR(const QString& procedure, const QString& module, const RuntimeError& error)
{
    QMessageBox::critical(nullptr, QString(),
                          QStringLiteral("An unexpected '") + error.description() +
                              QStringLiteral("' error occurred in ") + module + QStringLiteral(" ") + procedure);
    return BwAction::Leave;
}

QVariant bwOption(int, const QVariant&)
{
    return QVariant();
}

int bwDepth()
{
    return g_depth;
}

QStringList bwTraceEntries()
{
    QStringList list;
    for (int i = 1; i <= g_depth; ++i)
        list << g_entries[i];
    return list;
}
