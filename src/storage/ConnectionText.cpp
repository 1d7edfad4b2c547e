#include "storage/ConnectionText.h"

#include "errortrap/Bulwark.h"

#include <QStringList>
#include <utility>

namespace {
constexpr char kModule[] = "ConnectionText.cpp";
const QLatin1String kDataSource("Data Source");
const QLatin1String kPassword("Jet OLEDB:Database Password");
const QLatin1String kMode("Mode");

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
} // namespace

ConnectionText ConnectionText::forDataFile(const QString& path, SecretText password)
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
    text.append(kPassword, QString());
    text.m_password = std::move(password);
    text.append(QStringLiteral("Jet OLEDB:Engine Type"), QStringLiteral("5"));
    text.append(QStringLiteral("Jet OLEDB:Database Locking Mode"), QStringLiteral("1"));
    text.append(QStringLiteral("Jet OLEDB:Global Partial Bulk Ops"), QStringLiteral("2"));
    text.append(QStringLiteral("Jet OLEDB:Global Bulk Transactions"), QStringLiteral("1"));
    text.append(QStringLiteral("Jet OLEDB:New Database Password"), QString());
    text.append(QStringLiteral("Jet OLEDB:Create System Database"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Encrypt Database"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Don't Copy Locale on Compact"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:Compact Without Replica Repair"), QStringLiteral("False"));
    text.append(QStringLiteral("Jet OLEDB:SFP"), QStringLiteral("False"));
    return text;
}

ConnectionText ConnectionText::forCompactSource(const QString& path, SecretText password)
{
    BW_TRACE(kModule, "Function forCompactSource");
    ConnectionText text;
    text.append(QStringLiteral("Provider"), QLatin1String(kProvider));
    text.append(QStringLiteral("Jet OLEDB:Database Locking Mode"), QStringLiteral("0"));
    text.append(QStringLiteral("User ID"), QStringLiteral("Admin"));
    text.append(kPassword, QString());
    text.m_password = std::move(password);
    text.append(kDataSource, path);
    return text;
}

ConnectionText ConnectionText::forCompactTarget(const QString& path, SecretText password)
{
    BW_TRACE(kModule, "Function forCompactTarget");
    ConnectionText text;
    text.append(QStringLiteral("Provider"), QLatin1String(kProvider));
    text.append(kDataSource, path);
    text.append(QStringLiteral("Jet OLEDB:Engine Type"), QStringLiteral("5"));
    text.append(QStringLiteral("Jet OLEDB:Encrypt Database"), QStringLiteral("True"));
    text.append(kPassword, QString());
    text.m_password = std::move(password);
    return text;
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

bool ConnectionText::operator==(const ConnectionText& other) const
{
    BW_TRACE(kModule, "Function operator==");
    return toString() == other.toString() && m_password == other.m_password;
}
