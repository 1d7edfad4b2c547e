#include "storage/DataControl.h"

#include "storage/DataFileFormat.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <utility>

namespace {
constexpr char kModule[] = "DataControl.cpp";

bool isAccountQuery(const QString& source)
{
    return source.simplified().compare(QLatin1String(DataFileFormat::kRecordSource), Qt::CaseInsensitive) == 0;
}
} // namespace

DataControl::DataControl(QObject* parent) : QObject(parent)
{
    BW_TRACE(kModule, "Sub DataControl");
}

DataControl::~DataControl()
{
    BW_TRACE(kModule, "Sub ~DataControl");
}

void DataControl::setConnection(ConnectionText connection)
{
    BW_TRACE(kModule, "Sub setConnection");
    if (connection == m_connectionText)
        return;
    close();
    dropConnection();
    m_connectionText = std::move(connection);
}

void DataControl::setRecordSource(const QString& source)
{
    BW_TRACE(kModule, "Sub setRecordSource");
    m_recordSource = source;
}

void DataControl::refresh()
{
    BW_TRACE(kModule, "Sub refresh");
    retireRecordset();
    try {
        if (!isAccountQuery(m_recordSource))
            throw RuntimeError(EngineErr::BadArguments,
                               QStringLiteral("The record source is not valid: only \"") +
                                   QLatin1String(DataFileFormat::kRecordSource) + QStringLiteral("\" is known."),
                               QStringLiteral("Lockwell"));
        if (!m_connection) {
            const ConnectionText& text = m_connectionText;
            const auto sharing =
                text.isExclusive() ? SqlCipherDatabase::Sharing::Exclusive : SqlCipherDatabase::Sharing::DenyNone;
            const auto open = [&](SqlCipherDatabase::Access access) {
                return SqlCipherDatabase::open(text.dataSource(), text.password(), access, sharing);
            };
            if (text.isReadOnly()) {
                m_connection = open(SqlCipherDatabase::Access::ReadOnly);
            } else {
                try {
                    m_connection = open(SqlCipherDatabase::Access::ReadWrite);
                } catch (const RuntimeError& e) {
                    // A file that cannot be written can still be read: it opens for viewing.
                    if (e.number() != EngineErr::ReadOnly)
                        throw;
                    m_connection = open(SqlCipherDatabase::Access::ReadOnly);
                }
            }
        }
        m_recordset = std::make_shared<Recordset>(m_connection);
    } catch (...) {
        Q_EMIT recordsetChanged();
        throw;
    }
    Q_EMIT recordsetChanged();
}

void DataControl::releaseRecordset()
{
    BW_TRACE(kModule, "Sub releaseRecordset");
    retireRecordset();
    Q_EMIT recordsetChanged();
}

void DataControl::retireRecordset()
{
    BW_TRACE(kModule, "Sub retireRecordset");
    // The old set is closed (a pending change is dropped) and lets go of the connection, so nothing
    // keeps the data file open once the control does not.
    m_retired = std::move(m_recordset);
    m_recordset.reset();
    if (m_retired) {
        if (m_retired->isOpen())
            m_retired->close();
        m_retired->detach();
    }
}

void DataControl::close()
{
    BW_TRACE(kModule, "Sub close");
    if (!isDataFileOpen())
        return;
    m_recordset->writePending();
    m_recordset->close();
    m_recordset->detach();
    dropConnection();
    m_connectionText = ConnectionText();
    m_recordSource.clear();
    Q_EMIT recordsetChanged();
}

bool DataControl::isReadOnly() const
{
    BW_TRACE(kModule, "Function isReadOnly");
    return isDataFileOpen() && m_recordset->isReadOnly();
}

bool DataControl::isDataFileOpen() const
{
    BW_TRACE(kModule, "Function isDataFileOpen");
    return m_recordset && m_recordset->hasActiveConnection();
}

qint64 DataControl::dataVersion() const
{
    BW_TRACE(kModule, "Function dataVersion");
    return m_connection ? m_connection->dataVersion() : -1;
}

void DataControl::dropConnection()
{
    BW_TRACE(kModule, "Sub dropConnection");
    m_connection.reset();
}
