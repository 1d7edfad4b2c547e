#include "errortrap/IniFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {
QString fold(const QString& name)
{
    return name.trimmed().toLower();
}

// UTF-8 when the bytes are valid UTF-8, otherwise Latin-1 (files written by older editors).
QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}
} // namespace

IniFile IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniFile();
    IniFile ini = parse(file.readAll());
    ini.m_exists = true;
    return ini;
}

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    ini.m_exists = true;
    QString section;
    bool inSection = false;
    const QStringList lines = decode(bytes).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            section = fold(close < 0 ? line.mid(1) : line.mid(1, close - 1));
            inSection = true;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq <= 0)
            continue;
        const QString key = fold(line.left(eq));
        QHash<QString, QString>& keys = ini.m_sections[section];
        if (!key.isEmpty() && !keys.contains(key))
            keys.insert(key, unquote(line.mid(eq + 1).trimmed()));
    }
    return ini;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    const auto it = m_sections.constFind(fold(section));
    return it != m_sections.constEnd() && it->contains(fold(key));
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    const auto it = m_sections.constFind(fold(section));
    if (it == m_sections.constEnd())
        return fallback;
    return it->value(fold(key), fallback);
}
