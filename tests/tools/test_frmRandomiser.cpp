// The generator dialog: length label and limit, type and case, Accept's state, the answer handed back,
// reuse and unloading.
#include "tools/frmRandomiser.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
template <class T = QWidget> T* find(QObject* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}
QLineEdit* box(QObject* d)
{
    return find<QLineEdit>(d, "txtRandom");
}
QSlider* slider(QObject* d)
{
    return find<QSlider>(d, "sldNumChars");
}
void click(QObject* d, const char* name)
{
    find<QAbstractButton>(d, name)->click();
}
bool checked(QObject* d, const char* name)
{
    return find<QRadioButton>(d, name)->isChecked();
}
bool matches(const QString& text, const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
}

// Runs frmRandomiser::run over `owner`; `act` gets the modal dialog and must end it. A watchdog closes
// the dialog if it did not, so a failing test never hangs.
bool runWith(QWidget* owner, QString& password, const std::function<void(frmRandomiser*)>& act)
{
    QTimer::singleShot(0, owner, [act] {
        if (auto* dialog = qobject_cast<frmRandomiser*>(QApplication::activeModalWidget()))
            act(dialog);
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    watchdog.start(10000);
    return frmRandomiser::run(owner, password);
}
} // namespace

class TestFrmRandomiser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { frmRandomiser::unload(); }

    // The slider changes the label and how much can be typed, never the text already in the box.
    void sliderGenerateAndAccept()
    {
        frmRandomiser d;
        d.show();
        QCOMPARE(d.focusWidget(), box(&d));
        QVERIFY(checked(&d, "optType0") && checked(&d, "optCase0") && !find(&d, "cmdAccept")->isEnabled());
        slider(&d)->setValue(12);
        QCOMPARE(find<QLabel>(&d, "lblPWC")->text(), QStringLiteral(" 12: Characters"));
        QTest::keyClicks(box(&d), QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(box(&d)->text(), QStringLiteral("abcdefghijkl"));

        slider(&d)->setValue(4);
        QCOMPARE(box(&d)->text(), QStringLiteral("abcdefghijkl"));
        box(&d)->selectAll();
        QTest::keyClicks(box(&d), QStringLiteral("abcdefg"));
        QCOMPARE(box(&d)->text(), QStringLiteral("abcd"));

        // Generate fills the slider's length; Accept is enabled exactly while the box holds text.
        QWidget* accept = find(&d, "cmdAccept");
        QVERIFY(accept->isEnabled());
        box(&d)->clear();
        QVERIFY(!accept->isEnabled());
        for (int length : {4, 11, 16}) {
            slider(&d)->setValue(length);
            click(&d, "cmdGen");
            QCOMPARE(box(&d)->text().size(), length);
            QVERIFY(accept->isEnabled());
        }
    }

    // Numeric disables the case choices without changing them; the case then has no effect.
    void typeChoiceGovernsCase()
    {
        frmRandomiser d;
        slider(&d)->setValue(16);
        click(&d, "optCase1");
        click(&d, "optType2");
        QVERIFY(!find(&d, "frmCase")->isEnabled());
        QVERIFY(checked(&d, "optCase1"));
        click(&d, "cmdGen");
        QVERIFY2(matches(box(&d)->text(), "^[0-9]{16}$"), qPrintable(box(&d)->text()));

        click(&d, "optType1");
        for (const char* name : {"optCase0", "optCase1", "optCase2"})
            QVERIFY(find(&d, name)->isEnabled());
        click(&d, "cmdGen");
        QVERIFY2(matches(box(&d)->text(), "^[A-HJKMNP-Z]{16}$"), qPrintable(box(&d)->text()));
    }

    // Accept hands back whatever the box holds; the next use keeps length, type and case, with an empty
    // box; Escape, like Cancel, leaves the password alone.
    void runAcceptsAndReuses()
    {
        QWidget owner;
        owner.setGeometry(60, 40, 640, 480); // inside the offscreen screen, so nothing is clamped
        owner.show();
        QString generated;
        QPoint centre;
        QString password = QStringLiteral("old");
        QVERIFY(runWith(&owner, password, [&](frmRandomiser* d) {
            centre = d->frameGeometry().center();
            slider(d)->setValue(10);
            click(d, "optType1");
            click(d, "optCase2");
            click(d, "cmdGen");
            generated = box(d)->text();
            click(d, "cmdAccept");
        }));
        QCOMPARE(password, generated);
        QVERIFY((centre - owner.frameGeometry().center()).manhattanLength() < 40);

        bool kept = false;
        QVERIFY(runWith(&owner, password, [&](frmRandomiser* d) {
            kept = slider(d)->value() == 10 && checked(d, "optType1") && checked(d, "optCase2") &&
                   box(d)->text().isEmpty() && !find(d, "cmdAccept")->isEnabled();
            QTest::keyClicks(box(d), QStringLiteral("My own #1 pass"));
            click(d, "cmdAccept");
        }));
        QVERIFY(kept);
        QCOMPARE(password, QStringLiteral("My own #1 "));

        QVERIFY(!runWith(&owner, password, [](frmRandomiser* d) {
            click(d, "cmdGen");
            QTest::keyClick(d, Qt::Key_Escape);
        }));
        QCOMPARE(password, QStringLiteral("My own #1 "));
        QVERIFY(frmRandomiser::loaded());
    }

    // Closing by the frame counts as Cancel and unloads: the next use starts from the designer values.
    void runClosedByFrameStartsAfresh()
    {
        QWidget owner;
        owner.show();
        QString password = QStringLiteral("unchanged");
        QVERIFY(!runWith(&owner, password, [](frmRandomiser* d) {
            slider(d)->setValue(5);
            click(d, "optType2");
            click(d, "optCase1");
            click(d, "cmdGen");
            d->close();
        }));
        QCOMPARE(password, QStringLiteral("unchanged"));
        QVERIFY(!frmRandomiser::loaded());

        bool fresh = false;
        QVERIFY(!runWith(&owner, password, [&](frmRandomiser* d) {
            fresh = slider(d)->value() == 8 && checked(d, "optType0") && checked(d, "optCase0") &&
                    find(d, "optCase1")->isEnabled() && box(d)->text().isEmpty();
            click(d, "cmdCancel");
        }));
        QVERIFY(fresh);
    }
};

QTEST_MAIN(TestFrmRandomiser)
#include "test_frmRandomiser.moc"
