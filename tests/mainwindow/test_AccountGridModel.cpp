// The grid model: two columns in the record set's order, following sort, filter, add, delete and
// edits, as a view expects (checked by Qt's model tester).
#include "DataFileFixtures.h"
#include "mainwindow/AccountGridModel.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kPassword = QStringLiteral("pw-K7352");
}

class TestAccountGridModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<Recordset> m_records;
    std::unique_ptr<AccountGridModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < m_model->rowCount(); ++row)
            texts << m_model->index(row, c).data().toString();
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        const QString file = m_dir.filePath(QStringLiteral("grid.lwd"));
        fixtures::makeDataFile(file, kPassword,
                               {{"Charlie", "c.example", "secret-id"}, {"alpha", "z.example"}, {"Bravo", "b.example"}});
        m_records = std::make_shared<Recordset>(SqlCipherDatabase::open(file, SecretText(kPassword)));
        m_model = std::make_unique<AccountGridModel>();
        m_tester = std::make_unique<QAbstractItemModelTester>(m_model.get(),
                                                              QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_model->setRecordset(m_records);
    }

    void cleanup()
    {
        m_tester.reset();
        m_model.reset();
        m_records.reset();
    }

    void showsAccountAndUrlOnly()
    {
        QCOMPARE(m_model->columnCount(), 2);
        QCOMPARE(column(0), QStringList({"Charlie", "alpha", "Bravo"}));
        QCOMPARE(column(1), QStringList({"c.example", "z.example", "b.example"}));
    }

    void followsSortAndFilter()
    {
        m_records->setSort(QStringLiteral("Account"));
        QCOMPARE(column(0), QStringList({"alpha", "Bravo", "Charlie"}));
        m_records->setSort(QStringLiteral("URL DESC"));
        QCOMPARE(column(0), QStringList({"alpha", "Charlie", "Bravo"}));
        m_records->setFilter(QStringLiteral("Account LIKE '*r*'"));
        QCOMPARE(column(0), QStringList({"Charlie", "Bravo"}));
        m_records->setFilter(QString());
        QCOMPARE(m_model->rowCount(), 3);
    }

    void followsAddEditAndDelete()
    {
        m_records->addNew();
        QCOMPARE(m_model->rowCount(), 4);
        m_records->setValue(QStringLiteral("Account"), QStringLiteral("Delta"));
        QCOMPARE(m_model->index(3, 0).data().toString(), QStringLiteral("Delta")); // the pending text shows
        m_records->update();
        m_records->moveFirst();
        m_records->deleteRecord();
        QCOMPARE(column(0), QStringList({"alpha", "Bravo", "Delta"}));
        m_records->addNew();
        m_records->cancelUpdate();
        QCOMPARE(m_model->rowCount(), 3);
    }

    void aClosedOrMissingRecordSetShowsNothing()
    {
        m_records->close();
        QCOMPARE(m_model->rowCount(), 0);
        m_model->setRecordset(nullptr);
        QCOMPARE(m_model->rowCount(), 0);
        QVERIFY(!m_model->index(0, 0).isValid());
    }
};

QTEST_MAIN(TestAccountGridModel)
#include "test_AccountGridModel.moc"
