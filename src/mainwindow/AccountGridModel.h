#pragma once
// The grid's view of the record set: one row per listed record, in the record set's order (filtered
// and sorted), and two columns, Account and URL. Rows are read from the record set when the view
// asks for them, so a grid over 100,000 records costs no more than the rows on screen.
#include <QAbstractTableModel>
#include <memory>

class Recordset;

class AccountGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum GridColumn { AccountColumn = 0, UrlColumn = 1, GridColumnCount = 2 };

    explicit AccountGridModel(QObject* parent = nullptr);
    ~AccountGridModel() override;

    // The record set shown; null shows nothing.
    void setRecordset(std::shared_ptr<Recordset> records);
    std::shared_ptr<Recordset> recordset() const { return m_records; }

    // The data field of a grid column ("Account", "URL"; "" for another index).
    static QString dataField(int gridColumn);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows the record set afresh, as after a sort or a filter.
    void reload();

private:
    void recordsReset();
    void recordInserted(int row);
    void recordRemoved(int row);
    void recordChanged(int row);

    std::shared_ptr<Recordset> m_records;
    QList<QMetaObject::Connection> m_connections;
    int m_rowCount = 0; // the rows the view has been told about
};
