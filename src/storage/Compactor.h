#pragma once
// The engine's compaction service: copies a data file into a new file, encrypted under the target
// connection's password (unencrypted when that password is empty). The copy holds the schema and every
// record; the engine's user_version is not carried over (the data file does not use it).
class ConnectionText;
class QString;

namespace Compactor {

// source: the data file to read (Data Source, Database Password). target: the new file (Data Source,
// Database Password); it must not exist. On failure no target file is left behind. Raises RuntimeError.
void compactDatabase(const ConnectionText& source, const ConnectionText& target);

// Puts the compacted copy in the data file's place (see FileSafety::replaceAtomically). Refused while
// the data file is in use: its write-ahead log or rollback journal would no longer fit the new file.
void replaceDataFile(const QString& copy, const QString& dataFile);

} // namespace Compactor
