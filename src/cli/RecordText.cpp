#include "cli/RecordText.h"

#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"

#include <QRegularExpression>

namespace {
using namespace DataFileFormat;

const QString kProtected = QStringLiteral("PROTECTED");

struct KeyColumns
{
    int label;
    int value;
};
constexpr KeyColumns kKeys[] = {{Key1_Name, Key1}, {Key2_Name, Key2}, {Key3_Name, Key3}, {Key4_Name, Key4}};

QString oneLine(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]"));
    return text.replace(breaks, QStringLiteral(" "));
}

// The label the user gave an extra key, without the colon the window shows after it, or "Key n".
QString keyLabel(const Recordset& records, int row, int key)
{
    QString label = records.valueAt(row, kKeys[key].label).trimmed();
    if (label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return label.isEmpty() ? QStringLiteral("Key %1").arg(key + 1) : label;
}
} // namespace

QString listLine(const Recordset& records, int row)
{
    return oneLine(records.valueAt(row, Account)) + QLatin1Char('\t') + oneLine(records.valueAt(row, URL)) +
           QLatin1Char('\t') + oneLine(records.valueAt(row, IDtext));
}

QJsonObject listObject(const Recordset& records, int row)
{
    return {{QStringLiteral("account"), records.valueAt(row, Account)},
            {QStringLiteral("url"), records.valueAt(row, URL)},
            {QStringLiteral("user"), records.valueAt(row, IDtext)}};
}

QStringList showLines(const Recordset& records, int row, bool showProtected)
{
    const auto secret = [&](int column) { return showProtected ? records.valueAt(row, column) : kProtected; };
    QStringList lines{QStringLiteral("Account: ") + records.valueAt(row, Account),
                      QStringLiteral("URL: ") + records.valueAt(row, URL),
                      QStringLiteral("User ID: ") + records.valueAt(row, IDtext),
                      QStringLiteral("Password: ") + secret(Password), QStringLiteral("Hint: ") + secret(HINT)};
    for (int key = 0; key < 4; ++key)
        lines << keyLabel(records, row, key) + QStringLiteral(": ") + secret(kKeys[key].value);
    lines << QStringLiteral("Notes: ") +
                 notesForTerminal(records.valueAt(row, Info)).replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    return lines;
}

QJsonObject showObject(const Recordset& records, int row, bool showProtected)
{
    const auto secret = [&](int column) { return showProtected ? records.valueAt(row, column) : kProtected; };
    QJsonArray keys;
    for (int key = 0; key < 4; ++key) {
        keys.append(QJsonObject{{QStringLiteral("label"), records.valueAt(row, kKeys[key].label)},
                                {QStringLiteral("value"), secret(kKeys[key].value)}});
    }
    QJsonObject record = listObject(records, row);
    record.insert(QStringLiteral("password"), secret(Password));
    record.insert(QStringLiteral("hint"), secret(HINT));
    record.insert(QStringLiteral("keys"), keys);
    record.insert(QStringLiteral("notes"), notesForTerminal(records.valueAt(row, Info)));
    return record;
}

int fieldColumn(const QString& name)
{
    static const QList<QPair<QString, int>> fields = {
        {QStringLiteral("password"), Password}, {QStringLiteral("user"), IDtext}, {QStringLiteral("url"), URL},
        {QStringLiteral("hint"), HINT},         {QStringLiteral("key1"), Key1},   {QStringLiteral("key2"), Key2},
        {QStringLiteral("key3"), Key3},         {QStringLiteral("key4"), Key4}};
    for (const auto& [fieldName, column] : fields) {
        if (name == fieldName)
            return column;
    }
    return -1;
}

QString notesFromTerminal(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString notesForTerminal(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
