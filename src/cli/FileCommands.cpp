#include "cli/FileCommands.h"

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"
#include "cli/CliOutput.h"
#include "cli/SecretPrompt.h"
#include "crypto/PasswordGenerator.h"
#include "storage/Compactor.h"
#include "storage/DataFilePassword.h"
#include "storage/EngineError.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"
#include "storage/WorkFolder.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {
const QString kNewMasterPrompt = QStringLiteral("New master password: ");
const QString kRepeatMasterPrompt = QStringLiteral("Repeat the new master password: ");

QStringList pragmaRows(SqlCipherDatabase& db, const char* pragma)
{
    SqlStatement statement(db.handle(), pragma);
    QStringList rows;
    while (statement.step())
        rows << statement.columnText(0);
    return rows;
}

QString pragmaValue(SqlCipherDatabase& db, const char* pragma)
{
    return pragmaRows(db, pragma).value(0);
}
} // namespace

void runCreate(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString path = command.argument(0);
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        fail(path + QStringLiteral(": already exists; create makes a new file only"));
    if (!target.absoluteDir().exists())
        fail(path + QStringLiteral(": no such folder"));
    const SecretText master = prompt.askNewMaster(kNewMasterPrompt, kRepeatMasterPrompt);

    // The template is written into a work folder of our own beside the new file and encrypted into it:
    // the data file is encrypted from its first byte, and a failure leaves no file behind.
    std::unique_ptr<WorkFolder> work;
    try {
        work = std::make_unique<WorkFolder>(path);
    } catch (const RuntimeError& e) {
        fail(path + QStringLiteral(": cannot make a work folder beside it: ") + e.description());
    }
    const QString plain = work->filePath(QStringLiteral("DATABASE"));
    if (SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), plain) != 0)
        fail(QStringLiteral("cannot write the template data file into ") + work->path());
    try {
        Compactor::createFromTemplate(plain, path, dataFilePasswordOf(master));
    } catch (const RuntimeError& e) {
        fail(path + QStringLiteral(": cannot create the data file: ") + e.description());
    }
    printLine(QStringLiteral("Created %1.").arg(path));
}

void runRekey(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString path = command.argument(0);
    CliDataFile::requireUsable(path);
    const SecretText current = prompt.ask(QStringLiteral("Current master password for %1: ").arg(path));
    openDataFile(path, current); // the current password is checked before the new one is asked for
    const SecretText next = prompt.askNewMaster(kNewMasterPrompt, kRepeatMasterPrompt);

    // The same compaction and atomic replacement as the window's: an encrypted copy under the new
    // password, written beside the data file, synced, then renamed over it under the file's lock.
    try {
        Compactor::compactInPlace(path, dataFilePasswordOf(current), dataFilePasswordOf(next));
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(path, e);
    }
    printLine(QStringLiteral("%1 is encrypted under the new master password.").arg(path));
}

void runCheck(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString path = command.argument(0);
    CliDataFile::requireUsable(path);
    const std::unique_ptr<SqlCipherDatabase> db = openDataFile(path, prompt.ask(masterPasswordPrompt(path)));
    QStringList problems;
    try {
        // The engine authenticates every page it reads (HMAC), so the integrity check, which reads every
        // page in use, checks the encryption too. An engine that has a check of its own for the
        // encryption runs it as well; older ones do not know the statement and give no rows.
        for (const char* check : {"PRAGMA cipher_integrity_check", "PRAGMA integrity_check"}) {
            for (const QString& row : pragmaRows(*db, check)) {
                if (row != QLatin1String("ok"))
                    problems << row;
            }
        }
        printLine(QStringLiteral("File: ") + path);
        printLine(QStringLiteral("Records: ") + pragmaValue(*db, "SELECT count(*) FROM tblAccount"));
        printLine(QStringLiteral("Page size: %1 bytes, %2 pages")
                      .arg(pragmaValue(*db, "PRAGMA cipher_page_size"), pragmaValue(*db, "PRAGMA page_count")));
        printLine(QStringLiteral("Cipher: %1 with %2 (SQLCipher %3)")
                      .arg(pragmaValue(*db, "PRAGMA cipher"),
                           pragmaValue(*db, "PRAGMA cipher_use_hmac") == QLatin1String("1")
                               ? QStringLiteral("an HMAC-SHA1 on every page")
                               : QStringLiteral("no HMAC"),
                           pragmaValue(*db, "PRAGMA cipher_version")));
        printLine(
            QStringLiteral("Key derivation: PBKDF2-HMAC-SHA1, %1 iterations").arg(pragmaValue(*db, "PRAGMA kdf_iter")));
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(path, e);
    }
    if (!problems.isEmpty()) {
        for (const QString& problem : std::as_const(problems))
            printLine(QStringLiteral("Problem: ") + problem);
        fail(path + QStringLiteral(": the integrity check found %1 problems").arg(problems.size()));
    }
    printLine(QStringLiteral("Integrity: ok"));
}

void runGenerate(const ParsedCommand& command, SecretPrompt&)
{
    const int length =
        command.number("length", kLongestGeneratedPassword, kShortestGeneratedPassword, kLongestGeneratedPassword);
    const QString type = command.oneOf({"mixed", "letters", "digits"}, "mixed");
    const QString letterCase = command.oneOf({"any-case", "upper", "lower"}, "any-case");
    SystemUniformSource source;
    printLine(drawPassword(length,
                           type == QLatin1String("letters")  ? PasswordType::Alpha
                           : type == QLatin1String("digits") ? PasswordType::Numeric
                                                             : PasswordType::AlphaNumeric,
                           letterCase == QLatin1String("upper")   ? LetterCase::Upper
                           : letterCase == QLatin1String("lower") ? LetterCase::Lower
                                                                  : LetterCase::Mixed,
                           source));
}
