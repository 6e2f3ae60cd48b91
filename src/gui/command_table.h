#pragma once

#include <QKeySequence>
#include <QList>
#include <QPoint>
#include <QString>
#include <optional>
#include <span>

#include "command_icons.h"
#include "model/tool.h"

namespace kelno {

// What the enabled and checked states of the commands follow: the document's state and
// the window's.
struct CommandState {
    bool canUndo = false;
    bool canRedo = false;
    bool canCut = false;
    bool canCopy = false;
    bool canPaste = false;
    Tool tool = Tool::Selection;
    bool showGrid = false;
    bool predictMode = false;
    bool readingsHidden = false;
    bool showPotentials = false;
    bool markUnjoinedEnds = false;
    bool warnLargeCurrent = false;
};

using CommandRule = bool (*)(const CommandState&);

// One command of the window: everything its menu item, tool-bar button, context-menu item
// and keys are made from.
struct Command {
    int id = 0;                  // see command_ids.h
    const char* menuText = "";   // with its mnemonic; empty for a command without a menu item
    const char* prompt = "";     // the status bar's prompt
    const char* tip = "";        // the tool tip
    QList<QKeySequence> keys{};  // every key bound to it; the menu shows the first
    Icon icon = Icon::None;      // its tool-bar picture
    bool checkable = false;
    CommandRule enabled = nullptr;      // none: enabled, or left to the window
    CommandRule checked = nullptr;      // none: the command keeps its own check mark
    const char* contextText = nullptr;  // its item in the view's context menu, if any
};

// Every command, grouped by the menu that shows it.
std::span<const Command> Commands();
// The row of a command; none for a number without one.
const Command* FindCommand(int id);
// What the command's menu item says: its text and, after a tab, its first key.
QString MenuTextOf(const Command& command);

// One popup of the main menu: its title and its items in order, 0 for a separator.
struct MenuPopup {
    const char* title;
    std::span<const int> items;
};

// The main menu, popup by popup.
std::span<const MenuPopup> MainMenu();

// The tool bar's buttons in order, 0 for a separator.
std::span<const int> ToolBarButtons();

// The view's context menu in order, 0 for a separator.
std::span<const int> ContextMenu();

// One editing tool: the command that chooses it and its mouse cursor. Its icon is its
// command's.
struct ToolRow {
    Tool tool;
    int command;
    std::optional<QPoint> cursorHotSpot;  // none: the standard arrow
};

// One row per tool, in the order of the "作成" menu.
std::span<const ToolRow> ToolTable();
// The row of a tool.
const ToolRow& RowOfTool(Tool tool);
// The tool a command chooses, if it is a tool command.
std::optional<Tool> ToolOfCommand(int command);

}  // namespace kelno
