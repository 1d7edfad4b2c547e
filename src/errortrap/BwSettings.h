#pragma once
// What the trap does: read from "BWCLIENT.INI" when it starts, then changed through the option routine.
#include <QString>

class IniFile;

struct BwSettings
{
    // The circular log: a ring of fixed-size records in one file.
    bool circularLog = false;
    QString circularFileName = QStringLiteral("circ0001.log");
    int recordSize = 1024;
    int maxRecords = 10;

    // The log file: errors are appended when writeToDisk is on, trace lines when captureToDisk is on.
    bool writeToDisk = false;
    bool captureToDisk = false;
    QString logFileName; // empty: the fallback names of BwFiles

    bool silentRun = false;
    bool forceSystemInfo = false;
    int displayMode = 0;
    QString emailAddress;

    bool includeResources = true;
    bool includeMemory = true;
    bool includeArguments = true;
    bool includeUser = true;

    // The two tracing switches, kept as "switched off" so that a fresh value means tracing on.
    bool traceOff1 = false;
    bool traceOff2 = false;

    bool tracing() const { return !traceOff1 && !traceOff2; }
    bool circularLogActive() const { return circularLog && recordSize > 0 && maxRecords > 0; }

    // Every key the trap knows, each with its default when the file or the key is absent.
    static BwSettings fromIni(const IniFile& ini);
};

// The number a text starts with, as a BASIC Val() reads it: leading blanks skipped, then an optional sign,
// digits and one decimal point; "12abc" is 12, "abc" and "" are 0.
double bwLeadingNumber(const QString& text);

// A configuration flag: on when the text's leading number is above 0.
bool bwFlagFromText(const QString& text);
