#include "command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kelno {
namespace {

bool Contains(std::span<const int> ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// A tool added without its row would have no command, no icon and no cursor.
TEST(CommandTable, EveryToolHasOneRowWithACheckableCommandThatShowsIt) {
    for (const Tool tool : kAllTools) {
        const auto rows = std::count_if(ToolTable().begin(), ToolTable().end(),
                                        [tool](const ToolRow& row) { return row.tool == tool; });
        ASSERT_EQ(rows, 1) << ToolCode(tool);
        const ToolRow& row = RowOfTool(tool);
        EXPECT_EQ(ToolOfCommand(row.command), tool) << ToolCode(tool);
        const Command* command = FindCommand(row.command);
        ASSERT_NE(command, nullptr) << ToolCode(tool);
        EXPECT_TRUE(command->checkable) << ToolCode(tool);
        EXPECT_NE(command->icon, Icon::None) << ToolCode(tool);
        EXPECT_NE(command->contextText, nullptr) << ToolCode(tool);
        EXPECT_TRUE(Contains(ToolBarButtons(), row.command)) << ToolCode(tool);
        EXPECT_EQ(row.cursorHotSpot.has_value(), tool != Tool::Selection) << ToolCode(tool);
        // The check mark goes with the tool and with no other.
        ASSERT_NE(command->checked, nullptr) << ToolCode(tool);
        for (const Tool current : kAllTools) {
            CommandState state;
            state.tool = current;
            EXPECT_EQ(command->checked(state), current == tool)
                << ToolCode(tool) << " " << ToolCode(current);
        }
    }
}

// What the menus, the tool bar and the context menu show has a row, and no key runs two
// commands.
TEST(CommandTable, EverythingShownHasARowAndEveryKeyOneCommand) {
    std::set<int> shown;
    for (const MenuPopup& popup : MainMenu()) {
        shown.insert(popup.items.begin(), popup.items.end());
    }
    for (const int id : ToolBarButtons()) {
        shown.insert(id);
        EXPECT_TRUE(id == 0 || FindCommand(id)->icon != Icon::None) << id;
    }
    for (const int id : ContextMenu()) {
        shown.insert(id);
        EXPECT_TRUE(id == 0 || FindCommand(id)->contextText != nullptr) << id;
    }
    shown.erase(0);
    for (const int id : shown) {
        EXPECT_NE(FindCommand(id), nullptr) << id;
    }
    std::set<QString> keys;
    for (const Command& command : Commands()) {
        for (const QKeySequence& key : command.keys) {
            EXPECT_TRUE(keys.insert(key.toString()).second) << key.toString().toStdString();
        }
    }
}

}  // namespace
}  // namespace kelno
