#include "cli/CliCommand.h"

#include "cli/CliFailure.h"
#include "cli/ExchangeCommands.h"
#include "cli/FileCommands.h"
#include "cli/RecordCommands.h"

#include <QCommandLineParser>

namespace {
const QString kFile = QStringLiteral("FILE");
const QString kAccount = QStringLiteral("ACCOUNT");

const CliOption kJson{"", "json", nullptr, "print JSON instead of text"};
const CliOption kChooseByUrl{"", "url", "URL", "of several records of that name, the one with this URL"};

// What add and edit may set on a record.
std::vector<CliOption> recordFieldOptions()
{
    return {{"", "url", "URL", "the web address"},
            {"", "user", "USER", "the user ID"},
            {"", "hint", "HINT", "the hint about the password"},
            {"", "notes", "NOTES", "the free-text information; its line breaks are kept"},
            {"p", "password-prompt", nullptr, "ask for the record's password"},
            {"g", "generate", nullptr, "give the record a generated password"},
            {"", "length", "N", "the generated password's length, 4 to 16 (16)"}};
}

std::vector<CliOption> editOptions()
{
    std::vector<CliOption> options = recordFieldOptions();
    options.push_back({"", "rename", "NEW", "give the record a new account name"});
    options.push_back({"", "match-url", "URL", "of several records of that name, the one with this URL"});
    return options;
}

const CliOption kHelp{"h", "help", nullptr, "show this help"};

QString optionNames(const CliOption& option)
{
    QString names =
        *option.shortName ? QStringLiteral("-%1, ").arg(QLatin1String(option.shortName)) : QStringLiteral("    ");
    names += QStringLiteral("--") + QLatin1String(option.longName);
    if (option.valueName)
        names += QLatin1Char(' ') + QLatin1String(option.valueName);
    return names;
}

QString usageLine(const CliCommand& command)
{
    QString line = QStringLiteral("lockwell-cli ") + QLatin1String(command.name);
    if (!command.options.empty())
        line += QStringLiteral(" [options]");
    for (const QString& argument : command.arguments)
        line += QLatin1Char(' ') + argument;
    return line;
}
} // namespace

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> commands = {
        {"create", {kFile}, "make a new, empty, encrypted data file", {}, false, runCreate},
        {"ls", {kFile}, "list the records: account, URL and user ID, in account order", {kJson}, false, runLs},
        {"show",
         {kFile, kAccount},
         "every field of one record; the password, keys and hint as PROTECTED unless asked",
         {{"s", "show-protected", nullptr, "show the password, the keys and the hint"}, kJson, kChooseByUrl},
         false,
         runShow},
        {"clip",
         {kFile, kAccount},
         "put a field on the clipboard, and clear it again after a while",
         {{"", "field", "FIELD", "password (the default), user, url, hint, key1, key2, key3 or key4"},
          {"", "timeout", "SECONDS", "clear the clipboard after this many seconds, 1 to 3600 (10)"},
          kChooseByUrl},
         true,
         runClip},
        {"add", {kFile, kAccount}, "add a record", recordFieldOptions(), false, runAdd},
        {"edit", {kFile, kAccount}, "change fields of a record", editOptions(), false, runEdit},
        {"rm", {kFile, kAccount}, "remove a record", {kChooseByUrl}, false, runRm},
        {"rekey", {kFile}, "re-encrypt a data file under a new master password", {}, false, runRekey},
        {"generate",
         {},
         "draw a random password",
         {{"", "length", "N", "its length, 4 to 16 (16)"},
          {"", "mixed", nullptr, "letters and digits (the default)"},
          {"", "letters", nullptr, "letters only"},
          {"", "digits", nullptr, "digits only"},
          {"", "any-case", nullptr, "small and capital letters (the default)"},
          {"", "upper", nullptr, "capital letters only"},
          {"", "lower", nullptr, "small letters only"}},
         false,
         runGenerate},
        {"import",
         {kFile, QStringLiteral("INPUT")},
         "import the records of a CSV file: Lockwell's, KeePassXC's, Bitwarden's, a browser's",
         {{"", "format", "FORMAT",
           "read INPUT as lockwell, keepassxc, bitwarden, chromium or firefox (from its header)"},
          {"", "allow-duplicates", nullptr, "import records whose account, URL and user ID are already there"},
          {"", "dry-run", nullptr, "say what would be imported, and write nothing"}},
         false,
         runImport},
        {"export",
         {kFile},
         "write every record as Lockwell CSV, in clear, to standard output or a file",
         {{"o", "output", "OUTPUT", "write to this file (made readable by its owner only) instead"}},
         false,
         runExport},
        {"check",
         {kFile},
         "check a data file's integrity; report its records, page size and key derivation",
         {},
         false,
         runCheck},
    };
    return commands;
}

