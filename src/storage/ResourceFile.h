#pragma once
// Byte resources of the program written out to files: the template data file "DATABASE" and the
// pictures, all of type "CUSTOM".
#include <QByteArray>
#include <QString>

namespace ResourceErr {
constexpr int PermissionDenied = 70;
constexpr int DiskFull = 61;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int ResourceNotFound = 326;
} // namespace ResourceErr

// The bytes of a resource; false when there is no resource of that name and type.
bool loadResourceBytes(const QString& name, const QString& type, QByteArray& bytes);

// Writes the resource's bytes to path (created readable and writable by its owner only, replacing any
// content). 0 when done, else the number of the error that stopped it; nothing is shown.
int SaveResItemToDisk(const QString& name, const QString& type, const QString& path);
