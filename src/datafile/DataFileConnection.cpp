#include "datafile/DataFileConnection.h"

#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileHost.h"
#include "desktop/MessageBox.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/DataControl.h"
#include "storage/DataFileFormat.h"
#include "storage/DataFilePassword.h"
#include "storage/DataFileProbe.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/RecordWriteError.h"
#include "storage/Recordset.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/WorkFolder.h"

#include <QFileInfo>
#include <functional>

namespace {
constexpr char kModule[] = "DataFileConnection.cpp";
const QString kCrLf = QStringLiteral("\r\n");

// The engine's "not allowed in this context", "not allowed on a closed object" and general failure:
// a compaction step that fails this way is passed over.
bool isPassedOver(int number)
{
    return number == EngineErr::NotAllowedInContext || number == EngineErr::ClosedObject ||
           number == EngineErr::GeneralFailure;
}

// Runs one step of the compaction; an error that is passed over ends only this step.
void step(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        if (!isPassedOver(e.number()))
            throw;
    }
}

// The data file password of a given password, or the login's when none is given.
SecretText filePasswordFor(const SecretText& givenPassword)
{
    BW_TRACE(kModule, "Function filePasswordFor");
    return givenPassword.isEmpty() ? loginDataFilePassword(LoginValues::heldVerifier())
                                   : dataFilePasswordOf(givenPassword);
}

// Writes the template into the work folder; false when it cannot be written.
bool writeTemplate(WorkFolder& work, QString& templatePath)
{
    BW_TRACE(kModule, "Function writeTemplate");
    templatePath = work.filePath(QStringLiteral("DATABASE"));
    return SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), templatePath) == 0;
}
} // namespace

DataFileConnection::DataFileConnection(DataFileHost& host) : m_host(host)
{
    BW_TRACE(kModule, "Sub DataFileConnection");
}

bool DataFileConnection::DBconnect(const SecretText& password)
{
    BW_TRACE(kModule, "Function DBconnect");
    // Remembered as the file itself: the next start, from any folder, finds it again.
    const QString path = FileSafety::resolvedPath(Options.DBpath);
    Options.DBpath = path;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    try {
        SecretText filePassword = filePasswordFor(password);
        if (DataFileProbe::inspect(path).kind == DataFileKind::Plain)
            encryptUnprotectedFile(path, filePassword);
        DataControl& adodc1 = m_host.dataControl();
        adodc1.setConnection(ConnectionText::forDataFile(path, std::move(filePassword)));
        adodc1.setRecordSource(QString::fromLatin1(DataFileFormat::kRecordSource));
        adodc1.refresh();
        adodc1.recordset()->setSort(QStringLiteral("Account ASC"));
        adodc1.recordset()->moveFirst(); // the sort keeps the current record: start at the top of the list
        m_host.setStatusPanel(1,
                              QString::number(adodc1.recordset()->recordCount()) + QStringLiteral(" Accounts stored."));
        m_host.DisplayInfo();
        UpdateLastload(path);
        m_host.removeExtraGridColumns();
        m_host.UpdateTools(true);
        if (adodc1.isReadOnly())
            tellOpenForViewing(path);
        // Typing now searches the list; it never lands in a record box unasked.
        m_host.focusGrid();
        return true;
    } catch (const RecordWriteError&) {
        throw; // the file that was open could not be closed: it stays open, its record pending
    } catch (const RuntimeError& e) {
        Options.DBpath.clear(); // not opened again at the next start
        if (e.number() == EngineErr::WrongPassword) {
            MsgBox(QStringLiteral("User: ") + LoginValues::userName() + QStringLiteral("'s Login password does not") +
                       kCrLf + QStringLiteral("match the embedded DataBase password:") + kCrLf +
                       QStringLiteral("Please use the 'Open Special' Menu command."),
                   vb::vbOKOnly | vb::vbCritical, QStringLiteral("PASSWORD MISMATCH!"));
        } else {
            MsgBox(QStringLiteral("Database Connection Error:") + kCrLf + QString::number(e.number()) +
                       QStringLiteral(": ") + kCrLf + e.description(),
                   vb::vbOKOnly | vb::vbCritical, QStringLiteral("DATABASE CONNECTION ERROR!"));
        }
        return false;
    }
}

void DataFileConnection::tellOpenForViewing(const QString& path)
{
    BW_TRACE(kModule, "Sub tellOpenForViewing");
    m_host.setStatusPanel(2, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(" (read-only)"));
    MsgBox(QStringLiteral("This data file cannot be written: the file or its folder is read-only.") + kCrLf + kCrLf +
               QStringLiteral("It is open for viewing only. You can read and copy its records, but you cannot add, "
                              "change or delete any, so nothing you type here can be lost.") +
               kCrLf + kCrLf + QStringLiteral("To edit it, make the file and its folder writable and open it again."),
           vb::vbOKOnly | vb::vbExclamation, QStringLiteral("READ-ONLY DATA FILE!"));
}

