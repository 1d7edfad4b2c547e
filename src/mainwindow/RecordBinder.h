#pragma once
// Binds edit boxes to the columns of a record set, as a data control binds its bound boxes:
// - whenever the record set's current record changes, every attached box shows that record's field
//   (empty when there is no current record);
// - text the user types into a box becomes the pending value of its column (edit mode 1);
// - the record set itself writes a pending change when it moves off the record.
// Boxes are single-line QLineEdits or MultiLineBoxes. A multi-line field keeps its line breaks as
// CR LF in the record and shows them as line feeds in the box.
#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;
class Recordset;

class RecordBinder : public QObject
{
    Q_OBJECT

public:
    explicit RecordBinder(QObject* parent = nullptr);
    ~RecordBinder() override;

    // Binds a box to a column (DataFileFormat::Column) and attaches it.
    void bind(QWidget* box, int column);

    // The record set the boxes follow; null lets go of it (the boxes keep their text).
    void setRecordset(std::shared_ptr<Recordset> records);
    std::shared_ptr<Recordset> recordset() const { return m_records; }

    // A detached box neither shows records nor writes its text; attaching it shows the current record.
    void detach(QWidget* box);
    void attach(QWidget* box);
    bool isAttached(QWidget* box) const;

    // Makes the box's text the pending value of its column even when it did not change.
    void markChanged(QWidget* box);

    // Shows the current record in every attached box.
    void fill();

    // Boxes that take no typing (a data file open for viewing); their text can still be selected and copied.
    void setReadOnly(bool readOnly);

    // The text of a box of either kind, and setting it (as typing would: the binding sees it).
    static QString textOf(const QWidget* box);
    static void setTextOf(QWidget* box, const QString& text);

private:
    struct Binding
    {
        QPointer<QWidget> box;
        int column;
        bool attached;
    };

    Binding* find(const QWidget* box);
    const Binding* find(const QWidget* box) const;
    void fillBox(const Binding& binding);
    void boxEdited(QWidget* box);
    void writeBox(QWidget* box, bool evenIfSame);
    void connectBox(QWidget* box);

    QList<Binding> m_bindings;
    std::shared_ptr<Recordset> m_records;
    QList<QMetaObject::Connection> m_recordConnections;
    bool m_filling = false;
};
