#pragma once
// What an import will do, shown before anything is written: the format found, the counts, the first
// records with their secrets masked, and what had to be changed to fit. Import goes on, Cancel ends it.
#include <QDialog>

struct ImportPlan;
class QLabel;
class QTableWidget;

class ImportPreview : public QDialog
{
    Q_OBJECT

public:
    // The records shown in the list; the counts cover them all.
    static constexpr int kShownRecords = 20;

    ImportPreview(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    // True when the user chose Import.
    bool ImportOK = false;

    QLabel* summaryLabel() const { return m_summary; }
    QTableWidget* recordList() const { return m_list; }

private:
    QLabel* m_summary;
    QTableWidget* m_list;
};
