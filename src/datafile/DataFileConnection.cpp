#include "datafile/DataFileConnection.h"

#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileHost.h"
#include "desktop/MessageBox.h"
#include "desktop/SystemHelpers.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/DataControl.h"
#include "storage/DataFileFormat.h"
#include "storage/DataFilePassword.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/RecordWriteError.h"
#include "storage/Recordset.h"

#include <QDate>
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
} // namespace

DataFileConnection::DataFileConnection(DataFileHost& host) : m_host(host)
{
    BW_TRACE(kModule, "Sub DataFileConnection");
}

bool DataFileConnection::DBconnect(const SecretText& password)
{
    BW_TRACE(kModule, "Function DBconnect");
    const QString path = Options.DBpath;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    try {
        DataControl& adodc1 = m_host.dataControl();
        adodc1.setConnection(ConnectionText::forDataFile(path, filePasswordFor(password)));
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

QString DataFileConnection::compactionWorkFile()
{
    BW_TRACE(kModule, "Function compactionWorkFile");
    return GetTempDir() + QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) +
           QStringLiteral("_LWDcompact.lwd");
}

bool DataFileConnection::CompactAndEncrypt(const QString& destination, const SecretText& sourcePassword)
{
    BW_TRACE(kModule, "Function CompactAndEncrypt");
    try {
        return compactSteps(destination, sourcePassword);
    } catch (const RecordWriteError&) {
        throw; // not a failed compaction: the record is not written, and the file stays open for it
    } catch (const RuntimeError& e) {
        MsgBox(QStringLiteral("DataCompact Error:") + kCrLf + QString::number(e.number()) + QStringLiteral(": ") +
                   kCrLf + e.description() + kCrLf + kCrLf +
                   QStringLiteral("The data file itself is safe: it keeps every record saved in it."),
               vb::vbOKOnly | vb::vbCritical, QStringLiteral("DATABASE COMPACT ERROR!"));
        return false;
    }
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

    DataControl& adodc1 = m_host.dataControl();
    if (const std::shared_ptr<Recordset> records = adodc1.recordset()) {
        if (!records->hasActiveConnection())
            return destination.isEmpty();
        adodc1.close(); // writes the current record's pending change first
    }

    const QString workFile = destination.isEmpty() ? compactionWorkFile() : destination;
    if (destination.isEmpty())
        FileSafety::removeFile(workFile); // left by an earlier compaction that did not finish
    // The source's password is the login's unless one is given; the copy is always the login's.
    const ConnectionText from = ConnectionText::forCompactSource(source, filePasswordFor(sourcePassword));
    const ConnectionText to = ConnectionText::forCompactTarget(workFile, filePasswordFor(SecretText()));
    step([&] { Compactor::compactDatabase(from, to); });

    // A step passed over leaves no copy: then there is nothing to put in place, and nothing was made.
    bool result = false;
    if (!destination.isEmpty()) {
        result = QFileInfo::exists(workFile);
    } else if (QFileInfo::exists(workFile)) {
        Compactor::replaceDataFile(workFile, source);
        FileSafety::removeFile(workFile);
        result = true;
    }
    m_host.DisplayInfo();
    return result;
}
