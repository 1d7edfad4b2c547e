#include "storage/EngineError.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>

RuntimeError engineError(int resultCode, sqlite3* db)
{
    BW_TRACE("EngineError.cpp", "Function engineError");
    const int primary = resultCode & 0xff;
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    return RuntimeError(primary, QString::fromUtf8(message), QStringLiteral("SQLCipher"));
}

void throwIfEngineError(int resultCode, sqlite3* db)
{
    BW_TRACE("EngineError.cpp", "Sub throwIfEngineError");
    if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE)
        return;
    throw engineError(resultCode, db);
}

RuntimeError systemError(int errorNumber, const QString& what)
{
    BW_TRACE("EngineError.cpp", "Function systemError");
    int number = EngineErr::CannotOpen;
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        number = EngineErr::AccessDenied;
        break;
    case EROFS:
        number = EngineErr::ReadOnly;
        break;
    case ENOSPC:
    case EDQUOT:
        number = 13; // the engine's "database or disk is full"
        break;
    case EIO:
        number = 10; // the engine's "disk I/O error"
        break;
    default:
        break;
    }
    return RuntimeError(number, what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errorNumber)),
                        QStringLiteral("Lockwell"));
}
