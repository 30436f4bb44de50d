// The window canvas of the desktop: GDI-like drawing into the shared window surface, a QImage
// in logical view coordinates that every view pane shows at its scroll position.
#pragma once

#include <QImage>
#include <QString>

#include "core/platform.h"

// The panel font as the program names it, and the installed face it maps to.
inline constexpr const char* kszPanelFontFamily = "ＭＳ Ｐ明朝";
inline constexpr const char* kszPanelFontSubstitute = "IPAPMincho";

// Maps the program's font names onto installed Japanese faces (safe to call more than once).
void InstallFontSubstitutions();

// The pictures of the panel icons (32 x 32, transparent outside the picture); a null image for
// an unknown id.
QImage PanelIconImage(int nIconId);

class CQtCanvas final : public Canvas {
 public:
  // Text needs the panel font's substitute whoever creates the canvas.
  explicit CQtCanvas(QImage& surface) : m_surface(surface) { InstallFontSubstitutions(); }

  void SetPixel(int x, int y, Colorref cr) override;
  Colorref GetPixel(int x, int y) override;
  void FillRect(int left, int top, int right, int bottom, Colorref crPen,
                Colorref crBrush) override;
  void Polyline(const Point* pPoints, int nCount, Colorref crPen, int nWidth) override;
  void TextOut(int x, int y, int nHeight, std::string_view text) override;
  // Measured with the panel font, as TextOut draws.
  int TextWidth(int nHeight, std::string_view text) override;
  void DrawIcon(int x, int y, int nIconId) override;
  void CopyOffscreenImage() override;

 private:
  QImage& m_surface;
};
