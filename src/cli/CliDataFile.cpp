#include "cli/CliDataFile.h"

#include "cli/RecordText.h"
#include "cli/SecretPrompt.h"
#include "storage/DataFileFormat.h"
#include "storage/DataFilePassword.h"
#include "storage/DataFileProbe.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <sqlite3.h>

namespace {
[[noreturn]] void refuse(const QString& path, const char* what)
{
    fail(path + QStringLiteral(": ") + QLatin1String(what));
}
} // namespace

void CliDataFile::requireUsable(const QString& path)
{
    const DataFileProbe probe = DataFileProbe::inspect(path);
    switch (probe.kind) {
    case DataFileKind::Missing:
        refuse(path, "no such file");
    case DataFileKind::NotRegular:
        refuse(path, "a folder or a device, not a data file");
    case DataFileKind::Unreadable:
        refuse(path, "permission denied: the file cannot be read");
    case DataFileKind::Empty:
    case DataFileKind::WrongSize:
        refuse(path, "not a Lockwell data file");
    case DataFileKind::Plain:
        refuse(path, "not a Lockwell data file: it is not encrypted (Lockwell's window opens it and protects it)");
    case DataFileKind::Encrypted:
        break;
    }
    if (!probe.writable)
        refuse(path, "read-only: the file or its folder cannot be written");
}

CliFailure CliDataFile::failureFor(const QString& path, const RuntimeError& error)
{
    const auto failure = [&](const QString& what) { return CliFailure(ExitStatus::Failure, path + ": " + what); };
    switch (error.number()) {
    case EngineErr::WrongPassword:
        return failure(QStringLiteral("wrong password: the master password does not open this data file"));
    case EngineErr::NotADataFile:
        return failure(QStringLiteral("not a Lockwell data file"));
    case EngineErr::Busy:
    case SQLITE_LOCKED:
        return failure(QStringLiteral("locked: another program is using the data file; try again when it is done"));
    case EngineErr::ReadOnly:
        return failure(QStringLiteral("read-only: the file or its folder cannot be written"));
    case EngineErr::AccessDenied:
        return failure(QStringLiteral("permission denied: the file cannot be read"));
    case EngineErr::Damaged:
        return failure(QStringLiteral("damaged: the data file is cut short or its pages do not fit together"));
    default:
        return failure(error.description());
    }
}

std::unique_ptr<SqlCipherDatabase> openDataFile(const QString& path, const SecretText& master)
{
    try {
        return SqlCipherDatabase::open(path, dataFilePasswordOf(master));
    } catch (const RuntimeError& e) {
        throw CliDataFile::failureFor(path, e);
    }
}

QString masterPasswordPrompt(const QString& path)
{
    return QStringLiteral("Master password for %1: ").arg(path);
}

CliDataFile::CliDataFile(const QString& path, SecretPrompt& prompt) : m_path(path)
{
    requireUsable(path);
    m_database = openDataFile(path, prompt.ask(masterPasswordPrompt(path)));
    try {
        m_records = std::make_unique<Recordset>(m_database);
        m_records->setSort(QStringLiteral("Account ASC"));
    } catch (const RuntimeError& e) {
        throw failureFor(path, e);
    }
}

CliDataFile::~CliDataFile() = default;

int CliDataFile::chooseRecord(const QString& account, const QString& url, const char* urlOption) const
{
    const Recordset& records = *m_records;
    QList<int> named;
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int row = 0; row < records.rowCount(); ++row) {
            if (records.valueAt(row, DataFileFormat::Account).compare(account, sensitivity) == 0)
                named << row;
        }
        if (!named.isEmpty())
            break;
    }
    if (named.isEmpty())
        fail(m_path + QStringLiteral(": no record named '") + account + QLatin1Char('\''));
    QList<int> chosen;
    for (const int row : std::as_const(named)) {
        if (url.isNull() || records.valueAt(row, DataFileFormat::URL) == url)
            chosen << row;
    }
    if (chosen.size() == 1)
        return chosen.first();
    if (chosen.isEmpty())
        fail(m_path + QStringLiteral(": no record named '") + account + QStringLiteral("' has the URL '") + url +
             QLatin1Char('\''));
    QStringList listed;
    for (const int row : std::as_const(chosen))
        listed << QStringLiteral("  ") + listLine(records, row);
    fail(QStringLiteral("%1: %2 records are named '%3'; choose one with --%4:")
             .arg(m_path)
             .arg(chosen.size())
             .arg(account, QLatin1String(urlOption)),
         listed);
}
