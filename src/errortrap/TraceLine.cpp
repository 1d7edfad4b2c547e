#include "errortrap/TraceLine.h"

#include <QFile>
#include <sys/sysinfo.h>
#include <unistd.h>

BwSystemFigures bwSystemFigures()
{
    BwSystemFigures figures;
    struct sysinfo info
    {
    };
    if (sysinfo(&info) == 0 && info.totalram > 0)
        figures.freeMemoryPercent = static_cast<int>((100.0 * info.freeram) / info.totalram);

    // Second field of statm: resident pages.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readLine().split(' ');
        if (fields.size() > 1)
            figures.residentKiB = fields[1].toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
    }
    return figures;
}

QString bwTraceLine(const TraceLineFields& f)
{
    QString line = QLatin1Char('[') + QString::number(f.elapsedMs) + QStringLiteral("][") +
                   QStringLiteral("%1").arg(f.sequence % 100000, 5, 10, QLatin1Char('0')) + QStringLiteral("] ") +
                   (f.entering ? QStringLiteral("->") : QStringLiteral("<-")) + QLatin1Char(' ') + f.entry;
    if (f.includeResources) {
        line += QStringLiteral(" : [res =") + QString::number(f.figures.freeMemoryPercent) + QLatin1Char('%');
        if (f.includeMemory)
            line += QStringLiteral(", mem = ") + QString::number(f.figures.residentKiB);
        line += QLatin1Char(']');
    } else if (f.includeMemory) {
        line += QStringLiteral(" : [mem = ") + QString::number(f.figures.residentKiB) + QLatin1Char(']');
    }
    return line;
}
