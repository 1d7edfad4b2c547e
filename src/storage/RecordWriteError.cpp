#include "storage/RecordWriteError.h"

#include "storage/EngineError.h"

#include <sqlite3.h>

RecordWriteError::RecordWriteError(Operation operation, const RuntimeError& cause)
    : RuntimeError(cause.number(), cause.description(), cause.source()), m_reason(reasonOf(cause.number())),
      m_operation(operation)
{
}

RecordWriteError::RecordWriteError(Reason conflict)
    : RuntimeError(
          EngineErr::RowNotFound,
          conflict == Reason::DeletedElsewhere
              ? QStringLiteral("The record was deleted from the data file by another program.")
              : QStringLiteral("The record was changed in the data file by another program since it was read."),
          QStringLiteral("Lockwell")),
      m_reason(conflict)
{
}

RecordWriteError::Reason RecordWriteError::reasonOf(int engineNumber)
{
    switch (engineNumber) {
    case SQLITE_FULL:
        return Reason::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Reason::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Reason::InUse;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN:
        return Reason::DiskError;
    default:
        return Reason::Other;
    }
}
