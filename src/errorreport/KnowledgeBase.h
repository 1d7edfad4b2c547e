#pragma once
// The knowledge base list "allmskb.txt": which articles may help with an error number.
//
// The file lives in the program's system data folder, "lockwell" under the XDG data folders
// (~/.local/share/lockwell, then /usr/local/share/lockwell and /usr/share/lockwell). It is a UTF-8 text file of
// lines "<error number><TAB><article>"; blank lines and lines starting with '#' are ignored, and an error number
// may have several lines. The file is not part of the program: a site that keeps one installs it there.
#include <QString>
#include <QStringList>

namespace KnowledgeBase {

enum class Outcome { MissingFile, Found, NoneFound };

struct Lookup
{
    Outcome outcome = Outcome::MissingFile;
    QStringList articles; // in file order, when found
};

// The file's name, as the messages give it.
inline const QString kFileName = QStringLiteral("allmskb.txt");

// The articles listed for errorNumber in the file at path.
Lookup lookUp(int errorNumber, const QString& path);

// The articles listed for errorNumber in the first knowledge base file found in the system data folders.
Lookup lookUp(int errorNumber);

// What the user is told about a lookup:
//   missing file: "Cannot find allmskb.txt -- assistance not available."
//   found:        "The following knowledge base article(s) may contain information to assist you:", an empty
//                 line, then one article per line
//   none found:   "No matching article was found. Try searching the knowledge base for the error number."
// Line breaks are CR LF.
QString message(const Lookup& lookup);

// The program's system data folder: the first searched folder that exists, else the first searched one.
QString systemFolder();

// Every folder searched, in order.
QStringList searchFolders();

// Replaces the searched folders by one folder; an empty text restores the XDG folders (tests).
void setFolderOverride(const QString& folder);

} // namespace KnowledgeBase
