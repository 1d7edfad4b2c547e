#pragma once
// Lockwell CSV: a header of the fourteen field names, then one line per record with its fields exactly
// as stored, so that importing the file gives the same records back, field for field. Every secret is
// in it in clear: it is written for its owner only.
#include "storage/AccountRow.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The whole file for these records, in this order.
QByteArray exportCsv(const std::vector<AccountRow>& rows);

// Writes data to path readable and writable by its owner only (0600), atomically: it is written and
// synced in a private folder beside path and renamed into place, so at any moment path is the old file
// or the whole new one. An existing file is replaced (a link stays, its target is replaced). A failure
// raises a RuntimeError and leaves path as it was.
void writePrivateFile(const QString& path, const QByteArray& data);
