#pragma once
// An import worked out before anything is written: the CSV read, its format known, every row made into a
// record that fits (or counted as skipped), duplicates of the data file's records and of earlier rows
// found. The preview shows it, the summary reports it, and writeImport() writes it in one transaction.
#include "exchange/ImportFormat.h"
#include "storage/AccountRow.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class SqlCipherDatabase;

struct ImportPlan
{
    QString error; // why nothing can be imported; empty when the file was read
    ImportFormat format = ImportFormat::Lockwell;
    std::vector<AccountRow> records; // to be written, in the file's order
    int duplicates = 0;              // same account, URL and user ID as a record already there
    int notLogins = 0;               // items of another kind than a login (cards, notes, identities)
    int empty = 0;                   // rows with nothing in them
    int changed = 0;                 // records changed to fit
    QStringList changes;             // "line 12, "Example": the password was cut ..."

    bool ok() const { return error.isEmpty(); }
    // The lines of the summary after an import (or of a dry run: "would be imported").
    QStringList summary(bool written) const;
};

// Reads csv (the whole file) as the given format, or the one its header names. existing: the records
// the data file holds; a row with the same account, URL and user ID as one of them, or as an earlier
// row, is skipped unless duplicates are allowed.
ImportPlan planImport(QByteArrayView csv, std::optional<ImportFormat> format, const std::vector<AccountRow>& existing,
                      bool allowDuplicates);

// Writes the planned records into the data file in one transaction: all of them or, on any failure,
// none. progress(done) is called every few hundred records. A failure raises the engine's RuntimeError.
void writeImport(SqlCipherDatabase& db, const ImportPlan& plan, const std::function<void(int)>& progress = {});
