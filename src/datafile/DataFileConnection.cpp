#include "datafile/DataFileConnection.h"

#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "crypto/SecureWipe.h"
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
#include "storage/Recordset.h"

#include <QDate>
#include <QFileInfo>
#include <functional>

namespace {
constexpr char kModule[] = "basDataFile.bas";
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

// The login's data file password, or the one of a given password.
QString filePasswordFor(const QString& givenPassword)
{
    BW_TRACE(kModule, "Function filePasswordFor");
    if (!givenPassword.isEmpty())
        return dataFilePasswordOf(givenPassword);
    QString held = LoginValues::heldVerifier();
    const QString password = loginDataFilePassword(held);
    secureWipe(held);
    return password;
}
} // namespace

DataFileConnection::DataFileConnection(DataFileHost& host) : m_host(host)
{
    BW_TRACE(kModule, "Sub DataFileConnection");
}

bool DataFileConnection::DBconnect(const QString& password)
{
    BW_TRACE(kModule, "Function DBconnect");
    const QString path = DBpath;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    QString filePassword = filePasswordFor(password);
    try {
        DataControl& adodc1 = m_host.dataControl();
        adodc1.setConnectionString(ConnectionText::forDataFile(path, filePassword).toString());
        secureWipe(filePassword);
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
        return true;
    } catch (const RuntimeError& e) {
        secureWipe(filePassword);
        DBpath.clear(); // not opened again at the next start
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

bool DataFileConnection::CompactAndEncrypt(const QString& destination, const QString& sourcePassword)
{
    BW_TRACE(kModule, "Function CompactAndEncrypt");
    try {
        return compactSteps(destination, sourcePassword);
    } catch (const RuntimeError& e) {
        MsgBox(QStringLiteral("DataCompact Error:") + kCrLf + QString::number(e.number()) + QStringLiteral(": ") +
                   kCrLf + e.description(),
               vb::vbOKOnly | vb::vbCritical, QStringLiteral("DATABASE COMPACT ERROR!"));
        return false;
    }
}

bool DataFileConnection::compactSteps(const QString& destination, const QString& sourcePassword)
{
    BW_TRACE(kModule, "Function compactSteps");
    m_host.DisplayInfo();
    const QString source = DBpath;
    if (source.isEmpty()) {
        m_host.DisplayInfo();
        return false;
    }

    DataControl& adodc1 = m_host.dataControl();
    if (const std::shared_ptr<Recordset> records = adodc1.recordset()) {
        if (!records->hasActiveConnection())
            return destination.isEmpty();
        step([&] {
            if (!records->bof() && !records->eof() && records->editMode() != Recordset::EditDelete)
                records->update();
        });
        step([&] { records->close(); });
        step([&] { records->detach(); });
        adodc1.setConnectionString(QString());
        adodc1.setRecordSource(QString());
    }

    const QString workFile = destination.isEmpty() ? compactionWorkFile() : destination;
    if (destination.isEmpty())
        FileSafety::removeFile(workFile); // left by an earlier compaction that did not finish
    QString targetPassword = filePasswordFor(QString());
    QString sourceToUse = sourcePassword.isEmpty() ? targetPassword : filePasswordFor(sourcePassword);
    try {
        step([&] {
            Compactor::compactDatabase(ConnectionText::forCompactSource(source, sourceToUse),
                                       ConnectionText::forCompactTarget(workFile, targetPassword));
        });
    } catch (...) {
        secureWipe(targetPassword);
        secureWipe(sourceToUse);
        throw;
    }
    secureWipe(targetPassword);
    secureWipe(sourceToUse);

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
