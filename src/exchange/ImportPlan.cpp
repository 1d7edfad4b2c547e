#include "exchange/ImportPlan.h"

#include "errortrap/Bulwark.h"
#include "exchange/CsvReader.h"
#include "exchange/RecordFitting.h"
#include "storage/AccountTable.h"
#include "storage/SqlCipherDatabase.h"

#include <QSet>

namespace {
using namespace DataFileFormat;
constexpr char kModule[] = "ImportPlan.cpp";
constexpr int kProgressStep = 250;

// One data row and the header it is read against.
class SourceRow
{
public:
    SourceRow(const QStringList& header, const QStringList& cells) : m_header(header), m_cells(cells) {}
    QString operator()(const char* name) const
    {
        const int at = ImportFormats::column(m_header, QLatin1String(name));
        return at >= 0 ? m_cells.value(at) : QString();
    }
    bool isBlank() const
    {
        for (const QString& cell : m_cells) {
            if (!cell.trimmed().isEmpty())
                return false;
        }
        return true;
    }

private:
    const QStringList& m_header;
    const QStringList& m_cells;
};

void fromLockwell(const SourceRow& row, RecordFitting& record)
{
    for (int column = 0; column < ColumnCount; ++column)
        record.set(column, row(kColumnNames[size_t(column)]));
}

void fromKeePassXC(const SourceRow& row, RecordFitting& record)
{
    record.set(Account, row("Title"));
    record.set(URL, row("URL"));
    record.set(IDtext, row("Username"));
    record.set(Password, row("Password"));
    record.set(Info, row("Notes"));
    // Every entry sits under the database's top group "Root": only the groups below it say anything.
    QString group = row("Group");
    if (group == QLatin1String("Root"))
        group.clear();
    else if (group.startsWith(QLatin1String("Root/")))
        group.remove(0, 5);
    record.addExtra(QStringLiteral("Group"), group);
    record.addExtra(QStringLiteral("TOTP"), row("TOTP"));
}

// Bitwarden's custom fields, one "name: value" a line.
void addBitwardenFields(const QString& fields, RecordFitting& record)
{
    const QStringList lines =
        QString(fields).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon < 0)
            record.addExtra(QStringLiteral("Field"), line);
        else
            record.addExtra(line.left(colon), line.mid(colon + 2));
    }
}

void fromBitwarden(const SourceRow& row, RecordFitting& record)
{
    record.set(Account, row("name"));
    // Several addresses come separated by commas: the first is the record's, the others are kept.
    const QStringList uris = row("login_uri").split(QLatin1Char(','), Qt::SkipEmptyParts);
    record.set(URL, uris.value(0).trimmed());
    record.set(IDtext, row("login_username"));
    record.set(Password, row("login_password"));
    record.set(Info, row("notes"));
    record.addExtra(QStringLiteral("Folder"), row("folder"));
    record.addExtra(QStringLiteral("TOTP"), row("login_totp"));
    addBitwardenFields(row("fields"), record);
    for (qsizetype i = 1; i < uris.size(); ++i)
        record.addExtra(QStringLiteral("URL"), uris.at(i).trimmed());
}

void fromChromium(const SourceRow& row, RecordFitting& record)
{
    record.set(Account, row("name"));
    record.set(URL, row("url"));
    record.set(IDtext, row("username"));
    record.set(Password, row("password"));
    record.set(Info, row("note"));
}

void fromFirefox(const SourceRow& row, RecordFitting& record)
{
    record.set(Account, RecordFitting::hostOf(row("url")));
    record.set(URL, row("url"));
    record.set(IDtext, row("username"));
    record.set(Password, row("password"));
    record.addExtra(QStringLiteral("HTTP realm"), row("httpRealm"));
}

QString duplicateKey(QStringView account, QStringView url, QStringView id)
{
    QString key;
    key.reserve(account.size() + url.size() + id.size() + 2);
    key.append(account).append(QChar(0x1F)).append(url).append(QChar(0x1F)).append(id);
    return key;
}

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}
} // namespace

