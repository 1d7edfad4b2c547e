#pragma once
// The text of one trace line, as the circular log and the log file receive it:
//   "[" milliseconds since the trap started "][" line number, 5 digits "] -> " trace entry
// with "<-" for a leave line, and, when the include options ask for them, " : [res =" free physical memory
// "%" ", mem = " resident memory of the program in KiB "]" (or " : [mem = " ... "]" without resources).
#include <QString>

struct BwSystemFigures
{
    int freeMemoryPercent = 0;
    qint64 residentKiB = 0;
};

// Read from the system at the moment of the call; fields the system does not give stay 0.
BwSystemFigures bwSystemFigures();

struct TraceLineFields
{
    qint64 elapsedMs = 0;
    int sequence = 0; // shown modulo 100000
    bool entering = true;
    QString entry;
    bool includeResources = false;
    bool includeMemory = false;
    BwSystemFigures figures;
};

QString bwTraceLine(const TraceLineFields& fields);
