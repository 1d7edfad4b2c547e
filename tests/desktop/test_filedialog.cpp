// File dialogs: the test seam, the conversion of filter lists and the real save dialog's set-up.
#include "desktop/FileDialog.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const QString kFilters = QStringLiteral("Lockwell Data Files (*.lwd)|*.lwd|All Files (*.*)|*.*");
}

class TestFileDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void queuedNamesAnswerInOrderAndEmptyMeansCancel()
    {
        FileDialogSeam::clear();
        FileDialogSeam::setNextFileName(QStringLiteral("/tmp/a.lwd"));
        FileDialogSeam::setNextFileName(QString());
        QCOMPARE(GetOpenFileName(nullptr, QStringLiteral("Open"), kFilters, 1, QString()),
                 QStringLiteral("/tmp/a.lwd"));
        QCOMPARE(GetSaveFileName(nullptr, QStringLiteral("Save As"), kFilters, 2, QStringLiteral("b.lwd")), QString());
        // Nothing queued: offscreen, the dialog counts as cancelled instead of blocking.
        QCOMPARE(GetOpenFileName(nullptr, QStringLiteral("Again"), QString(), 0, QString()), QString());

        const QList<FileDialogRequest> shown = FileDialogSeam::shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1].kind, FileDialogKind::Save);
        QCOMPARE(shown[1].filterList, kFilters);
        QCOMPARE(shown[1].filterIndex, 2);
        QCOMPARE(shown[1].initialName, QStringLiteral("b.lwd"));
    }

    void filterListsInQtForm()
    {
        QCOMPARE(filedialog::qtNameFilters(kFilters), (QStringList{"Lockwell Data Files (*.lwd)", "All Files (*)"}));
        QCOMPARE(filedialog::qtNameFilters(QStringLiteral("Backups|*.bak;*.old|Text (*.txt)|*.csv")),
                 (QStringList{"Backups (*.bak *.old)", "Text (*.csv)"}));
        QCOMPARE(filedialog::qtNameFilters(QStringLiteral("Vault (old) files|*.mdb|Anything")),
                 (QStringList{"Vault (old) files (*.mdb)", "Anything (*)"}));
        QCOMPARE(filedialog::qtNameFilters(QString()), QStringList());
    }

    void realSaveDialogSetUp()
    {
        QTemporaryDir dir;
        FileDialogRequest request;
        request.kind = FileDialogKind::Save;
        request.title = QStringLiteral("Save Data File As");
        request.filterList = kFilters;
        request.filterIndex = 2;
        request.initialName = dir.path() + QStringLiteral("/vault.lwd");
        std::unique_ptr<QFileDialog> dialog(filedialog::createFileDialog(request, nullptr));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite)); // callers ask their own question
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("All Files (*)"));
        QCOMPARE(dialog->defaultSuffix(), QString());
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        // Choosing the data file filter makes a typed name end in ".lwd".
        Q_EMIT dialog->filterSelected(QStringLiteral("Lockwell Data Files (*.lwd)"));
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("lwd"));

        request.kind = FileDialogKind::Open;
        request.filterIndex = 7; // out of range: the first filter
        dialog.reset(filedialog::createFileDialog(request, nullptr));
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Lockwell Data Files (*.lwd)"));
    }
};

QTEST_MAIN(TestFileDialog)
#include "test_filedialog.moc"
