#include "mainwindow/RecordBinder.h"

#include "errortrap/Bulwark.h"
#include "mainwindow/MultiLineBox.h"
#include "storage/Recordset.h"

#include <QLineEdit>

namespace {
constexpr char kModule[] = "RecordBinder.cpp";

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");

bool hasCurrentRecord(const Recordset* records)
{
    return records && records->isOpen() && records->currentRow() >= 0;
}
} // namespace

RecordBinder::RecordBinder(QObject* parent) : QObject(parent)
{
    BW_TRACE(kModule, "Sub Class_Initialize");
}

RecordBinder::~RecordBinder()
{
    for (const auto& connection : std::as_const(m_recordConnections))
        disconnect(connection);
}

QString RecordBinder::textOf(const QWidget* box)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    if (const auto* multi = qobject_cast<const MultiLineBox*>(box))
        return multi->text();
    return QString();
}

void RecordBinder::setTextOf(QWidget* box, const QString& text)
{
    BW_TRACE(kModule, "Sub setTextOf");
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* multi = qobject_cast<MultiLineBox*>(box))
        multi->setText(text);
}

void RecordBinder::bind(QWidget* box, int column)
{
    BW_TRACE(kModule, "Sub bind");
    if (!box || find(box))
        return;
    m_bindings.append({box, column, true});
    connectBox(box);
    fillBox(m_bindings.last());
}

void RecordBinder::connectBox(QWidget* box)
{
    BW_TRACE(kModule, "Sub connectBox");
    if (auto* line = qobject_cast<QLineEdit*>(box))
        connect(line, &QLineEdit::textChanged, this, [this, box] { boxEdited(box); });
    else if (auto* multi = qobject_cast<MultiLineBox*>(box))
        connect(multi, &QPlainTextEdit::textChanged, this, [this, box] { boxEdited(box); });
}

void RecordBinder::setRecordset(std::shared_ptr<Recordset> records)
{
    BW_TRACE(kModule, "Sub setRecordset");
    for (const auto& connection : std::as_const(m_recordConnections))
        disconnect(connection);
    m_recordConnections.clear();
    m_records = std::move(records);
    if (m_records) {
        Recordset* set = m_records.get();
        m_recordConnections << connect(set, &Recordset::currentChanged, this, &RecordBinder::fill)
                            << connect(set, &Recordset::rowsReset, this, &RecordBinder::fill);
        fill();
    }
}

void RecordBinder::detach(QWidget* box)
{
    BW_TRACE(kModule, "Sub detach");
    if (Binding* binding = find(box))
        binding->attached = false;
}

void RecordBinder::attach(QWidget* box)
{
    BW_TRACE(kModule, "Sub attach");
    Binding* binding = find(box);
    if (!binding || binding->attached)
        return;
    binding->attached = true;
    if (m_records)
        fillBox(*binding);
}

bool RecordBinder::isAttached(QWidget* box) const
{
    const Binding* binding = find(box);
    return binding && binding->attached;
}

void RecordBinder::fill()
{
    BW_TRACE(kModule, "Sub fill");
    for (const Binding& binding : std::as_const(m_bindings)) {
        if (binding.attached && binding.box)
            fillBox(binding);
    }
}

void RecordBinder::setReadOnly(bool readOnly)
{
    BW_TRACE(kModule, "Sub setReadOnly");
    for (const Binding& binding : std::as_const(m_bindings)) {
        if (auto* line = qobject_cast<QLineEdit*>(binding.box.data()))
            line->setReadOnly(readOnly);
        else if (auto* multi = qobject_cast<MultiLineBox*>(binding.box.data()))
            multi->setReadOnly(readOnly);
    }
}

void RecordBinder::fillBox(const Binding& binding)
{
    BW_TRACE(kModule, "Sub fillBox");
    QString text;
    if (hasCurrentRecord(m_records.get())) {
        text = m_records->value(binding.column);
        if (qobject_cast<MultiLineBox*>(binding.box.data()))
            text.replace(kCrLf, kLf);
    } else if (!m_records) {
        return; // nothing bound: the box keeps what it shows
    }
    m_filling = true;
    setTextOf(binding.box, text);
    m_filling = false;
}

void RecordBinder::boxEdited(QWidget* box)
{
    BW_TRACE(kModule, "Sub boxEdited");
    if (!m_filling)
        writeBox(box, false);
}

void RecordBinder::markChanged(QWidget* box)
{
    BW_TRACE(kModule, "Sub markChanged");
    writeBox(box, true);
}

void RecordBinder::writeBox(QWidget* box, bool evenIfSame)
{
    BW_TRACE(kModule, "Sub writeBox");
    const Binding* binding = find(box);
    if (!binding || !binding->attached || !hasCurrentRecord(m_records.get()))
        return;
    QString text = textOf(box);
    if (qobject_cast<MultiLineBox*>(box))
        text.replace(kLf, kCrLf);
    if (evenIfSame || text != m_records->value(binding->column))
        m_records->setValue(binding->column, text);
}

RecordBinder::Binding* RecordBinder::find(const QWidget* box)
{
    for (Binding& binding : m_bindings) {
        if (binding.box == box)
            return &binding;
    }
    return nullptr;
}

const RecordBinder::Binding* RecordBinder::find(const QWidget* box) const
{
    for (const Binding& binding : m_bindings) {
        if (binding.box == box)
            return &binding;
    }
    return nullptr;
}
