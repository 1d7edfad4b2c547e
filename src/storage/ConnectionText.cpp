#include "storage/ConnectionText.h"

#include "crypto/SecureWipe.h"
#include "storage/EngineError.h"

#include <QStringList>

namespace {
constexpr char kModule[] = "clsConnectionText.cls";
const QLatin1String kDataSource("Data Source");
const QLatin1String kPassword("Jet OLEDB:Database Password");
const QLatin1String kNewPassword("Jet OLEDB:New Database Password");
const QLatin1String kMode("Mode");

bool isPasswordName(const QString& name)
{
    return name.compare(kPassword, Qt::CaseInsensitive) == 0 || name.compare(kNewPassword, Qt::CaseInsensitive) == 0;
}

QString quoteIfNeeded(const QString& value, bool always)
{
    const bool plain = !always && !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) &&
                       !value.contains(QLatin1Char('\'')) && value == value.trimmed();
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

[[noreturn]] void malformed(const char* what)
{
    throw RuntimeError(EngineErr::BadArguments,
                       QStringLiteral("The connection text is not valid: ") + QString::fromUtf8(what) +
                           QLatin1Char('.'),
                       QStringLiteral("Lockwell"));
}
} // namespace

ConnectionText ConnectionText::forDataFile(const QString& path, const QString& password)
{
    BW_TRACE(kModule, "Function forDataFile");
    ConnectionText text;
    text.append(QStringLiteral("Provider"), QLatin1String(kProvider));
    text.append(QStringLiteral("User ID"), QStringLiteral("Admin"));
    text.append(kDataSource, path);
    text.append(kMode, QStringLiteral("ReadWrite|Share Deny None"));
    text.append(QStringLiteral("Extended Properties"), QString(), true);
    text.append(QStringLiteral("Jet OLEDB:System database"), QString());
    text.append(QStringLiteral("Jet OLEDB:Registry Path"), QString());
    text.append(kPassword, password);
    text.append(QStringLiteral("Jet OLEDB:Engine Type"), QStringLiteral("5"));
    text.append(QStringLiteral("Jet OLEDB:Database Locking Mode"), QStringLiteral("1"));
    text.append(QStringLiteral("Jet OLEDB:Global Partial Bulk Ops"), QStringLiteral("2"));
    text.append(QStringLiteral("Jet OLEDB:Global Bulk Transactions"), QStringLiteral("1"));
    text.append(kNewPassword, QString());
    text.append(QStringLiteral("Jet OLEDB:Create System Database"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Encrypt Database"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Don't Copy Locale on Compact"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Compact Without Replica Repair"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:SFP"), QStringLiteral("False"));
    return text;
}

ConnectionText ConnectionText::forCompactSource(const QString& path, const QString& password)
{
    BW_TRACE(kModule, "Function forCompactSource");
    ConnectionText text;
    text.append(QStringLiteral("Provider"), QLatin1String(kProvider));
    text.append(QStringLiteral("Jet OLEDB:Database Locking Mode"), QStringLiteral("0"));
    text.append(QStringLiteral("User ID"), QStringLiteral("Admin"));
    text.append(kPassword, password);
    text.append(kDataSource, path);
    return text;
}

ConnectionText ConnectionText::forCompactTarget(const QString& path, const QString& password)
{
    BW_TRACE(kModule, "Function forCompactTarget");
    ConnectionText text;
    text.append(QStringLiteral("Provider"), QLatin1String(kProvider));
    text.append(kDataSource, path);
    text.append(QStringLiteral("Jet OLEDB:Engine Type"), QStringLiteral("5"));
    text.append(QStringLiteral("Jet OLEDB:Encrypt Database"), QStringLiteral("True"));
    text.append(kPassword, password);
    return text;
}

ConnectionText ConnectionText::parse(const QString& text)
{
    BW_TRACE(kModule, "Function parse");
    ConnectionText result;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), pos);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), pos);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (text.mid(pos, semicolon < 0 ? -1 : semicolon - pos).trimmed().isEmpty()) {
                pos = semicolon < 0 ? size : semicolon + 1; // an empty part: ";;" or a trailing ";"
                continue;
            }
            malformed("a property has no \"=\"");
        }
        const QString name = text.mid(pos, equals - pos).trimmed();
        pos = equals + 1;
        while (pos < size && text.at(pos) == QLatin1Char(' '))
            ++pos;
        QString value;
        const bool quoted = pos < size && (text.at(pos) == QLatin1Char('"') || text.at(pos) == QLatin1Char('\''));
        if (pos < size && (text.at(pos) == QLatin1Char('"') || text.at(pos) == QLatin1Char('\''))) {
            const QChar quote = text.at(pos++);
            for (;; ++pos) {
                if (pos >= size)
                    malformed("a quote is not closed");
                if (text.at(pos) != quote) {
                    value += text.at(pos);
                } else if (pos + 1 < size && text.at(pos + 1) == quote) {
                    value += quote;
                    ++pos;
                } else {
                    ++pos;
                    break;
                }
            }
            while (pos < size && text.at(pos) == QLatin1Char(' '))
                ++pos;
            if (pos < size && text.at(pos) != QLatin1Char(';'))
                malformed("text follows a quoted value");
            ++pos;
        } else {
            const qsizetype end = semicolon < 0 ? size : semicolon;
            value = text.mid(pos, end - pos).trimmed();
            pos = end + 1;
        }
        result.append(name, value, quoted);
    }
    return result;
}

void ConnectionText::append(const QString& name, const QString& value, bool quoted)
{
    BW_TRACE(kModule, "Sub append");
    m_properties.push_back(Property{name, value, quoted});
}

QString ConnectionText::value(const QString& name) const
{
    BW_TRACE(kModule, "Function value");
    for (const auto& property : m_properties) {
        if (property.name.compare(name, Qt::CaseInsensitive) == 0)
            return property.value;
    }
    return QString();
}

QString ConnectionText::dataSource() const
{
    return value(kDataSource);
}

QString ConnectionText::password() const
{
    return value(kPassword);
}

bool ConnectionText::isReadOnly() const
{
    BW_TRACE(kModule, "Function isReadOnly");
    const QString mode = value(kMode).toLower();
    return !mode.isEmpty() && !mode.contains(QLatin1String("write"));
}

bool ConnectionText::isExclusive() const
{
    BW_TRACE(kModule, "Function isExclusive");
    return value(kMode).contains(QLatin1String("Share Exclusive"), Qt::CaseInsensitive);
}

QString ConnectionText::toString() const
{
    BW_TRACE(kModule, "Function toString");
    QStringList parts;
    for (const auto& property : m_properties)
        parts << property.name + QLatin1Char('=') + quoteIfNeeded(property.value, property.quoted);
    return parts.join(QLatin1Char(';'));
}

void ConnectionText::wipe()
{
    BW_TRACE(kModule, "Sub wipe");
    for (auto& property : m_properties) {
        if (isPasswordName(property.name))
            secureWipe(property.value);
    }
}
