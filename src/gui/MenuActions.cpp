#include "gui/MenuActions.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <filesystem>
#include <map>
#include <optional>

#include "app/ControlIds.h"
#include "chapters/ChapterTitle.h"
#include "gui/CleanDialog.h"
#include "gui/EpubSettings.h"
#include "gui/GuiMessages.h"
#include "gui/MainWindow.h"
#include "gui/PatternDialog.h"
#include "gui/RecentBooks.h"

namespace brisna {
namespace {

using Kind = MenuRow::Kind;
constexpr bool kAlsoBackground = true;

// Presses the button (or runs the background menu's command) with this id.
std::function<void(MainWindow&)> Button(int controlId) {
    return [controlId](MainWindow& window) { window.RunCommand(controlId); };
}

// Runs a dialog command that has no button of its own.
std::function<void(MainWindow&)> DialogCommand(void (CBrisnaMakeDlg::*command)()) {
    return [command](MainWindow& window) {
        window.RunDialogCommand(0, [&window, command] { (window.Dialog().*command)(); });
    };
}

// A long dialog command without a button: it runs on a worker while the window says `busy`.
std::function<void(MainWindow&)> LongDialogCommand(void (CBrisnaMakeDlg::*command)(),
                                                   const char* busy) {
    return [command, busy](MainWindow& window) {
        window.RunDialogCommand(
            0, [&window, command] { (window.Dialog().*command)(); }, QString::fromUtf8(busy));
    };
}

// 整理文本: the previews of a large book are worked out and 确定's changes applied on a worker.
void CleanUpText(MainWindow& window) {
    if (window.RefuseWhileBusy()) return;
    const QString busy = QString::fromUtf8(gui::messages::kCleaningText);
    ShowCleanDialog(
        window.Dialog(), &window,
        [&window, busy](const std::function<void()>& work) { window.Work().Run(busy, work); },
        [&window, busy](const std::function<void()>& apply) {
            window.RunDialogCommand(0, apply, busy);
        });
}

// 按规则识别章节: the operator's rule, asked over the book's text, marks the chapters.
void AskRuleAndMark(MainWindow& window) {
    if (window.RefuseWhileBusy()) return;
    if (auto rule = AskChapterRule(ReadBookText(window.Dialog().bookText.View()), &window)) {
        window.RunDialogCommand(
            0, [&window, rule] { window.Dialog().OnRuleChapters(*rule); },
            QString::fromUtf8(gui::messages::kDetectingChapters));
    }
}

// 生成EPUB with the look and cover of the settings as they are now.
void GenerateEpub(MainWindow& window) {
    if (window.RefuseWhileBusy()) return;
    window.Dialog().epubChoices = SavedEpubChoices();
    window.RunCommand(kGenerateEpubCommand);
}

MenuRow Separator(MenuPlace menu) {
    return {menu, QString(), nullptr, {}, false, Kind::kSeparator};
}

QKeySequence Ctrl(int key) {
    return QKeySequence(Qt::CTRL | key);
}

// The menus, one row per item: menu, text, what it runs, shortcuts, whether the background menu
// shows it too. Kept one row a line so that a new command is one line here.
std::vector<MenuRow> BuildRows() {
    using enum MenuPlace;
    const auto rename = [](MainWindow& w) { w.RenameChapter(w.ChapterList().GetCaretIndex()); };
    const auto redoKeys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), Ctrl(Qt::Key_Y)};
    // clang-format off
    return {
        {kFile, gui::captions::kMenuOpenText, Button(kOpenTextButton), {QKeySequence::Open}},
        {kFile, gui::captions::kMenuOpenQbr2, Button(kOpenQbr2Button)},
        {kFile, gui::captions::kMenuOpenQbr, Button(kOpenQbrButton)},
        {kFile, gui::captions::kMenuOpenEpub, Button(kOpenEpubCommand), {}, kAlsoBackground},
        {kFile, gui::captions::kMenuReopen, nullptr, {}, kAlsoBackground, Kind::kReopen},
        {kFile, gui::captions::kMenuRecent, nullptr, {}, false, Kind::kRecent},
        Separator(kFile),
        {kFile, gui::captions::kMenuSettings, [](MainWindow& w) { w.ShowSettings(); }, {Ctrl(Qt::Key_Comma)}},
        Separator(kFile),
        {kFile, gui::captions::kMenuQuit, [](MainWindow& w) { w.window()->close(); }, {QKeySequence::Quit}},

        {kChapters, gui::captions::kMenuAddChapter, Button(kAddChapterButton)},
        {kChapters, gui::captions::kMenuIncrementalAdd, Button(kIncrementalAddButton)},
        {kChapters, gui::captions::kMenuKeywordAdd, Button(kKeywordAddButton)},
        {kChapters, gui::captions::kMenuAutoDetect, LongDialogCommand(&CBrisnaMakeDlg::OnAutoDetectChapters, gui::messages::kDetectingChapters), {Ctrl(Qt::Key_R)}, kAlsoBackground},
        {kChapters, gui::captions::kMenuRuleDetect, AskRuleAndMark, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, kAlsoBackground},
        {kChapters, gui::captions::kLineStartOnly, nullptr, {}, kAlsoBackground, Kind::kLineStart},
        Separator(kChapters),
        {kChapters, gui::captions::kMenuMoveUp, Button(kMoveUpButton)},
        {kChapters, gui::captions::kMenuMoveDown, Button(kMoveDownButton)},
        // Delete belongs to the chapter list (in the text it deletes text); the hint says so.
        {kChapters, gui::captions::kMenuDelete, Button(kDeleteButton)},
        {kChapters, gui::captions::kDeleteAll, Button(kDeleteAllButton)},
        Separator(kChapters),
        {kChapters, gui::captions::kMenuRename, rename, {QKeySequence(Qt::Key_F2)}},
        {kChapters, gui::captions::kMenuSort, DialogCommand(&CBrisnaMakeDlg::OnSortChapters)},
        Separator(kChapters),
        {kChapters, gui::captions::kMenuUndo, [](MainWindow& w) { w.Undo(); }, {QKeySequence::Undo}},
        {kChapters, gui::captions::kMenuRedo, [](MainWindow& w) { w.Redo(); }, redoKeys},

        {kCheck, gui::captions::kMenuTest, Button(kTestButton)},
        {kCheck, gui::captions::kMenuCheckMissing, Button(kCheckMissingButton)},
        Separator(kCheck),
        {kCheck, gui::captions::kMenuFind, [](MainWindow& w) { w.FocusSearchField(); }, {QKeySequence::Find}},
        {kCheck, gui::captions::kMenuSearch, Button(kSearchButton), {QKeySequence(Qt::Key_F3)}},
        Separator(kCheck),
        {kCheck, gui::captions::kMenuConvert, Button(kConvertButton)},
        {kCheck, gui::captions::kMenuCleanUp, CleanUpText, {Ctrl(Qt::Key_L)}, kAlsoBackground},

        {kGenerate, gui::captions::kMenuGenerate, Button(kGenerateButton)},
        {kGenerate, gui::captions::kMenuGenerateParts, LongDialogCommand(&CBrisnaMakeDlg::OnGenerateParts, gui::messages::kGeneratingParts), {Ctrl(Qt::Key_P)}, kAlsoBackground},
        {kGenerate, gui::captions::kMenuGenerateEpub, GenerateEpub, {Ctrl(Qt::Key_E)}, kAlsoBackground},
        {kGenerate, gui::captions::kMenuEpubSettings, [](MainWindow& w) { w.ShowSettings(QString::fromUtf8(gui::captions::kEpubPage)); }},

        {kHelp, gui::captions::kMenuManual, [](MainWindow& w) { w.ShowManual(); }, {QKeySequence::HelpContents}},
        {kHelp, gui::captions::kMenuAbout, [](MainWindow& w) { w.ShowAbout(); }, {}, kAlsoBackground},
    };
    // clang-format on
}

