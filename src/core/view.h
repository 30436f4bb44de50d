// The view's behaviour without the widget: painting, the status readout, the routing of mouse
// clicks and arrow keys to the entry of the display mode shown, the scroll sizes. The shell
// calls these from its event handlers with logical (scrolled) coordinates.
#pragma once

#include <string>
#include <string_view>

#include "core/display_modes.h"

class Canvas;

// Character height of the prompt texts the view paints.
inline constexpr int kPromptTextHeight = 14;
inline constexpr const char* kszPromptSelectMenu = ">メニューを選択してください。";
// The load instructions of the empty view, drawn at y = 0, 30, ..., 240.
inline constexpr const char* kaszLoadInstructions[9] = {
    "データを読み込んでください。",
    "１．ワークファイル（ ジオルーメン専用ファイル ）",
    "    「ファイル」→「ワークファイルを開く」から読み込みます。",
    "２．衛星データ（ランドサットのデータ ）",
    "    「ファイル」→「衛星データファイルを開く」から読み込みます。",
    "３．画像データ（ＢＭＰ画像ファイル）",
    "    「ファイル」→「ＢＭＰ画像ファイルを開く」から読み込みます。",
    "４．ラスターデータ（ＧｅｏＴＩＦＦなどのラスターファイル）",
    "    「ファイル」→「ラスターファイルを開く」から読み込みます。",
};

// Text in the panel font ("ＭＳ Ｐ明朝", normal weight) with its top-left corner at (x, y).
void DrawPanelText(Canvas& canvas, int x, int y, int nHeight, std::string_view text);

// Registers what the view shows by itself: the prompt (DisplayMode::Prompt) and the load instructions
// (DisplayMode::NoData).
void RegisterViewModes();

// Paints the view on the window canvas: the off-screen image or the prompt texts, then the
// panel of the product shown.
void PaintView();

// Status readout texts for the pixel under the mouse (or, in the detailed histogram, the
// histogram cursor).
std::string StatusPane0Text();
std::string StatusPane1Text();
// Updates both panes unless the mouse is beyond the loaded window.
void UpdateStatusReadout();

// Pane 0 of the picture modes: window position, pixel and its band values.
std::string PixelReadout();
// Pane 0 of the histogram view: a value and its count in every band.
std::string HistogramReadout(int nValue);
// The arrow keys of the picture modes: the readout's pixel moves by one within the window.
void MoveReadoutCursor(ArrowKey key);

void OnViewMouseMove(int x, int y);
// The mouse left the view: both status panes are cleared, so no pixel's values stay behind.
void OnViewMouseLeave();
// A press of the left button: the mode's click, and the start of a stroke.
void OnViewLButtonDown(int x, int y, bool bShift);
// A move with the left button held: the readout follows, and the mode may act on the stroke's
// step from the previous position to this one.
void OnViewLButtonDrag(int x, int y, bool bShift);
// The left button released: the stroke ends, and the next one starts afresh.
void OnViewLButtonUp();

void OnViewArrowKey(ArrowKey key);

// Name of the context-menu pop-up a right click shows now (null: none).
const char* ContextPopupForClick(bool bCtrl);

struct ScrollSizes {
  int nTotalWidth, nTotalHeight;
  int nPageWidth, nPageHeight;
  int nLineWidth, nLineHeight;
};
ScrollSizes ComputeScrollSizes();

// The view's initial update: the off-screen image is cleared to white and the shell resizes
// the scroll range.
void InitialUpdateView();

// The "画像を常に再表示" toggle.
void OnAlwaysRedraw();
