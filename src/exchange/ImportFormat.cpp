#include "exchange/ImportFormat.h"

#include "storage/DataFileFormat.h"

namespace {
struct Known
{
    ImportFormat format;
    const char* name;
    const char* title;
    QStringList header;
    int required; // the first columns of the header every file of the format has
};

const QList<Known>& known()
{
    static const QList<Known> formats = [] {
        QStringList lockwell;
        for (const char* column : DataFileFormat::kColumnNames)
            lockwell.append(QLatin1String(column));
        return QList<Known>{
            {ImportFormat::Lockwell, "lockwell", "Lockwell CSV", lockwell, DataFileFormat::ColumnCount},
            {ImportFormat::KeePassXC,
             "keepassxc",
             "KeePassXC CSV",
             {"Group", "Title", "Username", "Password", "URL", "Notes", "TOTP", "Icon", "Last Modified", "Created"},
             6},
            {ImportFormat::Bitwarden,
             "bitwarden",
             "Bitwarden CSV",
             {"folder", "favorite", "type", "name", "notes", "fields", "reprompt", "login_uri", "login_username",
              "login_password", "login_totp"},
             11},
            {ImportFormat::Chromium,
             "chromium",
             "Chromium browser CSV",
             {"name", "url", "username", "password", "note"},
             4},
            {ImportFormat::Firefox,
             "firefox",
             "Firefox CSV",
             {"url", "username", "password", "httpRealm", "formActionOrigin", "guid", "timeCreated", "timeLastUsed",
              "timePasswordChanged"},
             3},
        };
    }();
    return formats;
}

const Known& entry(ImportFormat format)
{
    for (const Known& k : known()) {
        if (k.format == format)
            return k;
    }
    return known().first();
}
} // namespace

namespace ImportFormats {

QString name(ImportFormat format)
{
    return QLatin1String(entry(format).name);
}

QString title(ImportFormat format)
{
    return QLatin1String(entry(format).title);
}

std::optional<ImportFormat> fromName(const QString& name)
{
    for (const Known& k : known()) {
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return k.format;
    }
    return std::nullopt;
}

QStringList names()
{
    QStringList all;
    for (const Known& k : known())
        all.append(QLatin1String(k.name));
    return all;
}

QStringList header(ImportFormat format)
{
    return entry(format).header;
}

int column(const QStringList& header, const QString& name)
{
    for (int i = 0; i < header.size(); ++i) {
        if (header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString missingColumn(ImportFormat format, const QStringList& header)
{
    const Known& k = entry(format);
    for (int i = 0; i < k.required; ++i) {
        if (column(header, k.header.at(i)) < 0)
            return k.header.at(i);
    }
    return QString();
}

std::optional<ImportFormat> detect(const QStringList& header)
{
    for (const Known& k : known()) {
        if (missingColumn(k.format, header).isEmpty())
            return k.format;
    }
    return std::nullopt;
}

} // namespace ImportFormats
