#include "cli/LockwellCli.h"

#include "LockwellVersion.h"
#include "cli/CliCommand.h"
#include "cli/CliFailure.h"
#include "cli/CliOutput.h"
#include "cli/SecretPrompt.h"
#include "errortrap/Bulwark.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <unistd.h>

namespace {
const QString kTryHelp = QStringLiteral("Try 'lockwell-cli --help'.");

// Qt's own messages are not the user's business on a terminal; a fatal one (no display to reach) ends
// the run with one line, as every failure does.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    printError(QStringLiteral("cannot reach the display: the clipboard needs a running window system"));
    ::_exit(int(ExitStatus::Failure));
}

std::unique_ptr<QCoreApplication> makeApplication(const CliCommand& command, int& argc, char* argv[])
{
    if (!command.needsDisplay)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        fail(QStringLiteral("%1: no display: the clipboard needs a running window system").arg(command.name));
    return std::make_unique<QGuiApplication>(argc, argv);
}

int run(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString first = arguments.value(0);
    if (first.isEmpty())
        usageError(QStringLiteral("no command given"));
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        printText(cliHelp());
        return int(ExitStatus::Success);
    }
    if (first == QLatin1String("--version")) {
        printLine(QStringLiteral("lockwell-cli ") + QLatin1String(kLockwellVersion));
        return int(ExitStatus::Success);
    }
    const CliCommand* command = findCliCommand(first);
    if (!command)
        usageError(QStringLiteral("no command '%1'").arg(first));
    const ParsedCommand parsed(*command, arguments.mid(1));
    if (parsed.wantsHelp()) {
        printText(cliCommandHelp(*command));
        return int(ExitStatus::Success);
    }
    const std::unique_ptr<QCoreApplication> application = makeApplication(*command, argc, argv);
    SecretPrompt prompt;
    command->run(parsed, prompt);
    return int(ExitStatus::Success);
}
} // namespace

int runLockwellCli(int argc, char* argv[])
{
    qInstallMessageHandler(quietQtMessages);
    // No procedure trace: nothing here reports through the error trap, and every failure is told at once.
    bwOption(20, false);
    try {
        return run(argc, argv);
    } catch (const CliFailure& failure) {
        printError(failure.message());
        for (const QString& line : failure.details())
            printToError(line + QLatin1Char('\n'));
        if (failure.status() == ExitStatus::Usage)
            printToError(kTryHelp + QLatin1Char('\n'));
        return int(failure.status());
    } catch (const RuntimeError& e) {
        printError(e.description());
        return int(ExitStatus::Failure);
    }
}
