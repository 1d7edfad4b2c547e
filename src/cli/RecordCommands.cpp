#include "cli/RecordCommands.h"

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"
#include "cli/CliOutput.h"
#include "cli/ClipboardHold.h"
#include "cli/RecordText.h"
#include "cli/SecretPrompt.h"
#include "crypto/PasswordGenerator.h"
#include "crypto/SecureWipe.h"
#include "errortrap/Bulwark.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"

#include <QJsonDocument>
#include <optional>

namespace {
using namespace DataFileFormat;

constexpr int kDefaultClipSeconds = 10;
constexpr int kMaxClipSeconds = 3600;

struct FieldChange
{
    int column;
    QString value;
};

// The record's fields that add and edit set from the command line, checked against what the window's
// boxes hold.
struct RecordChanges
{
    QList<FieldChange> fields;
    bool askPassword = false;
    std::optional<int> generatedLength;

    bool isEmpty() const { return fields.isEmpty() && !askPassword && !generatedLength; }
};

// what: the option or argument that gave the value.
void requireLength(const ParsedCommand& command, const QString& what, int column, const QString& value)
{
    if (value.size() > kColumnLengths[size_t(column)])
        usageError(QStringLiteral("%1: %2 takes at most %3 characters")
                       .arg(QLatin1String(command.command().name), what)
                       .arg(kColumnLengths[size_t(column)]));
}

RecordChanges recordChanges(const ParsedCommand& command)
{
    const QString name = QLatin1String(command.command().name);
    RecordChanges changes;
    const QList<QPair<const char*, int>> options = {{"url", URL}, {"user", IDtext}, {"hint", HINT}, {"notes", Info}};
    for (const auto& [option, column] : options) {
        if (!command.isSet(option))
            continue;
        const QString value = command.value(option);
        requireLength(command, QStringLiteral("--") + QLatin1String(option), column, notesForTerminal(value));
        changes.fields.append({column, column == Info ? notesFromTerminal(value) : value});
    }
    const QString passwordFrom = command.oneOf({"password-prompt", "generate"}, "");
    changes.askPassword = passwordFrom == QLatin1String("password-prompt");
    if (passwordFrom == QLatin1String("generate"))
        changes.generatedLength =
            command.number("length", kLongestGeneratedPassword, kShortestGeneratedPassword, kLongestGeneratedPassword);
    else if (command.isSet("length"))
        usageError(name + QStringLiteral(": --length goes with --generate"));
    return changes;
}

// Puts the changes into the current record, the password last: it may be asked for or drawn now.
void applyChanges(const RecordChanges& changes, Recordset& records, SecretPrompt& prompt)
{
    for (const FieldChange& change : changes.fields)
        records.setValue(change.column, change.value);
    if (changes.askPassword) {
        const SecretText password = prompt.askTwice(QStringLiteral("Password for the record: "),
                                                    QStringLiteral("Repeat the password for the record: "));
        if (password.size() > kColumnLengths[Password])
            fail(QStringLiteral("the record's password has at most %1 characters").arg(kColumnLengths[Password]));
        records.setValue(Password, password.exposed().text());
    } else if (changes.generatedLength) {
        SystemUniformSource source;
        QString password =
            drawPassword(*changes.generatedLength, PasswordType::AlphaNumeric, LetterCase::Mixed, source);
        records.setValue(Password, password);
        secureWipe(password);
    }
}

// Runs a write on the data file; a failure of the engine is told as the file's failure.
template <class Write> void writeRecord(CliDataFile& file, Write&& write)
{
    try {
        write(file.records());
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(file.path(), e);
    }
}

QString quoted(const QString& account)
{
    return QLatin1Char('\'') + account + QLatin1Char('\'');
}

QString urlChoice(const ParsedCommand& command, const char* option)
{
    return command.isSet(option) ? command.value(option) : QString();
}
} // namespace

