// LoadResStrings: puts the texts of the string table into a window, in place of the ids it carries.
#include "app/StringTable.h"
#include "app/TextForms.h"
#include "errortrap/Bulwark.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <limits>

namespace {

const char* const kTagProperty = "tag";

QString tagOf(const QObject* object)
{
    return object->property(kTagProperty).toString();
}

// The text of the id a number names; false when the number is not a 16-bit id of the table.
bool textOfNumber(double number, QString* text)
{
    const double id = TextForms::roundHalfEven(number);
    if (!std::isfinite(id) || id < std::numeric_limits<qint16>::min() || id > std::numeric_limits<qint16>::max())
        return false;
    bool ok = false;
    *text = LoadResString(static_cast<int>(id), &ok);
    return ok;
}

// A text that must be an id as a whole (blanks around it aside): "1044" names 1044, "", "-" and
// "1044x" name nothing.
bool textOfWholeId(const QString& holder, QString* text)
{
    double number = 0.0;
    return TextForms::parseNumber(holder, &number) && textOfNumber(number, text);
}

// A text read for the number it starts with: it names an id only when that number is at least
// `minimum` ("12abc" reads 12, "abc" reads 0).
bool textOfLeadingId(const QString& holder, double minimum, QString* text)
{
    const double number = TextForms::leadingNumber(holder);
    return number >= minimum && textOfNumber(number, text);
}

class WindowStrings
{
public:
    void applyToWindow(QWidget* window)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToWindow");
        QString text;
        if (textOfWholeId(tagOf(window), &text))
            window->setWindowTitle(text);
        applyToChildren(window);
    }

private:
    QSet<QAction*> m_menuItemsDone;
    QSet<QAction*> m_toolButtonsDone;

    void applyToChildren(QWidget* parent)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToChildren");
        const QObjectList children = parent->children();
        for (QObject* child : children) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget)
                continue; // actions are reached through the menus and tool bars that show them
            auto* menu = qobject_cast<QMenu*>(widget);
            if (!menu && widget->isWindow())
                continue; // another window's controls are its own
            if (!applyToControl(widget))
                continue;
            applyToChildren(widget);
        }
    }

    // Applies the rule of the control's kind; false when its children are not controls of the window.
    bool applyToControl(QWidget* widget)
    {
        BW_TRACE("LoadResStrings.cpp", "Function applyToControl");
        if (auto* menuBar = qobject_cast<QMenuBar*>(widget)) {
            applyToMenuItems(menuBar->actions());
        } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
            applyToMenuItems(menu->actions());
        } else if (auto* toolBar = qobject_cast<QToolBar*>(widget)) {
            applyToToolBar(toolBar);
        } else if (auto* button = qobject_cast<QToolButton*>(widget); button && button->defaultAction()) {
            return false; // a tool bar's button shows its action, which the tool bar handles
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            applyToTabWidget(tabs);
        } else if (auto* tabBar = qobject_cast<QTabBar*>(widget)) {
            if (!qobject_cast<QTabWidget*>(tabBar->parentWidget()))
                applyToTabBar(tabBar);
        } else if (qobject_cast<QTreeView*>(widget) || qobject_cast<QTableView*>(widget)) {
            applyToHeaders(static_cast<QAbstractItemView*>(widget));
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            QString text;
            if (textOfWholeId(tagOf(label), &text))
                label->setText(text);
        } else {
            applyToOtherControl(widget);
        }
        return true;
    }

    void applyToMenuItems(const QList<QAction*>& actions)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToMenuItems");
        for (QAction* action : actions) {
            if (m_menuItemsDone.contains(action))
                continue;
            m_menuItemsDone.insert(action);
            QString text;
            if (!action->isSeparator() && textOfWholeId(action->text(), &text))
                action->setText(text);
        }
    }

    void applyToToolBar(QToolBar* toolBar)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToToolBar");
        const QList<QAction*> actions = toolBar->actions();
        for (QAction* action : actions) {
            if (m_toolButtonsDone.contains(action))
                continue;
            m_toolButtonsDone.insert(action);
            QString text;
            if (!action->isSeparator() && textOfWholeId(action->toolTip(), &text))
                action->setToolTip(text);
        }
    }

    void applyToTabWidget(QTabWidget* tabs)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToTabWidget");
        for (int i = 0; i < tabs->count(); ++i) {
            QString tag = tabs->widget(i) ? tagOf(tabs->widget(i)) : QString();
            if (tag.isEmpty())
                tag = tabs->tabBar()->tabData(i).toString();
            QString text;
            if (textOfWholeId(tag, &text))
                tabs->setTabText(i, text);
            if (textOfWholeId(tabs->tabToolTip(i), &text))
                tabs->setTabToolTip(i, text);
        }
    }

    void applyToTabBar(QTabBar* tabBar)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToTabBar");
        for (int i = 0; i < tabBar->count(); ++i) {
            QString text;
            if (textOfWholeId(tabBar->tabData(i).toString(), &text))
                tabBar->setTabText(i, text);
            if (textOfWholeId(tabBar->tabToolTip(i), &text))
                tabBar->setTabToolTip(i, text);
        }
    }

    void applyToHeaders(QAbstractItemView* view)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToHeaders");
        QAbstractItemModel* model = view->model();
        if (!model)
            return;
        for (int column = 0; column < model->columnCount(); ++column) {
            QString text;
            if (textOfWholeId(model->headerData(column, Qt::Horizontal, Qt::UserRole).toString(), &text))
                model->setHeaderData(column, Qt::Horizontal, text, Qt::DisplayRole);
        }
    }

    // Any other control: the tag names the caption when it starts with a number above 0, the tooltip
    // names the tooltip when it starts with a number of at least 1.
    void applyToOtherControl(QWidget* widget)
    {
        BW_TRACE("LoadResStrings.cpp", "Sub applyToOtherControl");
        QString text;
        if (textOfLeadingId(tagOf(widget), std::numeric_limits<double>::min(), &text)) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                button->setText(text);
            else if (auto* group = qobject_cast<QGroupBox*>(widget))
                group->setTitle(text);
            // Other controls (edit boxes, pictures, frames) have no caption: the step is skipped.
        }
        if (textOfLeadingId(widget->toolTip(), 1.0, &text))
            widget->setToolTip(text);
    }
};

} // namespace

void LoadResStrings(QWidget* window)
{
    BW_TRACE("LoadResStrings.cpp", "Sub LoadResStrings");
    if (!window)
        return;
    WindowStrings().applyToWindow(window);
}
