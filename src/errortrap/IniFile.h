#pragma once
// A small reader for Windows-style INI files: [section] headers and key=value lines. Section and key names
// compare without regard to letter case; the first occurrence of a key wins; lines starting with ';' or '#'
// are comments; a value wrapped in matching quotes loses them.
#include <QHash>
#include <QString>

class IniFile
{
public:
    // A file that does not exist or cannot be read gives an empty IniFile whose exists() is false.
    static IniFile load(const QString& path);
    static IniFile parse(const QByteArray& text);

    bool exists() const { return m_exists; }
    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback = QString()) const;

private:
    bool m_exists = false;
    QHash<QString, QHash<QString, QString>> m_sections; // names folded to lower case
};
