#include "errortrap/BwOptions.h"

#include "errortrap/BwFiles.h"
#include "errortrap/BwSettings.h"

#include <QDate>
#include <QLocale>
#include <cmath>
#include <limits>

namespace {
bool isGet(const QVariant& value)
{
    return value.typeId() == QMetaType::QString &&
           value.toString().compare(QLatin1String("GET"), Qt::CaseInsensitive) == 0;
}

// A flag: set from a numeric value only; `inverted` keeps the opposite, for the tracing switches.
QVariant flag(bool& stored, const QVariant& value, bool reading, bool inverted = false)
{
    double number = 0;
    if (!reading && bwIsNumeric(value, &number))
        stored = inverted ? number == 0 : number != 0;
    return inverted ? !stored : stored;
}

QVariant text(QString& stored, const QVariant& value, bool reading)
{
    if (!reading)
        stored = value.toString().trimmed();
    return stored;
}

QVariant count(int& stored, const QVariant& value, bool reading)
{
    double number = 0;
    if (!reading && bwIsNumeric(value, &number) && std::isfinite(number)) {
        const double lo = std::numeric_limits<int>::min();
        const double hi = std::numeric_limits<int>::max();
        stored = static_cast<int>(std::trunc(qBound(lo, number, hi)));
    }
    return stored;
}

// A new log file name is taken only when the file can be opened; the test creates a file that is missing.
QVariant logFileName(QString& stored, const QVariant& value, bool reading, const QString& programFolder)
{
    if (reading)
        return stored;
    const QString name = value.toString().trimmed();
    if (name.isEmpty() || BwFiles::probe(BwFiles::resolve(programFolder, name)))
        stored = name;
    return stored;
}
} // namespace

bool bwIsNumeric(const QVariant& value, double* number)
{
    double parsed = 0;
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        parsed = value.toBool() ? -1 : 0;
        ok = true;
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        parsed = value.toDouble(&ok);
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed();
        parsed = QLocale::c().toDouble(text, &ok);
        break;
    }
    default:
        break;
    }
    if (ok && number)
        *number = parsed;
    return ok;
}

QString bwVersionText()
{
    return QStringLiteral("Bulwark 1.0");
}

QVariant bwApplyOption(BwSettings& s, int number, const QVariant& value, const QString& programFolder)
{
    const bool reading = isGet(value);
    switch (number) {
    case BwOpt::Version:
        return bwVersionText();
    case BwOpt::CurrentDate:
        return QDate::currentDate();
    case BwOpt::InDevelopmentEnvironment:
        return false;
    case BwOpt::EmailAddress:
        return text(s.emailAddress, value, reading);
    case BwOpt::CaptureToDisk:
        return flag(s.captureToDisk, value, reading);
    case BwOpt::IncludeMemory:
        return flag(s.includeMemory, value, reading);
    case BwOpt::IncludeResources:
        return flag(s.includeResources, value, reading);
    case BwOpt::IncludeArguments:
        return flag(s.includeArguments, value, reading);
    case BwOpt::IncludeUser:
        return flag(s.includeUser, value, reading);
    case BwOpt::LogFileName:
        return logFileName(s.logFileName, value, reading, programFolder);
    case BwOpt::Tracing1:
        return flag(s.traceOff1, value, reading, true);
    case BwOpt::SilentRun:
        return flag(s.silentRun, value, reading);
    case BwOpt::Tracing2:
        return flag(s.traceOff2, value, reading, true);
    case BwOpt::WriteToDisk:
        return flag(s.writeToDisk, value, reading);
    case BwOpt::ForceSystemInfo:
        return flag(s.forceSystemInfo, value, reading);
    case BwOpt::CircularRecords:
        return count(s.maxRecords, value, reading);
    case BwOpt::CircularFileName:
        return text(s.circularFileName, value, reading);
    case BwOpt::CircularLogOn:
        return flag(s.circularLog, value, reading);
    default:
        return QVariant();
    }
}
