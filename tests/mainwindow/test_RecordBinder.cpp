// The binding of edit boxes to the record set: moving fills every box, typing makes a pending value,
// moving off a changed record writes it, multi-line fields keep CR LF in the record.
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

    void movingFillsEveryBox()
    {
        QCOMPARE(m_account->text(), QStringLiteral("Alpha"));
        QCOMPARE(m_id->text(), QStringLiteral("alice"));
        QCOMPARE(m_info->text(), QStringLiteral("line one\nline two")); // shown with line feeds
        m_records->moveNext();
        QCOMPARE(m_account->text(), QStringLiteral("Beta"));
        QCOMPARE(m_id->text(), QStringLiteral("bert"));
        QCOMPARE(m_info->text(), QString());
        m_records->moveNext(); // after the last record there is nothing to show
        QCOMPARE(m_account->text(), QString());
        QCOMPARE(m_records->editMode(), int(Recordset::EditNone)); // showing is not editing
    }

    void typingIsPendingUntilTheRecordIsLeft()
    {
        QTest::keyClicks(m_id, QStringLiteral("2"));
        QCOMPARE(m_records->editMode(), int(Recordset::EditInProgress));
        QCOMPARE(m_records->value(QStringLiteral("IDtext")), QStringLiteral("alice2"));
        QVERIFY(stored().first().startsWith(QStringLiteral("Alpha|a.example|alice|")));
        m_records->moveNext();
        QVERIFY(stored().first().startsWith(QStringLiteral("Alpha|a.example|alice2|")));
        QCOMPARE(m_id->text(), QStringLiteral("bert"));
        m_binder->markChanged(m_account); // marking an unchanged box makes the record pending too
        QCOMPARE(m_records->editMode(), int(Recordset::EditInProgress));
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

    void aDetachedBoxNeitherShowsNorWrites()
    {
        m_binder->detach(m_id);
        m_id->setText(QStringLiteral("typed while detached"));
        QCOMPARE(m_records->editMode(), int(Recordset::EditNone));
        m_records->moveNext();
        QCOMPARE(m_id->text(), QStringLiteral("typed while detached"));
        m_binder->attach(m_id);
        QCOMPARE(m_id->text(), QStringLiteral("bert"));
    }

    void aNewRecordStartsEmpty()
    {
        m_records->addNew();
        QCOMPARE(m_account->text(), QString());
        QCOMPARE(m_info->text(), QString());
        QTest::keyClicks(m_account, QStringLiteral("Gamma"));
        m_records->moveFirst();
        QCOMPARE(stored().size(), 3);
        QVERIFY(stored().last().startsWith(QStringLiteral("Gamma")));
    }
};

QTEST_MAIN(TestRecordBinder)
#include "test_RecordBinder.moc"
