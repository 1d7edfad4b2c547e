#include "desktop/FileDialog.h"

#include "desktop/DialogPlatform.h"
#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QQueue>
#include <QRegularExpression>

namespace {
constexpr qsizetype kMaxRecorded = 1000;
QQueue<QString> g_fileNames;
QList<FileDialogRequest> g_shown;

QString stripPatternGroup(const QString& description)
{
    BW_TRACE("FileDialog.cpp", "Function stripPatternGroup");
    static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString plain = description;
    plain.remove(trailingGroup);
    return plain.trimmed();
}

QString qtPatterns(const QString& patterns)
{
    BW_TRACE("FileDialog.cpp", "Function qtPatterns");
    QStringList list;
    for (const QString& raw : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = raw.trimmed();
        if (pattern.isEmpty())
            continue;
        list << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (list.isEmpty())
        list << QStringLiteral("*");
    return list.join(QLatin1Char(' '));
}

QString runDialog(FileDialogKind kind, QWidget* parent, const QString& title, const QString& filterList,
                  int filterIndex, const QString& initialName)
{
    BW_TRACE("FileDialog.cpp", "Function runDialog");
    FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filterList = filterList;
    request.filterIndex = filterIndex;
    request.initialName = initialName;
    if (g_shown.size() >= kMaxRecorded) // a long session keeps only the latest
        g_shown.removeFirst();
    g_shown.append(request);
    if (!g_fileNames.isEmpty())
        return g_fileNames.dequeue();
    if (!canShowDialogs())
        return QString();

    if (!parent)
        parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QPointer<QFileDialog> dialog = filedialog::createFileDialog(request, parent);
    const int result = dialog->exec();
    if (!dialog)
        return QString();
    const QString chosen = result == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    return chosen;
}
} // namespace

namespace filedialog {

QStringList qtNameFilters(const QString& filterList)
{
    BW_TRACE("FileDialog.cpp", "Function qtNameFilters");
    QStringList filters;
    const QStringList parts = filterList.split(QLatin1Char('|'));
    if (filterList.isEmpty())
        return filters;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts.value(i + 1));
        QString description = stripPatternGroup(parts.at(i));
        if (description.isEmpty())
            description = patterns;
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString defaultSuffixOf(const QString& qtNameFilter)
{
    BW_TRACE("FileDialog.cpp", "Function defaultSuffixOf");
    static const QRegularExpression plainExtension(QStringLiteral("\\(\\*\\.([A-Za-z0-9_]+)[ )]"));
    const QRegularExpressionMatch match = plainExtension.match(qtNameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QFileDialog* createFileDialog(const FileDialogRequest& request, QWidget* parent)
{
    BW_TRACE("FileDialog.cpp", "Function createFileDialog");
    auto* dialog = new QFileDialog(parent, request.title);
    dialog->setWindowModality(Qt::ApplicationModal);
    const QStringList filters = qtNameFilters(request.filterList);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        const QString first = filters.value(request.filterIndex - 1, filters.first());
        dialog->selectNameFilter(first);
    }
    if (request.kind == FileDialogKind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
        auto followFilter = [dialog](const QString& filter) { dialog->setDefaultSuffix(defaultSuffixOf(filter)); };
        followFilter(dialog->selectedNameFilter());
        QObject::connect(dialog, &QFileDialog::filterSelected, dialog, followFilter);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.initialName.isEmpty()) {
        const QFileInfo initial(request.initialName);
        if (request.initialName.contains(QLatin1Char('/')))
            dialog->setDirectory(initial.absolutePath());
        dialog->selectFile(initial.fileName());
    }
    return dialog;
}

} // namespace filedialog

QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filterList, int filterIndex,
                        const QString& initialName)
{
    BW_TRACE("FileDialog.cpp", "Function GetOpenFileName");
    return runDialog(FileDialogKind::Open, parent, title, filterList, filterIndex, initialName);
}

QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filterList, int filterIndex,
                        const QString& initialName)
{
    BW_TRACE("FileDialog.cpp", "Function GetSaveFileName");
    return runDialog(FileDialogKind::Save, parent, title, filterList, filterIndex, initialName);
}

namespace FileDialogSeam {
void setNextFileName(const QString& fileName)
{
    BW_TRACE("FileDialog.cpp", "Sub setNextFileName");
    g_fileNames.enqueue(fileName);
}

QList<FileDialogRequest> shown()
{
    BW_TRACE("FileDialog.cpp", "Function shown");
    return g_shown;
}

void clear()
{
    BW_TRACE("FileDialog.cpp", "Sub clear");
    g_fileNames.clear();
    g_shown.clear();
}
} // namespace FileDialogSeam
