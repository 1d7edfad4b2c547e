#pragma once
// The CSV files Lockwell reads: its own, and the exports of the vaults and browsers people come from.
// Each is known by its header line.
#include <QString>
#include <QStringList>
#include <optional>

enum class ImportFormat { Lockwell, KeePassXC, Bitwarden, Chromium, Firefox };

namespace ImportFormats {

// The name a user gives with --format ("lockwell", "keepassxc", "bitwarden", "chromium", "firefox").
QString name(ImportFormat format);
// The name shown in the preview and the summary ("KeePassXC CSV").
QString title(ImportFormat format);
std::optional<ImportFormat> fromName(const QString& name);
QStringList names();

// The header line each format writes. Columns are found by their names (without regard to letter case or
// surrounding blanks), so their order does not matter; the later columns of some formats are missing
// from files their older versions wrote.
QStringList header(ImportFormat format);
// The index of the named column in a header, -1 when it has none.
int column(const QStringList& header, const QString& name);
// A column the format cannot do without that the header lacks; empty when it has them all.
QString missingColumn(ImportFormat format, const QStringList& header);
// The first format whose columns the header has.
std::optional<ImportFormat> detect(const QStringList& header);

} // namespace ImportFormats
