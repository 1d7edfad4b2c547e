#pragma once
// The engine's compaction service and the other ways a data file is written whole: copying a data file
// into a new file encrypted under the target connection's password, compacting a data file in place,
// building a new data file from the template, and turning an unencrypted database into a data file.
// The copies hold the schema and every record; the engine's user_version is not carried over (the data
// file does not use it). Everything raises RuntimeError.
#include "storage/SqlCipherDatabase.h"

class ConnectionText;
class QString;
class SecretText;
class WorkFolder;

namespace Compactor {

// The name of the compaction's work file: today's date as month-day-year, then "_LWDcompact.lwd".
QString workFileName();

// source: the data file to read (Data Source, Database Password). target: the new file (Data Source,
// Database Password); it must not exist, and is made readable and writable by its owner only. On
// failure no target file is left behind. locking: whether the caller holds the source's lock already.
void compactDatabase(const ConnectionText& source, const ConnectionText& target,
                     SqlCipherDatabase::Locking locking = SqlCipherDatabase::Locking::Shared);

// Compacts the data file at path (a link is followed) into an encrypted copy under targetPassword and
// puts the copy in its place. The data file is locked for the whole of it: another Lockwell that has it
// open keeps it from being replaced (after a short wait, Busy), and one that is closing it takes its
// turn. The copy is written in a work folder of our own beside the data file and renamed over it; the
// file keeps its permissions. On failure the data file is as it was.
void compactInPlace(const QString& path, const SecretText& sourcePassword, const SecretText& targetPassword);

// Compacts the data file at source into an encrypted copy under targetPassword at destination (links
// followed), written in a work folder of our own beside it and renamed into place: a file there is
// replaced only once the copy is complete (see replaceDataFile).
void compactInto(const QString& source, const SecretText& sourcePassword, const QString& destination,
                 const SecretText& targetPassword);

// Writes a new, empty data file at target (it must not exist), encrypted under password from its
// first page: templatePath is a copy of the template, in work.
void createFromTemplate(const QString& templatePath, const QString& target, const SecretText& password);

// Turns the unencrypted database at path (a link is followed) into a data file encrypted under
// password, in its place: only the fourteen fields of each record of its tblAccount are copied into a
// new file made from the template (templatePath, in work); no trigger, view or other table comes along.
// Nothing is written before the file has been read and accepted.
void encryptUnencrypted(const QString& path, WorkFolder& work, const QString& templatePath, const SecretText& password);

// Puts a finished copy (on the data file's file system) in the data file's place, holding the data
// file's lock (see compactInPlace). Refused while another program writes it (a journal or log beside it).
void replaceDataFile(const QString& copy, const QString& dataFile);

} // namespace Compactor
