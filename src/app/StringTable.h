#pragma once
// The string table of window texts, and LoadResStrings, which puts them into a window.
//
// A window carries string ids instead of its fixed texts: in its "tag" property (the title), in a
// label's "tag" (its caption), in a menu item's text, in another control's "tag" (its caption) and
// tooltip, in a tool bar action's tooltip, in a tab's tag and tooltip and in a list view header's tag.
// Tab tags sit in the tab page's "tag" property (QTabWidget) or in the tab's data (QTabBar); a list
// view header's tag sits in the header data under Qt::UserRole.
#include <QString>

class QWidget;

// The id of the main window's title banner; a running instance is found by this exact title.
constexpr int kTitleBannerId = 1100;

// The text of a string id. A missing id gives an empty text and *ok false.
QString LoadResString(int id, bool* ok = nullptr);

// Replaces the ids a window carries by their texts. A step that fails (no number where one belongs,
// an id missing from the table, a control without a caption) is skipped and the window keeps its
// designed text for that step.
void LoadResStrings(QWidget* window);
