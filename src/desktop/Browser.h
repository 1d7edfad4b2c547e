#pragma once
// Opening a web address in the user's default web browser.
//
// The browser is the program registered for web pages: the first entry of $BROWSER when set, otherwise
// the desktop's default application for text/html (xdg-mime, then the association files). It is started
// as a separate process with the address, unchanged, as its argument; the program does not wait for it.
#include "desktop/DesktopEntry.h"

#include <QString>

// Result codes of the browser look-up: 32 and above means a browser was found.
namespace BrowserCode {
constexpr int Found = 42;
constexpr int NotFound = 2;       // a browser is named, but its program does not exist
constexpr int NoAssociation = 31; // nothing is registered for web pages
} // namespace BrowserCode

// Opens urlText (the record's URL box) in a new browser window. An empty text starts nothing. A text
// beginning with "-" would reach the browser as an option: it is refused with a warning box. Any other
// text goes to the browser exactly as it is: not trimmed, not checked, no scheme added. Failures are silent.
void StartURL(const QString& urlText);

// Starts the browser with address as its argument. False when there is no browser, it did not start,
// or the address begins with "-" (the browser would take it as an option).
bool StartNewBrowser(const QString& address);

// The path of the browser program; code receives a BrowserCode value (below 32: none, and "" returned).
QString GetBrowserName(int& code);

namespace browser {
// The browser's full command (program, arguments and the address's place); code as for GetBrowserName.
LaunchCommand browserCommand(int& code);
// The command named by a $BROWSER value: its first ':'-separated entry, split as a command line; an
// argument "%s" marks the address's place, otherwise the address goes last.
LaunchCommand commandFromBrowserVariable(const QString& value);
} // namespace browser
