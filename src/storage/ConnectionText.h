#pragma once
// The engine's connection text: name=value properties joined by ";". Values holding a ";", a quote or
// blanks at either end are written in double quotes (a quote inside doubled), so any path and any
// password survive the round trip; names are compared without regard to letter case.
#include <QString>
#include <vector>

class ConnectionText
{
public:
    static constexpr char kProvider[] = "Microsoft.Jet.OLEDB.4.0";

    // The main window's connection to a data file, with every property in its fixed order.
    static ConnectionText forDataFile(const QString& path, const QString& password);
    // The two sides of a compaction: the source to read and the encrypted copy to write.
    static ConnectionText forCompactSource(const QString& path, const QString& password);
    static ConnectionText forCompactTarget(const QString& path, const QString& password);

    // Reads a connection text; a part without "=" raises a RuntimeError.
    static ConnectionText parse(const QString& text);

    // quoted: write the value in double quotes even when it does not need them (as "" for empty).
    void append(const QString& name, const QString& value, bool quoted = false);
    QString value(const QString& name) const; // empty when absent

    // What the engine honours.
    QString dataSource() const;
    QString password() const;
    bool isReadOnly() const;  // Mode asks for reading only
    bool isExclusive() const; // Mode asks to lock other openers out

    // The full text, password included: hand it to the data control, never to a log.
    QString toString() const;

    // Overwrites the password values held here.
    void wipe();

private:
    struct Property
    {
        QString name;
        QString value;
        bool quoted;
    };
    std::vector<Property> m_properties;
};