const QString& MenuTitle(MenuPlace place) {
    static const QString titles[] = {
        QString::fromUtf8(gui::captions::kMenuFile),
        QString::fromUtf8(gui::captions::kMenuChapters),
        QString::fromUtf8(gui::captions::kMenuCheck),
        QString::fromUtf8(gui::captions::kMenuGenerateTitle),
        QString::fromUtf8(gui::captions::kMenuHelp),
    };
    return titles[static_cast<int>(place)];
}

// Moves the items of a freshly built menu into `holder`, which stays the same QMenu object.
void RefillFrom(QMenu* holder, const std::function<void(QMenu*)>& fill) {
    holder->clear();
    qDeleteAll(holder->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    fill(holder);
}

}  // namespace

const std::vector<MenuRow>& MenuRows() {
    static const std::vector<MenuRow> rows = BuildRows();
    return rows;
}

BuiltMenus BuildMenus(MainWindow& window) {
    BuiltMenus built;
    std::map<MenuPlace, QMenu*> menus;
    std::optional<MenuPlace> lastBackgroundGroup;
    for (const MenuRow& row : MenuRows()) {
        QMenu*& menu = menus[row.menu];
        if (menu == nullptr) {
            menu = new QMenu(MenuTitle(row.menu), &window);
            built.menus.append(menu);
        }
        QAction* action = nullptr;
        switch (row.kind) {
            case Kind::kSeparator:
                menu->addSeparator();
                continue;
            case Kind::kLineStart:
                action = window.LineStartAction();
                menu->addAction(action);
                break;
            case Kind::kReopen: {
                QMenu* reopen = menu->addMenu(row.text);
                QObject::connect(menu, &QMenu::aboutToShow, reopen, [&window, reopen] {
                    RefillFrom(reopen, [&window](QMenu* into) { AddReopenItems(window, into); });
                    reopen->setEnabled(window.CanReopenText());
                });
                break;
            }
            case Kind::kRecent: {
                QMenu* recent = menu->addMenu(row.text);
                QObject::connect(menu, &QMenu::aboutToShow, recent, [&window, recent] {
                    RefillFrom(recent, [&window](QMenu* into) { AddRecentBooks(window, into); });
                    recent->setEnabled(!recent->isEmpty());
                });
                break;
            }
            case Kind::kCommand: {
                action = menu->addAction(row.text);
                action->setShortcuts(row.keys);
                action->setShortcutVisibleInContextMenu(true);
                QObject::connect(action, &QAction::triggered, &window,
                                 [&window, run = row.run] { run(window); });
                window.addAction(action);
                break;
            }
        }
        if (!row.background) continue;
        if (lastBackgroundGroup && *lastBackgroundGroup != row.menu) {
            built.background.append({nullptr, nullptr});
        }
        lastBackgroundGroup = row.menu;
        built.background.append({&row, action});
    }
    return built;
}

