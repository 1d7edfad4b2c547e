#include "errorreport/KnowledgeBase.h"

#include "errortrap/Bulwark.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr const char* kModule = "KnowledgeBase.cpp";
const QString kProgramFolder = QStringLiteral("lockwell");

QString& folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

KnowledgeBase::Lookup KnowledgeBase::lookUp(int errorNumber, const QString& path)
{
    BW_TRACE(kModule, "Function lookUp");
    Lookup lookup;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lookup;
    lookup.outcome = Outcome::NoneFound;
    const QString wanted = QString::number(errorNumber);
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0 || line.left(tab).trimmed() != wanted)
            continue;
        const QString article = line.mid(tab + 1).trimmed();
        if (!article.isEmpty())
            lookup.articles.append(article);
    }
    if (!lookup.articles.isEmpty())
        lookup.outcome = Outcome::Found;
    return lookup;
}

KnowledgeBase::Lookup KnowledgeBase::lookUp(int errorNumber)
{
    BW_TRACE(kModule, "Function lookUp");
    for (const QString& folder : searchFolders()) {
        const QString path = folder + QLatin1Char('/') + kFileName;
        if (QFileInfo(path).isFile())
            return lookUp(errorNumber, path);
    }
    return Lookup();
}

QString KnowledgeBase::message(const Lookup& lookup)
{
    BW_TRACE(kModule, "Function message");
    switch (lookup.outcome) {
    case Outcome::MissingFile:
        return QStringLiteral("Cannot find allmskb.txt -- assistance not available.");
    case Outcome::Found:
        return QStringLiteral("The following knowledge base article(s) may contain information to assist you:") +
               QStringLiteral("\r\n\r\n") + lookup.articles.join(QStringLiteral("\r\n"));
    case Outcome::NoneFound:
        break;
    }
    return QStringLiteral("No matching article was found. Try searching the knowledge base for the error number.");
}

QStringList KnowledgeBase::searchFolders()
{
    BW_TRACE(kModule, "Function searchFolders");
    if (!folderOverride().isEmpty())
        return {folderOverride()};
    QStringList folders;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QLatin1Char('/') + kProgramFolder);
    return folders;
}

QString KnowledgeBase::systemFolder()
{
    BW_TRACE(kModule, "Function systemFolder");
    const QStringList folders = searchFolders();
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return folders.value(0);
}

void KnowledgeBase::setFolderOverride(const QString& folder)
{
    BW_TRACE(kModule, "Sub setFolderOverride");
    folderOverride() = folder;
}
