// The grid: following the record set, column widths, sorting by a header click, jumping by the first
// letter, and the filter panel.
#include "app/ProgramSettings.h"
#include "datafile/RecordWriteNotice.h"
#include "desktop/Keystrokes.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/ColumnWidths.h"
#include "mainwindow/FilterKeys.h"
#include "mainwindow/KeyPressRoute.h"
#include "mainwindow/RecordBinder.h"
#include "mainwindow/Twips.h"
#include "mainwindow/frmMain.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"
#include "ui_frmMain.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>

namespace {
constexpr char kModule[] = "frmMain.frm";

bool isConnected(const Recordset* records)
{
    return records && records->hasActiveConnection();
}

bool hasCurrentRecord(const Recordset& records)
{
    return !records.bof() && !records.eof();
}
} // namespace

void frmMain::setUpGrid()
{
    BW_TRACE(kModule, "Sub setUpGrid");
    QTableView* grid = ui->DataGrid1;
    grid->setModel(m_gridModel);
    // Tab leaves the grid for the next control, as in the record boxes: the grid has the focus after a
    // file opened, and a user tabs on from it to the filter boxes.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSortIndicatorShown(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) { DataGrid1_HeadClick(qint16(column)); });
    connect(header, &QHeaderView::sectionResized, this, &frmMain::columnResized);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChosen(current.isValid() ? current.row() : -1); });
    new KeyPressRoute(grid, [this](int& KeyAscii) { DataGrid1_KeyPress(KeyAscii); });
}

void frmMain::recordsetReplaced()
{
    BW_TRACE(kModule, "Sub recordsetReplaced");
    for (const auto& connection : std::as_const(m_recordsetConnections))
        disconnect(connection);
    m_recordsetConnections.clear();
    const auto records = recordset();
    m_gridModel->setRecordset(records);
    m_binder->setRecordset(records);
    if (records) {
        m_recordsetConnections << connect(records.get(), &Recordset::currentChanged, this, &frmMain::syncGridToRecord)
                               << connect(records.get(), &Recordset::rowsReset, this, &frmMain::syncGridToRecord)
                               << connect(records.get(), &Recordset::rowsReset, this, &frmMain::showSortIndicator)
                               << connect(records.get(), &Recordset::rowRemoved, this, &frmMain::recountAfterRemoval);
    }
    syncGridToRecord();
    showSortIndicator();
}

void frmMain::recountAfterRemoval()
{
    BW_TRACE(kModule, "Sub recountAfterRemoval");
    // A record left the list (deleted, or a new one without a name dropped as the user moved off it): the
    // count in the status bar follows, in the words it was shown with.
    const QString shown = statusPanel(1);
    const qsizetype space = shown.indexOf(QLatin1Char(' '));
    bool isCount = false;
    shown.left(space).toInt(&isCount);
    const auto records = recordset();
    if (isCount && records)
        setStatusPanel(1, QString::number(records->recordCount()) + shown.mid(space));
    DisplayInfo();
}

