#pragma once
// Open and save file dialogs.
//
// filterList is "Description|pattern[;pattern...]|Description|pattern..." as in
// "Lockwell Data Files (*.lwd)|*.lwd|All Files (*.*)|*.*"; filterIndex picks the filter shown first,
// counting from 1. initialName is the file name (or path) proposed. Both return the chosen path, or ""
// when the user cancels. The save dialog does not ask about overwriting: callers ask their own question.
#include <QList>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filterList, int filterIndex,
                        const QString& initialName);
QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filterList, int filterIndex,
                        const QString& initialName);

enum class FileDialogKind { Open, Save };

// One file dialog as it was asked for.
struct FileDialogRequest
{
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString filterList;
    int filterIndex = 0;
    QString initialName;
};

namespace FileDialogSeam {
// Queues the answer of the next file dialog ("" = cancelled); used in the order queued.
void setNextFileName(const QString& fileName);
// Every file dialog asked for since the last clear(), oldest first.
QList<FileDialogRequest> shown();
void clear();
} // namespace FileDialogSeam

namespace filedialog {
// The filter list in Qt's form, one "Description (pattern pattern)" per filter. "*.*" becomes "*" (every
// file, with or without a dot); a description's own "(...)" is replaced by the patterns that really apply.
QStringList qtNameFilters(const QString& filterList);
// The extension a typed name gets in the save dialog under a name filter: "lwd" for "... (*.lwd)", ""
// when the filter's first pattern is not one plain extension.
QString defaultSuffixOf(const QString& qtNameFilter);
// Builds the real dialog; the caller owns it.
QFileDialog* createFileDialog(const FileDialogRequest& request, QWidget* parent);
} // namespace filedialog
