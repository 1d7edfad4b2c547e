// The records window and another program on the same data file: the window reads in what another
// writer commits and a file put in its place, keeping its current record, sort and filter; its own
// writes are not read again, and a change waits while an edit is pending.
#include "MainWindowFixture.h"
#include "mainwindow/frmMain.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QLineEdit>
#include <QTest>
#include <cstdio>

namespace {
// A write by another connection, as the command-line tool or a second window makes it.
void anotherWriterAdds(const QString& file, const QString& account)
{
    Recordset other(
        std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(file, SecretText(mwtest::dataFilePassword()))));
    other.addNew();
    other.setValue(DataFileFormat::Account, account);
    other.update();
}
} // namespace

class TestFrmMainReread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsInWhatOthersWriteToTheFile()
    {
        mwtest::Environment env;
        mwtest::logIn();
        const QString file =
            mwtest::makeFile(env, QStringLiteral("vault.lwd"), mwtest::accounts({"Alpha", "Beta", "Gamma"}));
        const auto window = mwtest::loadedWindow(file);
        window->recordset()->setSort(QStringLiteral("Account DESC"));
        window->recordset()->moveToRow(1);
        const auto current = [&] { return window->boxText("txtAccount"); };
        QCOMPARE(current(), QStringLiteral("Beta"));

        anotherWriterAdds(file, QStringLiteral("Delta"));
        QTRY_COMPARE(window->recordset()->recordCount(), 4);
        QCOMPARE(window->statusPanel(1), QStringLiteral("4 Accounts stored."));
        QCOMPARE(current(), QStringLiteral("Beta"));
        QCOMPARE(window->recordset()->sort(), QStringLiteral("Account DESC"));

        // The window's own write is no change.
        const std::shared_ptr<Recordset> readIn = window->recordset();
        readIn->setValue(DataFileFormat::URL, QStringLiteral("https://beta.example/new"));
        readIn->update();
        QTest::qWait(700);
        QCOMPARE(window->recordset(), readIn);

        // A pending edit holds a change back until it is written.
        mwtest::typeInto(mwtest::child<QLineEdit>(window.get(), "txtID"), QStringLiteral("bob"));
        anotherWriterAdds(file, QStringLiteral("Epsilon"));
        QTest::qWait(700);
        QCOMPARE(window->recordset()->recordCount(), 4);
        window->recordset()->update();
        QTRY_COMPARE(window->recordset()->recordCount(), 5);
        QCOMPARE(current(), QStringLiteral("Beta"));

        // A sync tool puts another copy in the file's place: read from there on, and watched there.
        const QString copy = env.path(QStringLiteral("synced.lwd"));
        Compactor::compactDatabase(ConnectionText::forCompactSource(file, SecretText(mwtest::dataFilePassword())),
                                   ConnectionText::forCompactTarget(copy, SecretText(mwtest::dataFilePassword())));
        anotherWriterAdds(copy, QStringLiteral("Zeta"));
        QCOMPARE(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(file).constData()), 0);
        QTRY_COMPARE(window->recordset()->recordCount(), 6);
        QCOMPARE(current(), QStringLiteral("Beta"));
        anotherWriterAdds(file, QStringLiteral("Eta"));
        QTRY_COMPARE(window->recordset()->recordCount(), 7);
    }
};

QTEST_MAIN(TestFrmMainReread)
#include "test_frmMain_reread.moc"
