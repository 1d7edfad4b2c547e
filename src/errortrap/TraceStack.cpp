#include "errortrap/TraceStack.h"

namespace {
constexpr QLatin1String kSeparator(" : ");
}

TraceStack::TraceStack() : m_entries(kMaxLevels + 1) {}

QString TraceStack::entryText(int depth, const QString& module, const QString& procedure, const QString& args)
{
    QString text = QString::number(depth) + kSeparator;
    text += QString(qMax(0, depth - 1), QLatin1Char('\t'));
    text += module + kSeparator + procedure + kSeparator + args;
    return text;
}

TraceStack::Push TraceStack::push(const QString& module, const QString& procedure, const QString& args)
{
    if (m_depth >= kMaxLevels) {
        ++m_overflow;
        return Push::TooDeep;
    }
    ++m_depth;
    m_entries[m_depth] = entryText(m_depth, module, procedure, args);
    return Push::Entered;
}

TraceStack::Pop TraceStack::pop(const QString& module, const QString& procedure)
{
    if (m_overflow > 0) {
        --m_overflow;
        return Pop::Overflow;
    }
    if (m_depth > 0 && entryIs(m_entries[m_depth], module, procedure)) {
        leave(m_depth);
        return Pop::Balanced;
    }
    // A pop that skipped some levels above its own (their pops never came): cut back to its own level.
    for (int level = m_depth - 1; level >= 1; --level) {
        if (entryIs(m_entries[level], module, procedure)) {
            while (m_depth >= level)
                leave(m_depth);
            return Pop::Repaired;
        }
    }
    return Pop::Unbalanced;
}

void TraceStack::clear()
{
    while (m_depth > 0)
        leave(m_depth);
    m_overflow = 0;
}

QString TraceStack::entry(int level) const
{
    return level >= 1 && level <= m_depth ? m_entries[level] : QString();
}

QStringList TraceStack::entries() const
{
    QStringList list;
    list.reserve(m_depth);
    for (int level = 1; level <= m_depth; ++level)
        list << m_entries[level];
    return list;
}

bool TraceStack::entryIs(const QString& entry, const QString& module, const QString& procedure)
{
    // The entry ends with " : " + args, so the procedure title must be followed by the separator: "Sub cmdOK"
    // does not match an entry of "Sub cmdOK_Click".
    const QString tail = module + kSeparator + procedure + kSeparator;
    return entry.contains(kSeparator + tail) || entry.contains(QLatin1Char('\t') + tail);
}

void TraceStack::leave(int level)
{
    m_entries[level].clear();
    m_depth = level - 1;
}