void runLs(const ParsedCommand& command, SecretPrompt& prompt)
{
    CliDataFile file(command.argument(0), prompt);
    const Recordset& records = file.records();
    if (command.isSet("json")) {
        QJsonArray list;
        for (int row = 0; row < records.rowCount(); ++row)
            list.append(listObject(records, row));
        printText(QString::fromUtf8(QJsonDocument(list).toJson()));
        return;
    }
    QString text;
    for (int row = 0; row < records.rowCount(); ++row)
        text += listLine(records, row) + QLatin1Char('\n');
    printText(text);
}

void runShow(const ParsedCommand& command, SecretPrompt& prompt)
{
    CliDataFile file(command.argument(0), prompt);
    const int row = file.chooseRecord(command.argument(1), urlChoice(command, "url"), "url");
    const bool showProtected = command.isSet("show-protected");
    if (command.isSet("json"))
        printText(QString::fromUtf8(QJsonDocument(showObject(file.records(), row, showProtected)).toJson()));
    else
        printLine(showLines(file.records(), row, showProtected).join(QLatin1Char('\n')));
}

void runClip(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString field = command.isSet("field") ? command.value("field") : QStringLiteral("password");
    const int column = fieldColumn(field);
    if (column < 0)
        usageError(QStringLiteral("clip: --field takes password, user, url, hint, key1, key2, key3 or key4"));
    const int seconds = command.number("timeout", kDefaultClipSeconds, 1, kMaxClipSeconds);
    const QString account = command.argument(1);
    QString text;
    {
        // The file is let go of before the wait.
        CliDataFile file(command.argument(0), prompt);
        text = file.records().valueAt(file.chooseRecord(account, urlChoice(command, "url"), "url"), column);
    }
    if (text.isEmpty())
        fail(QStringLiteral("the %1 of %2 is empty").arg(field, quoted(account)));
    printLine(
        QStringLiteral("The %1 of %2 is on the clipboard for %3 seconds.").arg(field, quoted(account)).arg(seconds));
    holdOnClipboard(text, seconds);
    secureWipe(text);
}

void runAdd(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString account = command.argument(1);
    if (account.trimmed().isEmpty())
        usageError(QStringLiteral("add: the account name is required"));
    requireLength(command, QStringLiteral("ACCOUNT"), Account, account);
    const RecordChanges changes = recordChanges(command);
    CliDataFile file(command.argument(0), prompt);
    writeRecord(file, [&](Recordset& records) {
        records.addNew();
        records.setValue(Account, account);
        applyChanges(changes, records, prompt);
        records.update();
    });
    printLine(QStringLiteral("Added %1.").arg(quoted(account)));
}

void runEdit(const ParsedCommand& command, SecretPrompt& prompt)
{
    RecordChanges changes = recordChanges(command);
    if (command.isSet("rename")) {
        const QString newName = command.value("rename");
        if (newName.trimmed().isEmpty())
            usageError(QStringLiteral("edit: the account name is required"));
        requireLength(command, QStringLiteral("--rename"), Account, newName);
        changes.fields.append({Account, newName});
    }
    if (changes.isEmpty())
        usageError(QStringLiteral("edit: nothing to change"));
    CliDataFile file(command.argument(0), prompt);
    const int row = file.chooseRecord(command.argument(1), urlChoice(command, "match-url"), "match-url");
    writeRecord(file, [&](Recordset& records) {
        records.moveToRow(row);
        applyChanges(changes, records, prompt);
        records.update();
    });
    printLine(QStringLiteral("Changed %1.").arg(quoted(command.argument(1))));
}

void runRm(const ParsedCommand& command, SecretPrompt& prompt)
{
    CliDataFile file(command.argument(0), prompt);
    const int row = file.chooseRecord(command.argument(1), urlChoice(command, "url"), "url");
    writeRecord(file, [&](Recordset& records) {
        records.moveToRow(row);
        records.deleteRecord();
    });
    printLine(QStringLiteral("Removed %1.").arg(quoted(command.argument(1))));
}
