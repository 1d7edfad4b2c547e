#pragma once
// The procedure trace: one entry text per active procedure, levels 1 to 1000.
#include <QString>
#include <QStringList>
#include <vector>

class TraceStack
{
public:
    static constexpr int kMaxLevels = 1000;

    enum class Push {
        Entered, // a new level holds the entry
        TooDeep, // past the last level: counted, not recorded
    };
    enum class Pop {
        Balanced,   // the top level was this procedure's and is gone
        Overflow,   // matched a push that was past the last level
        Repaired,   // the top was another procedure's: the trace was cut back to this procedure's level
        Unbalanced, // no level of the trace is this procedure's: nothing changed
    };

    TraceStack();

    // "depth : " + (depth - 1) tabs + module + " : " + procedure + " : " + args
    static QString entryText(int depth, QLatin1String module, QLatin1String procedure, QLatin1String args);

    // Whether a trace entry text is the one of this module and procedure (whatever its arguments).
    static bool entryIs(QStringView entry, QLatin1String module, QLatin1String procedure);
    static bool entryIs(QStringView entry, QStringView module, QStringView procedure);

    Push push(QLatin1String module, QLatin1String procedure, QLatin1String args);
    Pop pop(QLatin1String module, QLatin1String procedure);
    void clear();

    int depth() const { return m_depth; }
    QString entry(int level) const; // empty outside 1..depth
    QStringList entries() const;    // levels 1..depth

private:
    static void build(QString& text, int depth, QLatin1String module, QLatin1String procedure, QLatin1String args);
    void leave(int level);

    std::vector<QString> m_entries; // index 0 unused
    int m_depth = 0;
    int m_overflow = 0;
};