void frmMain::showSortIndicator()
{
    BW_TRACE(kModule, "Sub showSortIndicator");
    const auto records = recordset();
    const QStringList parts =
        records && records->isOpen() ? records->sort().split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList();
    int column = -1;
    for (int c = 0; c < AccountGridModel::GridColumnCount && !parts.isEmpty(); ++c) {
        if (parts.first().compare(AccountGridModel::dataField(c), Qt::CaseInsensitive) == 0)
            column = c;
    }
    QHeaderView* header = ui->DataGrid1->horizontalHeader();
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0) {
        const bool descending =
            parts.size() > 1 && parts.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        header->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

void frmMain::syncGridToRecord()
{
    BW_TRACE(kModule, "Sub syncGridToRecord");
    const auto records = recordset();
    const int row = records && records->isOpen() ? records->currentRow() : -1;
    QItemSelectionModel* selection = ui->DataGrid1->selectionModel();
    m_syncingGrid = true;
    if (row < 0 || row >= m_gridModel->rowCount()) {
        selection->clear();
    } else {
        const QModelIndex index = m_gridModel->index(row, 0);
        if (selection->currentIndex().row() != row || !selection->isRowSelected(row))
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ui->DataGrid1->scrollTo(index);
    }
    m_syncingGrid = false;
}

void frmMain::gridRowChosen(int row)
{
    if (m_syncingGrid || row < 0)
        return;
    recordHandler(kModule, "Sub DataGrid1_RowColChange", dataControl(), [&] {
        const auto records = recordset();
        if (isConnected(records.get()) && records->currentRow() != row && row < records->rowCount())
            records->moveToRow(row);
    });
    syncGridToRecord(); // also when the move was refused
    // A refused move may have shown a message in the middle of the click: the view selects the clicked row
    // once the click is over, so the grid is brought back to the current record after that too.
    const auto records = recordset();
    if (records && records->isOpen() && records->currentRow() != row)
        QTimer::singleShot(0, this, &frmMain::syncGridToRecord);
}

void frmMain::reloadGrid()
{
    BW_TRACE(kModule, "Sub reloadGrid");
    m_gridModel->reload();
    syncGridToRecord();
    ui->DataGrid1->viewport()->update();
}

float frmMain::gridWidthTwips() const
{
    BW_TRACE(kModule, "Function gridWidthTwips");
    return Twips::fromPixelsX(ui->DataGrid1->width(), this);
}

float frmMain::columnWidthTwips(int column) const
{
    return Twips::fromPixelsX(ui->DataGrid1->horizontalHeader()->sectionSize(column), this);
}

void frmMain::setColumnWidthTwips(int column, float twips)
{
    BW_TRACE(kModule, "Sub setColumnWidthTwips");
    m_resizingColumns = true;
    ui->DataGrid1->horizontalHeader()->resizeSection(column, std::max(0, Twips::toPixelsX(twips, this)));
    m_resizingColumns = false;
}

void frmMain::columnResized(int logicalIndex, int, int)
{
    if (m_resizingColumns || !m_loaded)
        return;
    int cancel = 0;
    DataGrid1_ColResize(qint16(logicalIndex), cancel);
}

void frmMain::DataGrid1_ColResize(qint16 ColIndex, int& Cancel)
{
    Q_UNUSED(Cancel);
    bwHandler(kModule, "Sub DataGrid1_ColResize", [&] {
        const int resized = ColIndex;
        const int other = resized == 0 ? 1 : 0;
        const auto widths = ColumnWidths::afterResize(gridWidthTwips(), columnWidthTwips(resized));
        setColumnWidthTwips(resized, widths.resized);
        setColumnWidthTwips(other, widths.other);
        ui->DataGrid1->viewport()->update();
        if (AccountGridModel::dataField(resized) == QLatin1String("Account")) {
            Options.ColAccount = widths.resized;
            Options.ColURL = widths.other;
        } else {
            Options.ColAccount = widths.other;
            Options.ColURL = widths.resized;
        }
    });
}

void frmMain::DataGrid1_HeadClick(qint16 ColIndex)
{
    recordHandler(kModule, "Sub DataGrid1_HeadClick", dataControl(), [&] {
        const auto records = recordset();
        if (!isConnected(records.get()))
            return;
        const QString field = AccountGridModel::dataField(ColIndex);
        // Whether a change is pending is read first: setting the sort writes it, as moving off does.
        const bool pending = hasCurrentRecord(*records) && records->editMode() != Recordset::EditNone;
        if (pending) {
            const QString ascending = field + QStringLiteral(" ASC");
            records->setSort(records->sort() != ascending ? ascending : field + QStringLiteral(" DESC"));
            return;
        }
        m_lastSortAscending = !m_lastSortAscending;
        records->setSort(m_lastSortAscending ? field : field + QStringLiteral(" DESC"));
        m_sortColumn = ColIndex;
        m_sortDirection = m_lastSortAscending ? 1 : 2;
    });
}

void frmMain::DataGrid1_KeyPress(int& KeyAscii)
{
    recordHandler(kModule, "Sub DataGrid1_KeyPress", dataControl(), [&] {
        if (KeyAscii == FilterKeys::kEnter) {
            SendTab(ui->DataGrid1);
            KeyAscii = 0;
            return;
        }
        if (!FilterKeys::isLetterOrDigit(KeyAscii))
            return;
        const auto records = recordset();
        if (!isConnected(records.get()) || records->recordCount() <= 1)
            return;
        const int position = records->absolutePosition();
        records->moveFirst();
        records->find(FilterKeys::jumpCriterion(QChar(KeyAscii)));
        if (records->eof()) {
            // Nothing begins with it: back to where the user was.
            records->moveFirst();
            if (position > 1)
                records->move(position - 1);
        }
        KeyAscii = 0;
    });
}

void frmMain::runFilter(bool contains)
{
    BW_TRACE(kModule, "Sub runFilter");
    const QString text = (contains ? ui->txtFilter2 : ui->txtFilter)->text().trimmed();
    if (isConnected(recordset().get())) {
        if (text.isEmpty()) {
            recordset()->setFilter(QString());
            refreshDataControl();
            reloadGrid();
        } else {
            const auto field = ui->optField1->isChecked() ? FilterKeys::Field::URL : FilterKeys::Field::Account;
            recordset()->setFilter(contains ? FilterKeys::containsCriterion(field, text)
                                            : FilterKeys::beginsCriterion(field, text));
        }
    }
    if (recordset())
        showRecordCount(" Accounts found.");
}

void frmMain::cmdFilter_Click()
{
    recordHandler(kModule, "Sub cmdFilter_Click", dataControl(), [&] { runFilter(false); });
}

void frmMain::cmdFilter2_Click()
{
    recordHandler(kModule, "Sub cmdFilter2_Click", dataControl(), [&] { runFilter(true); });
}

void frmMain::cmdClearFilter_Click()
{
    recordHandler(kModule, "Sub cmdClearFilter_Click", dataControl(), [&] {
        ui->txtFilter->clear();
        ui->txtFilter2->clear();
        if (!recordset())
            return;
        if (isConnected(recordset().get())) {
            recordset()->setFilter(QString());
            const QString sort = recordset()->sort();
            refreshDataControl();
            recordset()->setSort(sort);
            reloadGrid();
        }
        showRecordCount(" Accounts Total.");
    });
}

void frmMain::txtFilter_KeyPress(int& KeyAscii)
{
    bwHandler(kModule, "Sub txtFilter_KeyPress", [&] {
        if (KeyAscii == FilterKeys::kEnter)
            cmdFilter_Click();
        KeyAscii = FilterKeys::screenFilterKey(KeyAscii);
    });
}

void frmMain::txtFilter2_KeyPress(int& KeyAscii)
{
    bwHandler(kModule, "Sub txtFilter2_KeyPress", [&] {
        if (KeyAscii == FilterKeys::kEnter)
            cmdFilter2_Click();
        KeyAscii = FilterKeys::screenFilterKey(KeyAscii);
    });
}