void FillBackgroundMenu(MainWindow& window, QMenu* menu,
                        const QList<BuiltMenus::BackgroundItem>& items) {
    RefillFrom(menu, [&](QMenu* into) {
        AddRecentBooks(window, into);
        if (!into->isEmpty()) into->addSeparator();
        for (const auto& [row, action] : items) {
            if (row == nullptr) {
                into->addSeparator();
            } else if (action != nullptr) {
                into->addAction(action);
            } else if (row->kind == Kind::kReopen) {
                // A submenu of its own: the bar's one is rebuilt only when its menu opens.
                QMenu* reopen = into->addMenu(row->text);
                AddReopenItems(window, reopen);
                reopen->setEnabled(window.CanReopenText());
            }
        }
    });
}

void AddRecentBooks(MainWindow& window, QMenu* menu) {
    const QList<QByteArray> books = window.Recent().Paths();
    for (qsizetype i = 0; i < books.size(); ++i) {
        const QByteArray path = books.at(i);
        QString shown = RecentBooks::Shown(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const RecentBookState state = RecentBooks::StateOf(path);
        const bool exists = state == RecentBookState::kReadable;
        shown += RecentBooks::StateNote(state);
        QAction* open = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        open->setData(path);
        open->setEnabled(exists);
        QObject::connect(open, &QAction::triggered, &window,
                         [&window, path] { window.OpenRecentBook(path); });
    }
}

void AddReopenItems(MainWindow& window, QMenu* menu) {
    const std::pair<QString, TextEncoding> encodings[] = {
        {QString::fromUtf8(gui::captions::kEncodingAuto), TextEncoding::kAuto},
        {QString::fromUtf8(gui::captions::kEncodingGbk), TextEncoding::kGbk},
        {QStringLiteral("UTF-8"), TextEncoding::kUtf8},
        {QStringLiteral("UTF-16LE"), TextEncoding::kUtf16Le},
        {QStringLiteral("UTF-16BE"), TextEncoding::kUtf16Be},
        {QString::fromUtf8(gui::captions::kEncodingBig5), TextEncoding::kBig5},
    };
    for (const auto& [label, encoding] : encodings) {
        QObject::connect(menu->addAction(label), &QAction::triggered, &window,
                         [&window, encoding] { window.ReopenTextAs(encoding); });
    }
}

QString PlainMenuLabel(QString label) {
    label = label.section(QLatin1Char('\t'), 0, 0);
    const qsizetype mnemonic = label.indexOf(QStringLiteral("(&"));
    if (mnemonic >= 0) label.remove(mnemonic, 4);
    label.remove(QLatin1Char('&'));
    if (label.endsWith(QStringLiteral("..."))) label.chop(3);
    return label;
}

QAction* FindFirstLevelAction(const QMenu* menu, const QString& plain) {
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && PlainMenuLabel(action->text()) == plain) return action;
    }
    return nullptr;
}

QAction* FindMenuAction(const QList<QMenu*>& menus, const QString& plain) {
    std::function<QAction*(const QMenu*)> find = [&](const QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                if (QAction* inner = find(action->menu())) return inner;
            }
            if (!action->isSeparator() && PlainMenuLabel(action->text()) == plain) return action;
        }
        return nullptr;
    };
    for (const QMenu* menu : menus) {
        if (QAction* action = find(menu)) return action;
    }
    return nullptr;
}

}  // namespace brisna
