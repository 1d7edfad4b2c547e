#pragma once
// The engine's connection text: name=value properties joined by ";". Values holding a ";", a quote or
// blanks at either end are written in double quotes (a quote inside doubled); names are compared without
// regard to letter case.
//
// The data file password is never a value of the text: it travels beside it as a secret, so the text itself
// may be shown or logged.
#include "crypto/SecretText.h"

#include <QString>
#include <vector>

class ConnectionText
{
public:
    static constexpr char kProvider[] = "Microsoft.Jet.OLEDB.4.0";

    // The main window's connection to a data file, with every property in its fixed order.
    static ConnectionText forDataFile(const QString& path, SecretText password);
    // The two sides of a compaction: the source to read and the encrypted copy to write.
    static ConnectionText forCompactSource(const QString& path, SecretText password);
    static ConnectionText forCompactTarget(const QString& path, SecretText password);

    // A property other than the password. quoted: write the value in double quotes even when it does not
    // need them (as "" for empty).
    void append(const QString& name, const QString& value, bool quoted = false);
    QString value(const QString& name) const; // empty when absent

    // What the engine honours.
    QString dataSource() const;
    const SecretText& password() const { return m_password; }
    bool isReadOnly() const;  // Mode asks for reading only
    bool isExclusive() const; // Mode asks to lock other openers out

    // The text with every property in its place; the password property is there, its value left out.
    QString toString() const;

    // The same properties and the same password.
    bool operator==(const ConnectionText& other) const;
    bool operator!=(const ConnectionText& other) const { return !(*this == other); }

private:
    struct Property
    {
        QString name;
        QString value;
        bool quoted;
    };
    std::vector<Property> m_properties;
    SecretText m_password;
};
