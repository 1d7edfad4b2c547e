#pragma once
// The program-wide reference to the records window's record set. The records window's Options command
// sets it just before it shows the options dialog; the dialog's Master page reads it to learn whether a
// data file is open.
//
// The reference does not keep the record set alive: once the data control lets go of it, the reference
// reads as empty, so the rows of a closed file are never held here.
#include <memory>

class Recordset;

class SharedRecordset
{
public:
    static void set(const std::shared_ptr<Recordset>& records);
    static void clear();

    // The record set, or null when none was set or it no longer exists.
    static std::shared_ptr<Recordset> get();

    // A data file is open: the reference holds a record set and that set has an active connection.
    static bool isDataFileOpen();
};
