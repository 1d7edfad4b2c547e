#include "cli/ExchangeCommands.h"

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"
#include "cli/CliOutput.h"
#include "errortrap/Bulwark.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvReader.h"
#include "exchange/ImportPlan.h"
#include "storage/AccountTable.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {
QByteArray readInput(const QString& path)
{
    QByteArray data;
    const QString why = Csv::readFile(path, data);
    if (!why.isEmpty())
        fail(path + QStringLiteral(": ") + why);
    return data;
}
} // namespace

void runImport(const ParsedCommand& command, SecretPrompt& prompt)
{
    std::optional<ImportFormat> format;
    if (command.isSet("format")) {
        format = ImportFormats::fromName(command.value("format"));
        if (!format)
            usageError(QStringLiteral("import: --format takes ") + ImportFormats::names().join(QStringLiteral(", ")));
    }
    const bool allowDuplicates = command.isSet("allow-duplicates");
    const QString input = command.argument(1);
    const QByteArray csv = readInput(input);
    // A file that cannot be imported is refused before a password is asked for.
    if (const ImportPlan check = planImport(csv, format, {}, true); !check.ok())
        fail(input + QStringLiteral(": ") + check.error);

    CliDataFile file(command.argument(0), prompt);
    try {
        const ImportPlan plan = planImport(csv, format, AccountTable::loadAll(file.database()), allowDuplicates);
        const bool write = !command.isSet("dry-run");
        if (write)
            writeImport(file.database(), plan);
        printLine(plan.summary(write).join(QLatin1Char('\n')));
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(file.path(), e);
    }
}

void runExport(const ParsedCommand& command, SecretPrompt& prompt)
{
    const QString output = command.isSet("output") ? command.value("output") : QString();
    if (command.isSet("output") && output.isEmpty())
        usageError(QStringLiteral("export: --output takes a file name"));
    CliDataFile file(command.argument(0), prompt);
    QByteArray csv;
    size_t count = 0;
    try {
        const std::vector<AccountRow> rows = AccountTable::loadAll(file.database());
        count = rows.size();
        csv = exportCsv(rows);
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(file.path(), e);
    }
    if (output.isEmpty()) {
        std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        std::fflush(stdout);
        return;
    }
    try {
        writePrivateFile(output, csv);
    } catch (const RuntimeError& e) {
        fail(output + QStringLiteral(": cannot be written: ") + e.description());
    }
    printLine(QStringLiteral("Exported %1 records to %2. The file is not encrypted: every password is in it in clear.")
                  .arg(count)
                  .arg(output));
}
