// The display-mode registry: each picture (and each other thing the view can show) registers
// what the view does while it is shown. The view and the command line look the entry up
// instead of switching on the mode.
#pragma once

#include <span>
#include <string>

#include "core/state.h"

enum class ArrowKey { Left, Right, Up, Down };

struct DisplayModeEntry {
  DisplayMode eMode;
  bool bShowsPicture = false;      // paint copies the off-screen image to the window first
  void (*pfnPaint)() = nullptr;    // what paint draws instead of a picture (prompt texts)
  void (*pfnDrawPanel)() = nullptr;                     // the panel beside the picture
  void (*pfnClick)(int x, int y, bool bShift) = nullptr;  // the left button (logical coordinates)
  // A move with the left button held: the step of the stroke from (xFrom, yFrom) to (x, y).
  void (*pfnDrag)(int xFrom, int yFrom, int x, int y, bool bShift) = nullptr;
  std::string (*pfnPane0)() = nullptr;  // status readout, pane 0 (null: empty)
  std::string (*pfnPane1)() = nullptr;  // status readout, pane 1 (null: "__")
  void (*pfnArrowKey)(ArrowKey) = nullptr;  // null: the arrow keys do nothing
  // Context-menu pop-ups of a right click, with and without Ctrl (null: the default pop-up).
  const char* szPopup = nullptr;
  const char* szCtrlPopup = nullptr;
  // Command-line product name and the command an export of it ends with (null: no product).
  const char* szProduct = nullptr;
  int nViewCommand = 0;
  int (*pfnViewCommand)() = nullptr;  // instead of nViewCommand, when the settings choose it
  bool bWholeWindow = false;  // the export is the window area the view paints, panel or not
  // The readout follows the mouse over the whole area, not only over the window's pixels (a
  // chart that may reach beyond a small window).
  bool bReadoutEverywhere = false;
};

// Adds an entry. A mode registered twice, or an entry the full table cannot take, stops the
// program at start-up with a message naming the mode.
void RegisterDisplayMode(const DisplayModeEntry& entry);
// The entry of a mode, or null when nothing registered it.
const DisplayModeEntry* FindDisplayMode(DisplayMode eMode);
std::span<const DisplayModeEntry> DisplayModes();

// The pop-up a right click shows in modes that name none of their own.
void SetDefaultContextPopup(const char* szPopup);
const char* DefaultContextPopup();
