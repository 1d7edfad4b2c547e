// The clipboard: secrets carry the password-manager hint, plain text does not, clearing empties it.
#include "desktop/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

class TestClipboard : public QObject
{
    Q_OBJECT

    static bool hinted()
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data && data->data(QString::fromLatin1(kPasswordManagerHint)) == "secret";
    }

private Q_SLOTS:
    void onlySecretsCarryTheHintAndClearingEmpties()
    {
        setClipboardText(QStringLiteral("p@ss wörd\t"), true);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("p@ss wörd\t"));
        QVERIFY(hinted());
        setClipboardText(QStringLiteral("https://example.org/"), false); // the hint must not linger
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://example.org/"));
        QVERIFY(!hinted());

        setClipboardText(QStringLiteral("hunter2"), true);
        clearClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QVERIFY(!hinted());
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
