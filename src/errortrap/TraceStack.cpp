#include "errortrap/TraceStack.h"

#include <algorithm>

namespace {
constexpr QLatin1String kSeparator(" : ");

// The entry past its "depth : " and indentation, then module, separator, procedure, separator: no allocation,
// so that a pop stays cheap for procedures called thousands of times.
template <class Name> bool matches(QStringView entry, Name module, Name procedure)
{
    const qsizetype head = entry.indexOf(kSeparator);
    if (head < 0)
        return false;
    QStringView rest = entry.mid(head + kSeparator.size());
    while (rest.startsWith(QLatin1Char('\t')))
        rest = rest.mid(1);
    for (const Name part : {module, procedure}) {
        if (!rest.startsWith(part))
            return false;
        rest = rest.mid(part.size());
        if (!rest.startsWith(kSeparator))
            return false;
        rest = rest.mid(kSeparator.size());
    }
    return true;
}
} // namespace

TraceStack::TraceStack() : m_entries(kMaxLevels + 1) {}

QString TraceStack::entryText(int depth, QLatin1String module, QLatin1String procedure, QLatin1String args)
{
    QString text;
    build(text, depth, module, procedure, args);
    return text;
}

// Rewrites `text` in place: a level's buffer is reused from one procedure to the next.
void TraceStack::build(QString& text, int depth, QLatin1String module, QLatin1String procedure, QLatin1String args)
{
    char digits[12];
    int length = 0;
    for (unsigned value = static_cast<unsigned>(qMax(0, depth)); length == 0 || value > 0; value /= 10)
        digits[length++] = static_cast<char>('0' + value % 10);
    std::reverse(digits, digits + length);
    const int tabs = qMax(0, depth - 1);
    text.resize(0);
    text += QLatin1String(digits, length);
    text += kSeparator;
    for (int i = 0; i < tabs; ++i)
        text += QLatin1Char('\t');
    text += module;
    text += kSeparator;
    text += procedure;
    text += kSeparator;
    text += args;
}

TraceStack::Push TraceStack::push(QLatin1String module, QLatin1String procedure, QLatin1String args)
{
    if (m_depth >= kMaxLevels) {
        ++m_overflow;
        return Push::TooDeep;
    }
    ++m_depth;
    build(m_entries[m_depth], m_depth, module, procedure, args);
    return Push::Entered;
}

TraceStack::Pop TraceStack::pop(QLatin1String module, QLatin1String procedure)
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

bool TraceStack::entryIs(QStringView entry, QLatin1String module, QLatin1String procedure)
{
    return matches(entry, module, procedure);
}

bool TraceStack::entryIs(QStringView entry, QStringView module, QStringView procedure)
{
    return matches(entry, module, procedure);
}

void TraceStack::leave(int level)
{
    m_entries[level].resize(0);
    m_depth = level - 1;
}
