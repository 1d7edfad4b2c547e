#pragma once
// The commands of lockwell-cli: what each is called, takes and does, and its command line as parsed.
// The table is the one place a command is declared; help texts are made from it.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QCommandLineParser;
class ParsedCommand;
class SecretPrompt;

struct CliOption
{
    const char* shortName; // "" when the option has no one-letter form
    const char* longName;
    const char* valueName; // nullptr for a switch
    const char* help;
};

struct CliCommand
{
    const char* name;
    QStringList arguments; // the positional arguments, all required
    const char* summary;
    std::vector<CliOption> options;
    bool needsDisplay; // runs under a window system (the clipboard)
    void (*run)(const ParsedCommand& command, SecretPrompt& prompt);
};

// Every command, in the order the help lists them.
const std::vector<CliCommand>& cliCommands();
const CliCommand* findCliCommand(const QString& name);

// The program's help, and one command's.
QString cliHelp();
QString cliCommandHelp(const CliCommand& command);

// One command's arguments and options. Parsing fails with a usage error for an unknown option, a
// missing value, or too few or too many arguments (unless help is asked for).
class ParsedCommand
{
public:
    ParsedCommand(const CliCommand& command, const QStringList& arguments);
    ~ParsedCommand();
    ParsedCommand(const ParsedCommand&) = delete;
    ParsedCommand& operator=(const ParsedCommand&) = delete;

    const CliCommand& command() const { return m_command; }
    bool wantsHelp() const { return m_wantsHelp; }
    QString argument(int index) const { return m_arguments.value(index); }

    bool isSet(const char* longName) const;
    QString value(const char* longName) const;
    // The option's value as a whole number from minimum to maximum, or fallback when it is not given.
    int number(const char* longName, int fallback, int minimum, int maximum) const;
    // The one option of a group that is given, or fallback; two of one group are a usage error.
    QString oneOf(std::initializer_list<const char*> longNames, const char* fallback) const;

private:
    const CliCommand& m_command;
    std::unique_ptr<QCommandLineParser> m_parser;
    QStringList m_arguments;
    bool m_wantsHelp = false;
};
