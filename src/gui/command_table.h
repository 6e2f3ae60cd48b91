#pragma once

#include <optional>
#include <span>

namespace kelno {

// The texts of one command: its menu item (mnemonic and, after a tab, the shortcut text),
// its status-bar prompt and its tool tip.
struct CommandText {
    int id = 0;
    const char* menuText = "";
    const char* prompt = "";
    const char* tip = "";
};

// One popup of the main menu: its title and its items in order, 0 for a separator.
struct MenuPopup {
    const char* title;
    std::span<const int> items;
};

// The texts of a command; a command without texts gets empty ones.
const CommandText& TextOf(int command);

// The main menu, popup by popup.
std::span<const MenuPopup> MainMenu();

// The tool bar's buttons in order, 0 for a separator.
std::span<const int> ToolBarButtons();

// The tool a tool command chooses, and the command of a tool.
std::optional<int> ToolOfCommand(int command);
int CommandOfTool(int tool);
// Every tool command, in the order of the "作成" menu.
std::span<const int> ToolCommands();

// An item of the view's context menu: its command and its text there, 0 for a separator.
struct ContextMenuItem {
    int id;
    const char* text;
};
std::span<const ContextMenuItem> ContextMenu();

}  // namespace kelno
