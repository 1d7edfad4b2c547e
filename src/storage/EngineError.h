#pragma once
// Error numbers of the data file engine and the record set, and the conversion of the engine's
// result codes into run-time errors. Descriptions never carry a password or a record field.
#include "errortrap/Bulwark.h"

struct sqlite3;

namespace EngineErr {
// The data file password does not open the file (0x80040E4D).
constexpr int WrongPassword = -2147217843;
// Unspecified failure (0x80004005).
constexpr int GeneralFailure = -2147467259;
// The record to write no longer exists in the data file (0x80040E38).
constexpr int RowNotFound = -2147217864;
// Record set errors.
constexpr int BadArguments = 3001;
constexpr int NoCurrentRecord = 3021;
constexpr int DatabaseExists = 3204;
constexpr int NotAllowedInContext = 3219;
constexpr int ItemNotFound = 3265;
constexpr int ClosedObject = 3704;
// Errors found before the engine is asked; the numbers are the engine's own result codes for them.
constexpr int AccessDenied = 3;  // the file cannot be read
constexpr int Busy = 5;          // the file is in use
constexpr int ReadOnly = 8;      // the file cannot be written
constexpr int Damaged = 11;      // the file is shorter than its header says
constexpr int CannotOpen = 14;   // no such file, or not a regular file
constexpr int NotADataFile = 26; // empty, cut short, foreign, or no tblAccount
} // namespace EngineErr

// A run-time error for an engine result code: the number is the primary result code, the
// description the engine's message for the connection (or for the code when db is null).
RuntimeError engineError(int resultCode, sqlite3* db);

// Throws engineError(resultCode, db) unless resultCode is SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
void throwIfEngineError(int resultCode, sqlite3* db);

// An error number and its description from a failed system call (errno).
RuntimeError systemError(int errorNumber, const QString& what);
