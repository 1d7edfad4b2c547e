#include "mainwindow/RecordNavigator.h"

#include "datafile/RecordWriteNotice.h"
#include "errortrap/Bulwark.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {
constexpr char kModule[] = "RecordNavigator.cpp";

// The record set when it can be moved in: open, connected and holding records.
Recordset* movableRecordset(const DataControl& control)
{
    Recordset* records = control.recordset().get();
    if (!records || !records->hasActiveConnection() || records->recordCount() == 0)
        return nullptr;
    return records;
}
} // namespace

RecordNavigator::RecordNavigator(QWidget* parent)
    : QFrame(parent), m_dataControl(new DataControl(this)), m_caption(new QLabel(this))
{
    BW_TRACE(kModule, "Sub UserControl_Initialize");
    m_dataControl->setObjectName(QStringLiteral("Adodc1DataControl"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    auto* first = addButton(QStringLiteral("cmdFirst"), QStringLiteral("|\u25C0"), QStringLiteral("First record"));
    auto* previous =
        addButton(QStringLiteral("cmdPrevious"), QStringLiteral("\u25C0"), QStringLiteral("Previous record"));
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    layout->addWidget(first);
    layout->addWidget(previous);
    layout->addWidget(m_caption, 1);
    auto* next = addButton(QStringLiteral("cmdNext"), QStringLiteral("\u25B6"), QStringLiteral("Next record"));
    auto* last = addButton(QStringLiteral("cmdLast"), QStringLiteral("\u25B6|"), QStringLiteral("Last record"));
    layout->addWidget(next);
    layout->addWidget(last);
    connect(first, &QToolButton::clicked, this, &RecordNavigator::moveFirst);
    connect(previous, &QToolButton::clicked, this, &RecordNavigator::movePrevious);
    connect(next, &QToolButton::clicked, this, &RecordNavigator::moveNext);
    connect(last, &QToolButton::clicked, this, &RecordNavigator::moveLast);
}

RecordNavigator::~RecordNavigator() = default;

QToolButton* RecordNavigator::addButton(const QString& name, const QString& arrow, const QString& tip)
{
    BW_TRACE(kModule, "Function addButton");
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(arrow);
    button->setAccessibleName(tip);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}

QString RecordNavigator::caption() const
{
    return m_caption->text();
}

void RecordNavigator::setCaption(const QString& caption)
{
    BW_TRACE(kModule, "Sub setCaption");
    m_caption->setText(caption);
}

void RecordNavigator::moveFirst()
{
    recordHandler(kModule, "Sub cmdFirst_Click", *m_dataControl, [&] {
        if (Recordset* records = movableRecordset(*m_dataControl))
            records->moveFirst();
    });
}

void RecordNavigator::movePrevious()
{
    recordHandler(kModule, "Sub cmdPrevious_Click", *m_dataControl, [&] {
        Recordset* records = movableRecordset(*m_dataControl);
        if (!records)
            return;
        if (!records->bof())
            records->movePrevious();
        if (records->bof())
            records->moveFirst();
    });
}

void RecordNavigator::moveNext()
{
    recordHandler(kModule, "Sub cmdNext_Click", *m_dataControl, [&] {
        Recordset* records = movableRecordset(*m_dataControl);
        if (!records)
            return;
        if (!records->eof())
            records->moveNext();
        if (records->eof())
            records->moveLast();
    });
}

void RecordNavigator::moveLast()
{
    recordHandler(kModule, "Sub cmdLast_Click", *m_dataControl, [&] {
        if (Recordset* records = movableRecordset(*m_dataControl))
            records->moveLast();
    });
}
