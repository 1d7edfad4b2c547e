// The clipboard: secrets carry the clipboard managers' marks and plain text does not, clearing empties it.
// Taking a copy back is proved on a real X server, in test_frmMain_clipboard.
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
        for (const ClipboardHint& hint : kSecretHints) {
            if (!data || data->data(QString::fromLatin1(hint.format)) != hint.value)
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void onlySecretsCarryTheHintsAndClearingEmpties()
    {
        setClipboardSecret(SecretText(u"p@ss wörd\t"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("p@ss wörd\t"));
        QVERIFY(hinted());
        setClipboardText(QStringLiteral("https://example.org/")); // the hints must not linger
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://example.org/"));
        QVERIFY(!hinted());

        setClipboardSecret(SecretText(u"hunter2"));
        clearClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QVERIFY(!hinted());
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
