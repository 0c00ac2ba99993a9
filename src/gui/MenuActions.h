#pragma once
// The window's menus and keyboard shortcuts as one table (MenuActions.cpp): a row per item, in
// menu order. A new command in the menus, with its shortcut and its place on the background
// menu, is one row of that table.

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace brisna {

class MainWindow;

// The menus of the menu bar, in the order they stand there.
enum class MenuPlace { kFile, kChapters, kCheck, kGenerate, kHelp };

struct MenuRow {
    enum class Kind {
        kCommand,    // runs `run`
        kSeparator,  // a line between groups
        kLineStart,  // the window's one 仅匹配行首 toggle
        kReopen,     // 按编码重新打开: a submenu of encodings, rebuilt each time it opens
        kRecent,     // 最近打开的图书: a submenu, rebuilt each time it opens
    };
    MenuPlace menu;
    QString text;  // with its mnemonic; "..." when the item asks something first
    std::function<void(MainWindow&)> run;
    QList<QKeySequence> keys = {};
    bool background = false;  // also on the first level of the background menu
    Kind kind = Kind::kCommand;
};

// Every item of the menus, in order.
const std::vector<MenuRow>& MenuRows();

// The menus built from the table, and what also goes on the background menu: the row with its
// action (no row: a separator between groups; no action: a submenu built on each showing).
struct BuiltMenus {
    struct BackgroundItem {
        const MenuRow* row;
        QAction* action;
    };
    QList<QMenu*> menus;
    QList<BackgroundItem> background;
};
// Builds the menu bar's menus for the window. Every action is added to the window as well, so
// its shortcut works wherever the window is shown, with or without a menu bar.
BuiltMenus BuildMenus(MainWindow& window);

// Fills the background menu: the recent books first, then the background items of the table.
void FillBackgroundMenu(MainWindow& window, QMenu* menu,
                        const QList<BuiltMenus::BackgroundItem>& items);
// The recent books as items of `menu`, newest first; a vanished book is shown disabled.
void AddRecentBooks(MainWindow& window, QMenu* menu);
// The encodings the current text book can be opened again as.
void AddReopenItems(MainWindow& window, QMenu* menu);

// The item's label as a person reads it: no mnemonic, no shortcut hint, no trailing "...".
QString PlainMenuLabel(QString label);
// The item of these menus (submenus included) whose plain label is `plain`.
QAction* FindMenuAction(const QList<QMenu*>& menus, const QString& plain);
// The item of one menu's first level whose plain label is `plain`.
QAction* FindFirstLevelAction(const QMenu* menu, const QString& plain);

}  // namespace brisna
