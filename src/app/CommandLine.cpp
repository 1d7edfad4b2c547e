#include "app/CommandLine.h"

#include "errortrap/Bulwark.h"

QStringList GetCommandLine(const QString& commandText, int MaxArgs)
{
    BW_TRACE("CommandLine.cpp", "Function GetCommandLine");
    const int maxArgs = MaxArgs < 0 ? 0 : MaxArgs;
    QStringList args;
    args.reserve(maxArgs + 1);
    for (int i = 0; i <= maxArgs; ++i)
        args.append(QString());
    int count = 0;
    bool inArg = false;
    for (const QChar ch : commandText) {
        if (ch == QLatin1Char('\t')) {
            inArg = false;
            continue;
        }
        if (!inArg) {
            if (count == maxArgs)
                break;
            ++count;
            inArg = true;
        }
        args[count].append(ch);
    }
    return args.mid(0, count + 1);
}

QString commandTextFromArguments(const QStringList& args)
{
    BW_TRACE("CommandLine.cpp", "Function commandTextFromArguments");
    return args.join(QLatin1Char(' '));
}

QString dataFileFromCommandLine(const QStringList& splitArgs)
{
    BW_TRACE("CommandLine.cpp", "Function dataFileFromCommandLine");
    QString joined;
    for (int i = 1; i < splitArgs.size(); ++i)
        joined += splitArgs.at(i);
    joined.replace(QLatin1Char('"'), QLatin1Char(' '));
    // Trim blanks only: a tab or line feed at either end belongs to the name as typed.
    qsizetype first = 0;
    qsizetype last = joined.size();
    while (first < last && joined.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && joined.at(last - 1) == QLatin1Char(' '))
        --last;
    return joined.mid(first, last - first);
}