ImportPlan planImport(QByteArrayView csv, std::optional<ImportFormat> format, const std::vector<AccountRow>& existing,
                      bool allowDuplicates)
{
    BW_TRACE(kModule, "Function planImport");
    ImportPlan plan;
    const Csv::Table table = Csv::parse(csv);
    if (!table.ok()) {
        plan.error = table.error;
        return plan;
    }
    if (table.rows.isEmpty()) {
        plan.error = QStringLiteral("the file is empty");
        return plan;
    }
    const QStringList& header = table.rows.first();
    if (!format)
        format = ImportFormats::detect(header);
    if (!format) {
        plan.error = QStringLiteral("line 1 is not the header of an export Lockwell knows (%1)")
                         .arg(ImportFormats::names().join(QStringLiteral(", ")));
        return plan;
    }
    plan.format = *format;
    const QString missing = ImportFormats::missingColumn(*format, header);
    if (!missing.isEmpty()) {
        plan.error =
            QStringLiteral("line 1: the header has no column \"%1\" of %2").arg(missing, ImportFormats::title(*format));
        return plan;
    }

    QSet<QString> seen;
    if (!allowDuplicates) {
        for (const AccountRow& row : existing)
            seen.insert(duplicateKey(row.field(Account), row.field(URL), row.field(IDtext)));
    }
    plan.records.reserve(size_t(table.rows.size()));
    for (qsizetype i = 1; i < table.rows.size(); ++i) {
        const QStringList& cells = table.rows.at(i);
        const SourceRow row(header, cells);
        if (row.isBlank()) {
            ++plan.empty;
            continue;
        }
        if (*format == ImportFormat::Bitwarden &&
            row("type").trimmed().compare(QLatin1String("login"), Qt::CaseInsensitive) != 0) {
            ++plan.notLogins;
            continue;
        }
        RecordFitting record(*format == ImportFormat::Lockwell);
        if (cells.size() < header.size())
            record.addNote(QStringLiteral("it has %1 of the header's %2 columns; the missing ones were taken as empty")
                               .arg(cells.size())
                               .arg(header.size()));
        switch (*format) {
        case ImportFormat::Lockwell:
            fromLockwell(row, record);
            break;
        case ImportFormat::KeePassXC:
            fromKeePassXC(row, record);
            break;
        case ImportFormat::Bitwarden:
            fromBitwarden(row, record);
            break;
        case ImportFormat::Chromium:
            fromChromium(row, record);
            break;
        case ImportFormat::Firefox:
            fromFirefox(row, record);
            break;
        }
        record.finish();
        const auto& fields = record.fields();
        if (!allowDuplicates) {
            const QString key = duplicateKey(fields[Account], fields[URL], fields[IDtext]);
            if (seen.contains(key)) {
                ++plan.duplicates;
                continue;
            }
            seen.insert(key);
        }
        if (!record.notes().isEmpty()) {
            ++plan.changed;
            const QString where =
                QStringLiteral("line %1, %2: ").arg(table.lines.at(i)).arg(quotedName(fields[Account]));
            for (const QString& note : record.notes())
                plan.changes.append(where + note);
        }
        AccountRow stored;
        for (int column = 0; column < ColumnCount; ++column)
            stored.setField(column, fields[size_t(column)]);
        plan.records.push_back(std::move(stored));
    }
    return plan;
}

QStringList ImportPlan::summary(bool written) const
{
    QStringList lines;
    lines.append(QStringLiteral("%1: %2 %3")
                     .arg(ImportFormats::title(format))
                     .arg(records.size())
                     .arg(written ? QStringLiteral("imported") : QStringLiteral("to import")));
    lines.append(QStringLiteral("Skipped as duplicates: %1").arg(duplicates));
    lines.append(QStringLiteral("Skipped as not a login: %1").arg(notLogins));
    if (empty > 0)
        lines.append(QStringLiteral("Skipped as empty: %1").arg(empty));
    lines.append(QStringLiteral("Changed to fit: %1").arg(changed));
    for (const QString& change : changes)
        lines.append(QStringLiteral("  ") + change);
    return lines;
}

void writeImport(SqlCipherDatabase& db, const ImportPlan& plan, const std::function<void(int)>& progress)
{
    BW_TRACE(kModule, "Sub writeImport");
    // One statement, one transaction: the rollback journal makes it land whole or not at all, also when
    // the program or the machine stops half-way.
    AccountTable::insertAll(db, plan.records, [&](int done) {
        if (progress && done % kProgressStep == 0)
            progress(done);
    });
    if (progress)
        progress(int(plan.records.size()));
}
