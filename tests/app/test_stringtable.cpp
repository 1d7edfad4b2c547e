// The string table and LoadResStrings: exact texts, and which ids a window takes and which it keeps.
#include "app/StringTable.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {

template <class W> W* addControl(QWidget* parent, const QString& tag, const QString& toolTip = QString())
{
    auto* widget = new W(parent);
    widget->setProperty("tag", tag);
    widget->setToolTip(toolTip);
    parent->layout()->addWidget(widget);
    return widget;
}

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

    void menusToolBarAndTitle()
    {
        QMainWindow window;
        window.setProperty("tag", QString::number(kTitleBannerId));
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("1000"));
        QAction* exit = file->addAction(QStringLiteral("1010"));
        QAction* plain = file->addAction(QStringLiteral("Plain text"));
        QAction* missing = file->addAction(QStringLiteral("1073"));
        QAction* dash = file->addAction(QStringLiteral("-"));
        file->addSeparator();
        QMenu* sub = file->addMenu(QStringLiteral("1015"));
        QAction* options = sub->addAction(QStringLiteral("1018"));
        QAction* popupItem = (new QMenu(&window))->addAction(QStringLiteral("1013"));
        QToolBar* bar = window.addToolBar(QStringLiteral("bar"));
        QAction* open = bar->addAction(QStringLiteral("Open button"));
        open->setToolTip(QStringLiteral("1024"));
        QAction* cut = bar->addAction(QStringLiteral("Cut button"));
        cut->setToolTip(QStringLiteral("Cut it"));

        LoadResStrings(&window);
        QCOMPARE(window.windowTitle(), QStringLiteral("Lockwell Password Vault"));
        QCOMPARE(file->title(), QStringLiteral("&File"));
        QCOMPARE(exit->text(), QStringLiteral("E&xit"));
        QCOMPARE(plain->text(), QStringLiteral("Plain text"));
        QCOMPARE(missing->text(), QStringLiteral("1073"));
        QCOMPARE(dash->text(), QStringLiteral("-"));
        QCOMPARE(sub->title(), QStringLiteral("&View"));
        QCOMPARE(options->text(), QStringLiteral("&Options..."));
        QCOMPARE(popupItem->text(), QStringLiteral("&Copy"));
        QCOMPARE(open->toolTip(), QStringLiteral("Open"));
        QCOMPARE(open->text(), QStringLiteral("Open button"));
        QCOMPARE(cut->toolTip(), QStringLiteral("Cut it"));
    }

    void controlsByKind()
    {
        QDialog window;
        window.setWindowTitle(QStringLiteral("designed"));
        new QVBoxLayout(&window);
        auto* name = addControl<QLabel>(&window, QStringLiteral("1045"));
        auto* untagged = addControl<QLabel>(&window, QString());
        untagged->setText(QStringLiteral("kept"));
        auto* trailing = addControl<QLabel>(&window, QStringLiteral("1046x")); // a label's tag is a whole number
        trailing->setText(QStringLiteral("kept"));
        QPixmap pixmap(8, 8);
        pixmap.fill(Qt::red);
        auto* picture = addControl<QLabel>(&window, QString(), QStringLiteral("1078"));
        picture->setPixmap(pixmap);
        auto* plainPicture = addControl<QLabel>(&window, QString(), QStringLiteral("Keep me on top"));
        plainPicture->setPixmap(pixmap);
        auto* save = addControl<QPushButton>(&window, QStringLiteral("1054abc"), QStringLiteral("1081"));
        auto* cancel = addControl<QPushButton>(&window, QStringLiteral("abc"), QStringLiteral("0"));
        cancel->setText(QStringLiteral("designed"));
        auto* group = addControl<QGroupBox>(&window, QStringLiteral("1049"));
        auto* edit = addControl<QLineEdit>(&window, QStringLiteral("1044"), QStringLiteral("1082 info"));
        edit->setText(QStringLiteral("typed"));
        auto* tabs = addControl<QTabWidget>(&window, QString());
        auto* page = new QWidget;
        page->setLayout(new QVBoxLayout);
        page->setProperty("tag", QStringLiteral("1049"));
        auto* onPage = addControl<QLabel>(page, QStringLiteral("1045"));
        tabs->addTab(page, QStringLiteral("first"));
        tabs->setTabToolTip(0, QStringLiteral("1056"));
        tabs->addTab(new QWidget, QStringLiteral("second"));
        tabs->setTabToolTip(1, QStringLiteral("a tip"));
        auto* list = addControl<QTreeWidget>(&window, QString());
        list->setColumnCount(2);
        list->headerItem()->setData(0, Qt::UserRole, QStringLiteral("1071"));
        list->headerItem()->setText(1, QStringLiteral("col 1"));
        QDialog child(&window); // another window's controls are that window's own
        new QVBoxLayout(&child);
        auto* foreign = addControl<QLabel>(&child, QStringLiteral("1045"));

        LoadResStrings(&window);
        QCOMPARE(window.windowTitle(), QStringLiteral("designed"));
        QCOMPARE(name->text(), QStringLiteral("Name:"));
        QCOMPARE(untagged->text(), QStringLiteral("kept"));
        QCOMPARE(trailing->text(), QStringLiteral("kept"));
        QCOMPARE(picture->toolTip(), QStringLiteral("Keep Window on Top"));
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(plainPicture->toolTip(), QStringLiteral("Keep me on top"));
        QCOMPARE(save->text(), QStringLiteral("&Save")); // another control's tag only has to start with a number
        QCOMPARE(save->toolTip(), QStringLiteral("Help"));
        QCOMPARE(cancel->text(), QStringLiteral("designed"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("0"));
        QCOMPARE(group->title(), QStringLiteral("Options"));
        QCOMPARE(edit->text(), QStringLiteral("typed")); // an edit box has no caption
        QCOMPARE(edit->toolTip(), QStringLiteral("Information"));
        QCOMPARE(onPage->text(), QStringLiteral("Name:"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("Options"));
        QCOMPARE(tabs->tabToolTip(0), QStringLiteral("Use"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("second"));
        QCOMPARE(tabs->tabToolTip(1), QStringLiteral("a tip"));
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Add Account"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("col 1"));
        QCOMPARE(foreign->text(), QString());
    }
};

QTEST_MAIN(TestStringTable)
#include "test_stringtable.moc"
