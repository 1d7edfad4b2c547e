#include "datafile/ImportExportCommands.h"

#include "app/ProgramSettings.h"
#include "datafile/DataFileCommands.h"
#include "datafile/DataFileHost.h"
#include "datafile/DataFileReread.h"
#include "datafile/ImportPreview.h"
#include "desktop/FileDialog.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvReader.h"
#include "exchange/ImportPlan.h"
#include "storage/AccountTable.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

namespace {
constexpr char kModule[] = "ImportExportCommands.cpp";
const QString kCrLf = QStringLiteral("\r\n");
const QString kCsvFilter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
// The summary box lists this many changes; the rest are counted.
constexpr int kChangesListed = 15;

void importError(const QString& path, const QString& why)
{
    MsgBox(QStringLiteral("The file cannot be imported:") + kCrLf + path + kCrLf + why, vb::vbOKOnly | vb::vbCritical,
           QStringLiteral("IMPORT ERROR!"));
}

QString summaryText(const ImportPlan& plan)
{
    QStringList lines = plan.summary(true);
    const qsizetype listed = lines.size() - plan.changes.size() + qMin<qsizetype>(plan.changes.size(), kChangesListed);
    if (lines.size() > listed) {
        const qsizetype more = lines.size() - listed;
        lines = lines.mid(0, listed);
        lines.append(QStringLiteral("  ... and %1 more").arg(more));
    }
    return lines.join(kCrLf);
}
} // namespace

bool ImportExportCommands::readInput(const QString& path, QByteArray& data)
{
    BW_TRACE(kModule, "Function readInput");
    const QString why = Csv::readFile(path, data);
    if (why.isEmpty())
        return true;
    importError(path, why.at(0).toUpper() + why.mid(1) + QLatin1Char('.'));
    return false;
}

void ImportExportCommands::importRecords()
{
    BW_TRACE(kModule, "Sub importRecords");
    DataControl& control = m_host.dataControl();
    if (!control.isDataFileOpen())
        return;
    if (control.isReadOnly()) {
        MsgBox(QStringLiteral("The data file is open for viewing only: nothing can be imported into it."),
               vb::vbOKOnly | vb::vbExclamation, QStringLiteral("READ-ONLY DATA FILE!"));
        return;
    }
    QString path;
    {
        const SuspendOnTopScope suspended(m_host);
        path = GetOpenFileName(m_host.dialogOwner(), QStringLiteral("Import Accounts"), kCsvFilter, 1, QString());
    }
    if (path.isEmpty())
        return;
    QByteArray csv;
    if (!readInput(path, csv))
        return;
    // The record being edited is written first: the import reads the file in again afterwards.
    control.recordset()->writePending();
    SqlCipherDatabase& db = *control.database();
    const ImportPlan plan = planImport(csv, std::nullopt, AccountTable::loadAll(db), false);
    csv.fill('\0');
    if (!plan.ok()) {
        importError(path, plan.error);
        return;
    }
    {
        ImportPreview preview(plan, QFileInfo(path).fileName(), m_host.dialogOwner());
        const SuspendOnTopScope suspended(m_host);
        preview.exec();
        if (!preview.ImportOK)
            return;
    }
    try {
        const SuspendOnTopScope suspended(m_host);
        QProgressDialog progress(QStringLiteral("Importing accounts..."), QString(), 0, int(plan.records.size()),
                                 m_host.dialogOwner());
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        writeImport(db, plan, [&](int done) { progress.setValue(done); });
    } catch (const RuntimeError& e) {
        MsgBox(QStringLiteral("Nothing was imported: the data file is as it was.") + kCrLf + e.description(),
               vb::vbOKOnly | vb::vbCritical, QStringLiteral("IMPORT ERROR!"));
        return;
    }
    rereadDataFile(m_files, m_host, false);
    m_host.setStatusPanel(1, QString::number(control.recordset()->recordCount()) + QStringLiteral(" Accounts stored."));
    m_host.UpdateTools(false);
    MsgBox(summaryText(plan), vb::vbOKOnly | vb::vbInformation, QStringLiteral("IMPORT COMPLETE"));
}

void ImportExportCommands::exportRecords()
{
    BW_TRACE(kModule, "Sub exportRecords");
    DataControl& control = m_host.dataControl();
    if (!control.isDataFileOpen())
        return;
    QString path;
    {
        const SuspendOnTopScope suspended(m_host);
        path = GetSaveFileName(m_host.dialogOwner(), QStringLiteral("Export Accounts"), kCsvFilter, 1,
                               QFileInfo(Options.DBpath).completeBaseName() + QStringLiteral(".csv"));
    }
    if (path.isEmpty())
        return;
    const QString warning =
        QStringLiteral("The exported file is not encrypted: anyone who can read it sees every password.");
    if (QFileInfo::exists(path)) {
        if (MsgBox(warning + kCrLf + kCrLf + QStringLiteral("Replace the file that is there?") + kCrLf + path,
                   vb::vbOKCancel | vb::vbExclamation | vb::vbDefaultButton2,
                   QStringLiteral("EXPORT NOT ENCRYPTED!")) != vb::vbOK)
            return;
    } else if (MsgBox(warning, vb::vbOKCancel | vb::vbExclamation, QStringLiteral("EXPORT NOT ENCRYPTED!")) !=
               vb::vbOK) {
        return;
    }
    if (!control.isReadOnly())
        control.recordset()->writePending();
    std::vector<AccountRow> rows = AccountTable::loadAll(*control.database());
    QByteArray csv = exportCsv(rows);
    try {
        writePrivateFile(path, csv);
    } catch (const RuntimeError& e) {
        csv.fill('\0');
        MsgBox(QStringLiteral("The file was not written:") + kCrLf + path + kCrLf + e.description(),
               vb::vbOKOnly | vb::vbCritical, QStringLiteral("EXPORT ERROR!"));
        return;
    }
    csv.fill('\0');
    MsgBox(QStringLiteral("%1 accounts were written to:").arg(rows.size()) + kCrLf + path,
           vb::vbOKOnly | vb::vbInformation, QStringLiteral("EXPORT COMPLETE"));
}
