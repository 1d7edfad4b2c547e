#include "errortrap/BwSettings.h"

#include "errortrap/IniFile.h"

#include <cmath>
#include <limits>

namespace {
constexpr int kLargestRecord = 1 << 16;

int toInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
} // namespace

double bwLeadingNumber(const QString& text)
{
    QString digits;
    bool point = false;
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        digits += text[i++];
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            digits += c;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok ? value : 0.0;
}

bool bwFlagFromText(const QString& text)
{
    return bwLeadingNumber(text) > 0;
}

BwSettings BwSettings::fromIni(const IniFile& ini)
{
    BwSettings s;
    s.circularLog = ini.value(QStringLiteral("Log File"), QStringLiteral("CircularLog"), QStringLiteral("0"))
                        .trimmed()
                        .startsWith(QLatin1Char('1'));
    s.circularFileName =
        ini.value(QStringLiteral("CircularLog"), QStringLiteral("FileName"), QStringLiteral("circ0001.log")).trimmed();
    s.recordSize =
        qMin(kLargestRecord, toInt(bwLeadingNumber(ini.value(QStringLiteral("CircularLog"),
                                                             QStringLiteral("RecordSize"), QStringLiteral("1024")))));
    s.maxRecords = toInt(
        bwLeadingNumber(ini.value(QStringLiteral("CircularLog"), QStringLiteral("MaxRecords"), QStringLiteral("10"))));

    s.forceSystemInfo = bwFlagFromText(ini.value(QStringLiteral("preferences"), QStringLiteral("Force System Info")));
    s.emailAddress = ini.value(QStringLiteral("email"), QStringLiteral("Address")).trimmed();
    s.writeToDisk = bwFlagFromText(ini.value(QStringLiteral("log file"), QStringLiteral("Write To Disk")));
    s.captureToDisk = bwFlagFromText(ini.value(QStringLiteral("log file"), QStringLiteral("Capture To Disk")));
    if (s.writeToDisk || s.captureToDisk)
        s.logFileName = ini.value(QStringLiteral("log file"), QStringLiteral("Log File")).trimmed();

    s.silentRun =
        bwFlagFromText(ini.value(QStringLiteral("preferences"), QStringLiteral("Silent Run"), QStringLiteral("0")));
    s.displayMode = toInt(
        bwLeadingNumber(ini.value(QStringLiteral("preferences"), QStringLiteral("Display Mode"), QStringLiteral("0"))));

    const QString include = QStringLiteral("include");
    const QString on = QStringLiteral("1");
    s.includeResources = bwFlagFromText(ini.value(include, QStringLiteral("Resources"), on));
    s.includeMemory = bwFlagFromText(ini.value(include, QStringLiteral("Memory"), on));
    s.includeArguments = bwFlagFromText(ini.value(include, QStringLiteral("Arguments"), on));
    s.includeUser = bwFlagFromText(ini.value(include, QStringLiteral("User"), on));
    return s;
}
