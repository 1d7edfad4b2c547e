#pragma once
// The data file format in one place: the cipher settings every data file is written with, the table
// and its fourteen columns, and the record source the main window's record set is read from.
#include <QLatin1String>
#include <array>

namespace DataFileFormat {

// Encrypted data files use 16384-byte pages. The engine decrypts and checks every page on its own, at a
// fixed cost per page on top of the cost per byte: reading 100,000 records takes about a quarter less
// time than with 4096-byte pages and half as much as with the engine's 1024-byte default, while one
// record write costs the same (bench/bench_datafile.cpp, docs/FORMAT.md).
constexpr int kPageSize = 16384;

// PBKDF2 iterations that turn the data file password into the file key (about 0.1 s on a current
// machine; once per open, twice per compaction).
constexpr int kKdfIterations = 256000;

// The first sixteen bytes of an unencrypted database file.
constexpr char kPlainHeader[] = "SQLite format 3";
constexpr int kPlainHeaderSize = 16;

constexpr char kTable[] = "tblAccount";
constexpr char kRecordSource[] = "Select * from tblAccount";

// The fourteen text columns of an Account record, in the table's order.
enum Column {
    Account,
    URL,
    IDtext,
    Password,
    HINT,
    Key1_Name,
    Key1,
    Key2_Name,
    Key2,
    Key3_Name,
    Key3,
    Key4_Name,
    Key4,
    Info,
    ColumnCount
};

constexpr std::array<const char*, ColumnCount> kColumnNames = {
    "Account",   "URL",  "IDtext",    "Password", "HINT",      "Key1_Name", "Key1",
    "Key2_Name", "Key2", "Key3_Name", "Key3",     "Key4_Name", "Key4",      "Info"};

// The most characters each field holds, as the record boxes accept them (line breaks of Info counted as one
// character each).
constexpr std::array<int, ColumnCount> kColumnLengths = {50, 255, 50, 50, 255, 16, 50, 16, 50, 16, 50, 16, 50, 4096};

// The column index for a field name, compared without regard to letter case; -1 when there is none.
int columnIndex(QLatin1String name);
int columnIndex(const QString& name);

} // namespace DataFileFormat
