#include "datafile/ImportPreview.h"

#include "errortrap/Bulwark.h"
#include "exchange/ImportPlan.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr char kModule[] = "ImportPreview.cpp";
const QString kMask = QStringLiteral("********");

QString firstLine(QStringView text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\r'));
    return (end < 0 ? text : text.first(end)).toString();
}
} // namespace

ImportPreview::ImportPreview(const ImportPlan& plan, const QString& fileName, QWidget* parent) : QDialog(parent)
{
    BW_TRACE(kModule, "Sub ImportPreview");
    setWindowTitle(QStringLiteral("Import Accounts"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    QStringList counts{
        QStringLiteral("<b>%1</b> &mdash; %2").arg(ImportFormats::title(plan.format), fileName.toHtmlEscaped()),
        QStringLiteral("Accounts to import: <b>%1</b>").arg(plan.records.size()),
        QStringLiteral("Skipped as duplicates: %1").arg(plan.duplicates),
        QStringLiteral("Skipped as not a login: %1").arg(plan.notLogins)};
    if (plan.empty > 0)
        counts.append(QStringLiteral("Skipped as empty: %1").arg(plan.empty));
    counts.append(QStringLiteral("Changed to fit: %1").arg(plan.changed));
    m_summary = new QLabel(counts.join(QStringLiteral("<br>")), this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    layout->addWidget(m_summary);

    using namespace DataFileFormat;
    const QList<int> columns{Account, URL, IDtext, Password, Info};
    m_list = new QTableWidget(int(qMin<size_t>(plan.records.size(), kShownRecords)), int(columns.size()), this);
    m_list->setObjectName(QStringLiteral("grdPreview"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Account"), QStringLiteral("URL"), QStringLiteral("User ID"),
                                       QStringLiteral("Password"), QStringLiteral("Notes")});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->verticalHeader()->setVisible(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const AccountRow& record = plan.records.at(size_t(row));
        for (int i = 0; i < columns.size(); ++i) {
            const int column = columns.at(i);
            const QString text = column == Password ? (record.field(column).isEmpty() ? QString() : kMask)
                                                    : firstLine(record.field(column));
            m_list->setItem(row, i, new QTableWidgetItem(text));
        }
    }
    m_list->resizeColumnsToContents();
    layout->addWidget(m_list, 1);

    if (!plan.changes.isEmpty()) {
        auto* changes = new QPlainTextEdit(plan.changes.join(QLatin1Char('\n')), this);
        changes->setObjectName(QStringLiteral("txtChanges"));
        changes->setReadOnly(true);
        changes->setMaximumHeight(fontMetrics().lineSpacing() * 5 + 12);
        layout->addWidget(new QLabel(QStringLiteral("Changed to fit:"), this));
        layout->addWidget(changes);
    }
    layout->addWidget(new QLabel(QStringLiteral("Nothing is written until you choose Import."), this));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("cmdImport"));
    import->setEnabled(!plan.records.empty());
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ImportOK = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 460);
}