const CliCommand* findCliCommand(const QString& name)
{
    for (const CliCommand& command : cliCommands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString cliHelp()
{
    QString text = QStringLiteral("Usage: lockwell-cli COMMAND [options] FILE ...\n"
                                  "       lockwell-cli COMMAND --help | --help | --version\n"
                                  "The Lockwell vault from a terminal and from scripts.\n\nCommands:\n");
    for (const CliCommand& command : cliCommands())
        text += QStringLiteral("  %1%2\n").arg(QLatin1String(command.name), -10).arg(QLatin1String(command.summary));
    text += QStringLiteral(
        "\nThe password asked for is the file owner's master password, the one Lockwell's window logs in with.\n"
        "It is read from the terminal without echo, or, when standard input is not a terminal, one line of it\n"
        "for each password the command needs.\n"
        "Exit status: 0 done, 1 failed (one line on standard error says why), 2 usage error.\n");
    return text;
}

QString cliCommandHelp(const CliCommand& command)
{
    QString text = QStringLiteral("Usage: ") + usageLine(command) + QLatin1Char('\n');
    QString summary = QLatin1String(command.summary);
    summary[0] = summary.at(0).toUpper();
    text += summary + QStringLiteral(".\n\nOptions:\n");
    std::vector<CliOption> options = command.options;
    options.push_back(kHelp);
    for (const CliOption& option : options)
        text += QStringLiteral("  %1  %2\n").arg(optionNames(option), -26).arg(QLatin1String(option.help));
    return text;
}

ParsedCommand::ParsedCommand(const CliCommand& command, const QStringList& arguments)
    : m_command(command), m_parser(std::make_unique<QCommandLineParser>())
{
    std::vector<CliOption> options = command.options;
    options.push_back(kHelp);
    for (const CliOption& option : options) {
        QStringList names{QLatin1String(option.longName)};
        if (*option.shortName)
            names.prepend(QLatin1String(option.shortName));
        QCommandLineOption parserOption(names, QLatin1String(option.help));
        if (option.valueName)
            parserOption.setValueName(QLatin1String(option.valueName));
        m_parser->addOption(parserOption);
    }
    const QString name = QLatin1String(command.name);
    if (!m_parser->parse(QStringList{QStringLiteral("lockwell-cli")} + arguments))
        usageError(name + QStringLiteral(": ") + m_parser->errorText());
    m_wantsHelp = m_parser->isSet(QStringLiteral("help"));
    m_arguments = m_parser->positionalArguments();
    if (m_wantsHelp)
        return;
    if (m_arguments.size() < command.arguments.size())
        usageError(name + QStringLiteral(": ") + command.arguments.at(m_arguments.size()) +
                   QStringLiteral(" is missing"));
    if (m_arguments.size() > command.arguments.size())
        usageError(name + QStringLiteral(": unexpected argument '") + m_arguments.at(command.arguments.size()) +
                   QStringLiteral("'"));
}

ParsedCommand::~ParsedCommand() = default;

bool ParsedCommand::isSet(const char* longName) const
{
    return m_parser->isSet(QLatin1String(longName));
}

QString ParsedCommand::value(const char* longName) const
{
    return m_parser->value(QLatin1String(longName));
}

int ParsedCommand::number(const char* longName, int fallback, int minimum, int maximum) const
{
    if (!isSet(longName))
        return fallback;
    bool ok = false;
    const int result = value(longName).toInt(&ok);
    if (!ok || result < minimum || result > maximum)
        usageError(QStringLiteral("%1: --%2 takes a number from %3 to %4")
                       .arg(QLatin1String(m_command.name), QLatin1String(longName))
                       .arg(minimum)
                       .arg(maximum));
    return result;
}

QString ParsedCommand::oneOf(std::initializer_list<const char*> longNames, const char* fallback) const
{
    QString chosen;
    for (const char* name : longNames) {
        if (!isSet(name))
            continue;
        if (!chosen.isEmpty())
            usageError(QStringLiteral("%1: --%2 and --%3 exclude each other")
                           .arg(QLatin1String(m_command.name), chosen, QLatin1String(name)));
        chosen = QLatin1String(name);
    }
    return chosen.isEmpty() ? QLatin1String(fallback) : chosen;
}
