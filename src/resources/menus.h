// The layouts of the main menu, the pop-ups of the context menu and the tool bar, as ordered
// lists of command ids. What each command is (text, rule, handler, picture) is in its row.
#pragma once

#include <span>

#include "core/commands.h"

std::span<const MenuNode> MainMenu();
std::span<const MenuNode> ContextMenu();
// Tool-bar button ids in order; 0 stands for a separator.
std::span<const int> ToolBarButtons();
