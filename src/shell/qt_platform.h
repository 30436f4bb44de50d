// The desktop's Platform: message boxes, cursors, the colour picker and the status bar through
// Qt, and the shared window surface that the logic draws on and every view pane shows.
#pragma once

#include <QElapsedTimer>
#include <QImage>

#include "core/platform.h"
#include "shell/qt_canvas.h"

class CMainFrame;

// Large enough for the widest scroll range (1024 + 259 columns) and the panel strip.
inline constexpr int kSurfaceWidth = 1300;
inline constexpr int kSurfaceHeight = 1024;

class CQtPlatform final : public Platform {
 public:
  CQtPlatform();

  MsgResult MessageBox(std::string_view text, std::string_view caption,
                       MsgButtons buttons) override;
  // A QMessageBox whose detailed text opens with "詳細を表示...".
  void MessageWithDetail(std::string_view text, std::string_view caption,
                         std::string_view detail) override;
  // On the program's standard error.
  void ShowNotice(std::string_view strLine) override;
  void SetBusyCursor(BusyCursor cursor) override;
  void Beep() override;
  void RepaintNow() override;
  void InitialUpdate() override;
  Canvas& WindowCanvas() override { return m_canvas; }
  void ShowProgress() override;
  bool ChooseColour(Colorref& crInOut) override;
  bool SetStatusText(std::string_view strPane0, std::string_view strPane1) override;
  bool RunDialog(const DialogSpec& dialog, int anValues[]) override;
  // In the status bar, until the next import.
  void ShowDiagnostics(std::span<const std::string> astrLines) override;
  bool ShowFileInformation(const FileInformation& info) override;
  // "name - Geolumen".
  void SetDocumentTitle(std::string_view strTitle, bool bModified) override;

  // The frame whose panes show the surface and whose status bar takes the readout.
  void AttachFrame(CMainFrame* pFrame) { m_pFrame = pFrame; }

  const QImage& Surface() const { return m_surface; }
  // The next paint draws the surface anew from the program state (the window was invalidated).
  void InvalidateSurface() { m_bSurfaceStale = true; }
  // Called by the panes before they paint: redraws the surface if it was invalidated, unless
  // a long operation is showing its progress (that only shows what was drawn so far).
  void PrepareSurfaceForPaint();
  // White, then the view's picture or prompt and the product's panel.
  void RedrawSurface();

 private:
  QImage m_surface;
  CQtCanvas m_canvas;
  CMainFrame* m_pFrame = nullptr;  // detaches itself when it goes
  bool m_bSurfaceStale = true;
  bool m_bHoldSurface = false;
  int m_nCursorOverrides = 0;
  QElapsedTimer m_progressTimer;
};
