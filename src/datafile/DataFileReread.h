#pragma once
// Reading the window's data file again after another program changed it (DataFileWatcher): the records
// as the file now holds them, with the sort and filter the window had, and the record that was current
// still current where it exists. A failure is told as a failed open is.
class DataFileCommands;
class DataFileHost;

void rereadDataFile(DataFileCommands& files, DataFileHost& host, bool replaced);
