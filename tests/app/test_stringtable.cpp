// The string table: exact texts, and which ids exist.
#include "app/StringTable.h"

#include <QtTest>

namespace {

QString text(int id)
{
    return LoadResString(id);
}

} // namespace

class TestStringTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactTexts()
    {
        QCOMPARE(text(1000), QStringLiteral("&File"));
        QCOMPARE(text(1006), QStringLiteral("Propert&ies"));
        QCOMPARE(text(1021), QStringLiteral("&Search For Help On..."));
        QCOMPARE(text(1022), QStringLiteral("&About ")); // with its trailing blank
        QCOMPARE(text(1046), QStringLiteral("P/Word:"));
        QCOMPARE(text(1060), QStringLiteral("Warning: ..."));
        QCOMPARE(text(1082), QStringLiteral("Information"));
        QCOMPARE(text(kTitleBannerId), QStringLiteral("Lockwell Password Vault"));
        for (int id = 999; id <= 1083; ++id) {
            bool ok = false;
            LoadResString(id, &ok);
            QVERIFY2(ok == (id >= 1000 && id <= 1082 && id != 1073), qPrintable(QString::number(id)));
        }
    }
};

QTEST_MAIN(TestStringTable)
#include "test_stringtable.moc"
