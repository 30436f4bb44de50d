// The only doors from the logic to the desktop: message boxes, cursors, the window and the
// status bar. The Qt shell, the headless command line and the tests each provide their own.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/state.h"

struct DialogSpec;

struct Point {
  int x;
  int y;
};

// Icon resources drawn on panels (32 x 32, transparent outside the picture).
inline constexpr int kIconPanelArrow = 130;
inline constexpr int kIconPanelBlueArrow = 133;
inline constexpr int kIconPanelCheck = 161;
inline constexpr int kIconPanelDoubleCheck = 166;

// Drawing in logical (scrolled) view coordinates, one unit per pixel.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SetPixel(int x, int y, Colorref cr) = 0;
  virtual Colorref GetPixel(int x, int y) = 0;
  // A rectangle from (left, top) up to but not including (right, bottom): the border in the pen
  // colour, the inside in the brush colour.
  virtual void FillRect(int left, int top, int right, int bottom, Colorref crPen,
                        Colorref crBrush) = 0;
  // Lines through the points in order with a solid pen of the given width.
  virtual void Polyline(const Point* pPoints, int nCount, Colorref crPen, int nWidth) = 0;
  // UTF-8 text, top-left corner at (x, y), character height nHeight, black on white.
  virtual void TextOut(int x, int y, int nHeight, std::string_view text) = 0;
  // The width TextOut gives the text at character height nHeight. A canvas without a font
  // estimates: half the height for each ASCII or half-width katakana character, the whole
  // height for every other (wide) character, rounded up.
  virtual int TextWidth(int nHeight, std::string_view text);
  virtual void DrawIcon(int x, int y, int nIconId) = 0;
  // The W x H off-screen image copied unchanged to (0, 0).
  virtual void CopyOffscreenImage() = 0;
};

// What the file-information dialog shows (the work file's own description of a file).
struct FileInformation;

// SaveDiscardCancel: the question before unsaved changes would be lost ("保存" / "保存しない" /
// "キャンセル"), answered Save, Discard or Cancel. RestoreDiscard: the question whether to bring back
// work a program that ended without saving left behind ("復元" / "破棄"), answered Restore or
// Discard.
enum class MsgButtons { Ok, OkCancel, SaveDiscardCancel, RestoreDiscard };
enum class MsgResult { Ok, Cancel, Save, Discard, Restore };
enum class BusyCursor { Arrow, Wait, AppStarting };

class Platform {
 public:
  virtual ~Platform() = default;
  virtual MsgResult MessageBox(std::string_view text, std::string_view caption,
                               MsgButtons buttons = MsgButtons::Ok) = 0;
  // Wait is the hourglass, AppStarting the arrow with hourglass, Arrow the normal cursor.
  virtual void SetBusyCursor(BusyCursor cursor) = 0;
  virtual void Beep() = 0;
  // Invalidate, erase and repaint the whole view at once.
  virtual void RepaintNow() = 0;
  // The view's scroll sizes follow the window; the off-screen image is made anew (cleared).
  virtual void InitialUpdate() = 0;
  // What is drawn straight onto the window: panels, smooth display, training dots.
  virtual Canvas& WindowCanvas() = 0;
  // A line of a smooth display is done: the shell may show it now.
  virtual void ShowProgress() {}
  // The colour picker, opened with crInOut; true and the chosen colour on OK.
  virtual bool ChooseColour(Colorref& crInOut) = 0;
  // Both status panes at once; false when there is no status bar to show them.
  virtual bool SetStatusText(std::string_view strPane0, std::string_view strPane1) = 0;
  // A settings dialog opened with anValues (one per field of the description); true and the
  // values as accepted on OK, false on Cancel.
  virtual bool RunDialog(const DialogSpec& dialog, int anValues[]) = 0;
  // A one-button message with what a library said about it (GDAL's own lines, one per file)
  // kept behind a "詳細を表示..." button; a platform without one shows the message alone.
  virtual void MessageWithDetail(std::string_view text, std::string_view caption,
                                 std::string_view detail) {
    (void)detail;
    MessageBox(text, caption, MsgButtons::Ok);
  }
  // A line about a file that was taken all the same (what GDAL warned of while reading it):
  // no box, only the program's error stream where there is one.
  virtual void ShowNotice(std::string_view strLine) { (void)strLine; }
  // Lines that say exactly what was wrong with the files of an import (the band, the path, its
  // size and the size needed), beyond the message boxes; an empty list clears what was shown.
  virtual void ShowDiagnostics(std::span<const std::string> astrLines) { (void)astrLines; }
  // The file-information dialog; true on OK (a platform without one reads on).
  virtual bool ShowFileInformation(const FileInformation& info) {
    (void)info;
    return true;
  }
  // The document's name or its changed mark changed (the window title shows both).
  virtual void SetDocumentTitle(std::string_view strTitle, bool bModified) {
    (void)strTitle;
    (void)bModified;
  }
};

// A canvas that draws nothing (for a platform without a window).
Canvas& NullCanvas();

// Answers OK to every message, cancels every dialog and draws nothing: the platform in use
// before a shell or a test installs its own, and a base for platforms that need only a canvas.
class CSilentPlatform : public Platform {
 public:
  MsgResult MessageBox(std::string_view, std::string_view, MsgButtons) override {
    return MsgResult::Ok;
  }
  void SetBusyCursor(BusyCursor) override {}
  void Beep() override {}
  void RepaintNow() override {}
  void InitialUpdate() override {}
  Canvas& WindowCanvas() override { return NullCanvas(); }
  bool ChooseColour(Colorref&) override { return false; }
  bool SetStatusText(std::string_view, std::string_view) override { return false; }
  bool RunDialog(const DialogSpec&, int[]) override { return false; }
};

// The platform in use. Until one is installed, a silent one answers OK to every question.
Platform& ThePlatform();
void SetPlatform(Platform* pPlatform);

// Shows a one-button message box through the platform.
inline void ShowMessage(std::string_view text, std::string_view caption) {
  ThePlatform().MessageBox(text, caption, MsgButtons::Ok);
}

// The busy cursor for the life of a scope; the arrow comes back at the end.
class BusyCursorScope {
 public:
  explicit BusyCursorScope(BusyCursor cursor) { ThePlatform().SetBusyCursor(cursor); }
  ~BusyCursorScope() { ThePlatform().SetBusyCursor(BusyCursor::Arrow); }
  BusyCursorScope(const BusyCursorScope&) = delete;
  BusyCursorScope& operator=(const BusyCursorScope&) = delete;
};
