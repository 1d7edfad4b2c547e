#pragma once
// A folder of our own for the files a data file command makes on the way (the compaction's work file, the
// template of a new data file): made fresh beside the data file, so that the finished file is put in
// place by a rename on the same file system, and readable, writable and searchable by its owner only, so
// that nobody else can take a name in it or read what is written there. Every run of a command gets a
// new one, and only what was made in it is removed when it goes: a folder left by a crash stays as it
// is, and two Lockwells never touch each other's files.
#include <QString>
#include <QStringList>

class WorkFolder
{
public:
    // Makes the folder beside file (in the folder that holds it, links followed). Raises the system's
    // error when it cannot be made.
    explicit WorkFolder(const QString& besideFile);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const QString& path() const { return m_path; }
    // A file of that name in the folder, to be made by the caller; removed with the folder.
    QString filePath(const QString& name);

private:
    QString m_path;
    QStringList m_names;
};
