// The binding of edit boxes to the record set: multi-line fields keep CR LF in the record.
#include "DataFileFixtures.h"
#include "mainwindow/MultiLineBox.h"
#include "mainwindow/RecordBinder.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kPassword = QStringLiteral("pw-K7352");
}

class TestRecordBinder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    std::shared_ptr<Recordset> m_records;
    QLineEdit* m_account = nullptr;
    QLineEdit* m_id = nullptr;
    MultiLineBox* m_info = nullptr;
    std::unique_ptr<QWidget> m_panel;
    std::unique_ptr<RecordBinder> m_binder;

    QStringList stored() { return fixtures::readAccounts(m_file, kPassword); }

private Q_SLOTS:
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("binder.lwd"));
        QString info = QStringLiteral("line one\r\nline two");
        fixtures::Record withInfo = {"Alpha", "a.example", "alice"};
        while (withInfo.size() < DataFileFormat::Info)
            withInfo << QString();
        withInfo << info;
        fixtures::makeDataFile(m_file, kPassword, {withInfo, {"Beta", "b.example", "bert"}});
        m_records = std::make_shared<Recordset>(SqlCipherDatabase::open(m_file, SecretText(kPassword)));
        m_panel = std::make_unique<QWidget>();
        m_account = new QLineEdit(m_panel.get());
        m_id = new QLineEdit(m_panel.get());
        m_info = new MultiLineBox(m_panel.get());
        m_binder = std::make_unique<RecordBinder>();
        m_binder->bind(m_account, DataFileFormat::Account);
        m_binder->bind(m_id, DataFileFormat::IDtext);
        m_binder->bind(m_info, DataFileFormat::Info);
        m_binder->setRecordset(m_records);
    }

    void cleanup()
    {
        m_binder.reset();
        m_panel.reset();
        m_records.reset();
    }

    void multiLineTextIsStoredWithCrLf()
    {
        m_info->setText(QStringLiteral("first\nsecond\nthird"));
        m_records->moveNext();
        QVERIFY(stored().first().endsWith(QStringLiteral("|first\r\nsecond\r\nthird")));
        // Showing a CR LF text again is no change.
        m_records->movePrevious();
        QCOMPARE(m_records->editMode(), int(Recordset::EditNone));
    }
};

QTEST_MAIN(TestRecordBinder)
#include "test_RecordBinder.moc"
