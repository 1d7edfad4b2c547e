#pragma once
// A record the record set could not write or delete. The record stays current and its change pending, so
// nothing typed is lost: the window tells the user which record and why, in plain words, and the
// write can be tried again. Like every run-time error it holds no record field.
#include "errortrap/Bulwark.h"

class RecordWriteError : public RuntimeError
{
public:
    enum class Reason {
        DiskFull,         // no space left on the disk
        ReadOnly,         // the data file or its folder cannot be written
        InUse,            // another program holds a lock on the data file
        DiskError,        // the disk reported an error
        Other,            // anything else the engine reported
        ChangedElsewhere, // another writer changed a field this writer changed, since it was read
        DeletedElsewhere  // another writer deleted the record
    };
    enum class Operation { Write, Delete };

    // The engine's error that stopped the write, with its number and description.
    RecordWriteError(Operation operation, const RuntimeError& cause);
    // A record that another writer changed or deleted meanwhile.
    RecordWriteError(Reason conflict);

    Reason reason() const { return m_reason; }
    Operation operation() const { return m_operation; }
    bool isConflict() const { return m_reason == Reason::ChangedElsewhere || m_reason == Reason::DeletedElsewhere; }

    // The reason for an engine's result code (the error numbers of EngineError.h).
    static Reason reasonOf(int engineNumber);

private:
    Reason m_reason;
    Operation m_operation = Operation::Write;
};
