#pragma once
// The option routine: reads or changes one setting of the trap by its option number.
#include <QString>
#include <QVariant>

struct BwSettings;

namespace BwOpt {
enum : int {
    Version = 0,
    CurrentDate = 1,
    InDevelopmentEnvironment = 3,
    EmailAddress = 4,
    CaptureToDisk = 11,
    IncludeMemory = 12,
    IncludeResources = 13,
    IncludeArguments = 14,
    IncludeUser = 15,
    LogFileName = 16,
    Tracing1 = 20,
    SilentRun = 21,
    Tracing2 = 22,
    WriteToDisk = 23,
    ForceSystemInfo = 24,
    CircularRecords = 25,
    CircularFileName = 26,
    CircularLogOn = 27,
};
} // namespace BwOpt

// `value` the text "GET" in any letter case reads the option; anything else sets it. Flags and numbers change
// only for a numeric value (a number, a Boolean, or a text that reads wholly as a number); a non-zero value
// means on for every flag, the two tracing switches included. Read-only and unknown options ignore a set.
// Answers the option's value after the call: bool for flags, int for numbers, QString for texts, QDate for
// the date, and a null QVariant for a number that names no option.
QVariant bwApplyOption(BwSettings& settings, int number, const QVariant& value, const QString& programFolder);

// True for a number, a Boolean, or a text that reads wholly as a number (blanks around it allowed).
bool bwIsNumeric(const QVariant& value, double* number = nullptr);

// The framework version text that option 0 gives.
QString bwVersionText();