void DataFileConnection::UpdateLastload(const QString& path)
{
    BW_TRACE(kModule, "Sub UpdateLastload");
    if (path.isEmpty())
        return;
    m_host.setStatusPanel(2, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

void DataFileConnection::encryptUnprotectedFile(const QString& path, const SecretText& filePassword)
{
    BW_TRACE(kModule, "Sub encryptUnprotectedFile");
    // Read and checked first: a file that is refused is left exactly as it was, its folder too.
    SqlCipherDatabase::open(path, SecretText(), SqlCipherDatabase::Access::ReadOnly);
    WorkFolder work(path);
    QString templatePath;
    if (!writeTemplate(work, templatePath))
        throw RuntimeError(EngineErr::CannotOpen,
                           QStringLiteral("The template cannot be written beside the data file."),
                           QStringLiteral("Lockwell"));
    Compactor::encryptUnencrypted(path, work, templatePath, filePassword);
    MsgBox(QStringLiteral("The data file was not encrypted:") + kCrLf + path + kCrLf + kCrLf +
               QStringLiteral("Its accounts have been copied into a new data file,") + kCrLf +
               QStringLiteral("encrypted under the password it was opened with,") + kCrLf +
               QStringLiteral("which now takes its place. Nothing else of the") + kCrLf +
               QStringLiteral("old file was kept."),
           vb::vbOKOnly | vb::vbExclamation, QStringLiteral("UNPROTECTED DATA FILE!"));
}

bool DataFileConnection::CompactAndEncrypt(const QString& destination, const SecretText& sourcePassword)
{
    BW_TRACE(kModule, "Function CompactAndEncrypt");
    try {
        return compactSteps(destination, sourcePassword);
    } catch (const RecordWriteError&) {
        throw; // not a failed compaction: the record is not written, and the file stays open for it
    } catch (const RuntimeError& e) {
        showCompactError(e);
        return false;
    }
}

void DataFileConnection::showCompactError(const RuntimeError& error)
{
    BW_TRACE(kModule, "Sub showCompactError");
    // The description ends by saying what the failure means for the user: a compaction only ever puts a
    // complete copy in the file's place, so the file keeps every record saved in it.
    MsgBox(QStringLiteral("DataCompact Error:") + kCrLf + QString::number(error.number()) + QStringLiteral(": ") +
               kCrLf + error.description() + kCrLf + kCrLf +
               QStringLiteral("The data file itself is safe: it keeps every record saved in it."),
           vb::vbOKOnly | vb::vbCritical, QStringLiteral("DATABASE COMPACT ERROR!"));
}

bool DataFileConnection::compactSteps(const QString& destination, const SecretText& sourcePassword)
{
    BW_TRACE(kModule, "Function compactSteps");
    m_host.DisplayInfo();
    const QString source = Options.DBpath;
    if (source.isEmpty()) {
        m_host.DisplayInfo();
        return false;
    }

    if (const std::shared_ptr<Recordset> records = m_host.dataControl().recordset()) {
        if (!records->hasActiveConnection())
            return destination.isEmpty();
    }
    closeRecordset();
    // A remembered file that is not there (deleted, or on a disk not mounted now) is passed over
    // without a word, as opening passes it over.
    if (!QFileInfo::exists(source)) {
        m_host.DisplayInfo();
        return false;
    }

    // The source's password is the login's unless one is given; the copy is always the login's.
    bool done = false;
    step([&] {
        if (destination.isEmpty())
            Compactor::compactInPlace(source, filePasswordFor(sourcePassword), filePasswordFor(SecretText()));
        else
            Compactor::compactInto(source, filePasswordFor(sourcePassword), FileSafety::resolvedPath(destination),
                                   filePasswordFor(SecretText()));
        done = true;
    });
    // A step passed over leaves no copy: then nothing was put in place.
    m_host.DisplayInfo();
    return done;
}

void DataFileConnection::closeRecordset()
{
    BW_TRACE(kModule, "Sub closeRecordset");
    DataControl& adodc1 = m_host.dataControl();
    adodc1.close(); // writes the current record's pending change first
    // Also a connection left by a failed refresh: nothing of ours may hold the file while it is replaced.
    adodc1.setConnection(ConnectionText());
    adodc1.setRecordSource(QString());
}

DataFileConnection::NewFile DataFileConnection::createDataFile(const QString& path)
{
    BW_TRACE(kModule, "Function createDataFile");
    std::unique_ptr<WorkFolder> work;
    QString templatePath;
    try {
        work = std::make_unique<WorkFolder>(path);
    } catch (const RuntimeError&) {
        return NewFile::TemplateNotWritten;
    }
    if (!writeTemplate(*work, templatePath))
        return NewFile::TemplateNotWritten;
    closeRecordset();
    try {
        const QString copy = work->filePath(Compactor::workFileName());
        Compactor::createFromTemplate(templatePath, copy, filePasswordFor(SecretText()));
        Compactor::replaceDataFile(copy, path);
        return NewFile::Created;
    } catch (const RuntimeError& e) {
        showCompactError(e);
        return NewFile::Failed;
    }
}
