#include "desktop/Browser.h"

#include "desktop/MessageBox.h"
#include "desktop/MimeDefaults.h"
#include "errortrap/Bulwark.h"

#include <QProcess>

namespace {
const QString kWebPageType = QStringLiteral("text/html");

// A browser reads an argument that begins with "-" as one of its options ("--renderer-cmd-prefix=..."
// runs a program of the address's choosing), whatever follows it on the command line.
bool readAsAnOption(const QString& address)
{
    return address.startsWith(QLatin1Char('-'));
}
} // namespace

namespace browser {

LaunchCommand commandFromBrowserVariable(const QString& value)
{
    BW_TRACE("Browser.cpp", "Function commandFromBrowserVariable");
    LaunchCommand command;
    QStringList words;
    const QString entry = value.section(QLatin1Char(':'), 0, 0).trimmed();
    if (!desktopentry::splitCommandLine(entry, words) || words.isEmpty())
        return command;
    command.program = words.takeFirst();
    command.addressAt = -1;
    for (const QString& word : words) {
        if (word == QLatin1String("%s") && command.addressAt < 0)
            command.addressAt = int(command.arguments.size());
        else
            command.arguments << word;
    }
    if (command.addressAt < 0)
        command.addressAt = int(command.arguments.size());
    return command;
}

LaunchCommand browserCommand(int& code)
{
    BW_TRACE("Browser.cpp", "Function browserCommand");
    code = BrowserCode::NoAssociation;
    const LaunchCommand fromVariable = commandFromBrowserVariable(qEnvironmentVariable("BROWSER"));
    if (fromVariable.isValid()) {
        if (!fromVariable.resolvedProgram().isEmpty()) {
            code = BrowserCode::Found;
            return fromVariable;
        }
        code = BrowserCode::NotFound; // a stale $BROWSER: fall back to the desktop's choice
    }
    const QString desktopFile = mimedefaults::defaultDesktopFile(kWebPageType);
    if (desktopFile.isEmpty())
        return LaunchCommand();
    const LaunchCommand fromDesktop = desktopentry::readLaunchCommand(desktopFile);
    code = fromDesktop.resolvedProgram().isEmpty() ? BrowserCode::NotFound : BrowserCode::Found;
    return code == BrowserCode::Found ? fromDesktop : LaunchCommand();
}

} // namespace browser

QString GetBrowserName(int& code)
{
    BW_TRACE("Browser.cpp", "Function GetBrowserName");
    const LaunchCommand command = browser::browserCommand(code);
    return code >= 32 ? command.resolvedProgram() : QString();
}

bool StartNewBrowser(const QString& address)
{
    BW_TRACE("Browser.cpp", "Function StartNewBrowser");
    int code = 0;
    const LaunchCommand command = browser::browserCommand(code);
    if (code < 32 || readAsAnOption(address))
        return false;
    return QProcess::startDetached(command.resolvedProgram(), command.argumentsWith(address));
}

void StartURL(const QString& urlText)
{
    BW_TRACE("Browser.cpp", "Sub StartURL");
    if (urlText.isEmpty())
        return;
    if (readAsAnOption(urlText)) {
        MsgBox(QStringLiteral("This web address begins with \"-\", so a browser would take it as an option "
                              "instead of an address.\r\n\r\nIt has not been opened."),
               vb::vbOKOnly | vb::vbExclamation, QStringLiteral("WEB ADDRESS REFUSED!"));
        return;
    }
    StartNewBrowser(urlText);
}
