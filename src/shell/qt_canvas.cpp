#include "shell/qt_canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <array>

#include "core/state.h"

namespace {

QColor ToQColor(Colorref cr) { return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)); }

// The panel font at a character height of nHeight pixels.
QFont PanelFont(int nHeight) {
  QFont font(QString::fromUtf8(kszPanelFontFamily));
  font.setPixelSize(nHeight > 0 ? nHeight : 1);
  font.setWeight(QFont::Normal);
  return font;
}

// Two framed white buttons, 16 x 14 each, with a left and a right arrow in crArrow.
QImage ArrowButtonsIcon(const QColor& crArrow) {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  for (int nButton = 0; nButton < 2; ++nButton) {
    const int x0 = nButton * 16;
    p.fillRect(x0, 0, 16, 14, Qt::black);
    p.fillRect(x0 + 1, 1, 14, 12, Qt::white);
    // A solid triangle, 5 columns deep and 9 rows high, centred in the button.
    for (int i = 0; i < 5; ++i) {
      const int x = nButton == 0 ? x0 + 5 + i : x0 + 10 - i;
      p.fillRect(x, 7 - i, 1, 2 * i + 1, crArrow);
    }
  }
  return img;
}

// A black tick in the top-left 12 x 12 (shifted right by nOffset for the second of a pair).
void DrawTick(QImage& img, int nOffset) {
  static constexpr std::array<std::array<int, 2>, 9> kaTick = {
      {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 8}, {6, 7}, {7, 6}, {8, 5}, {9, 4}}};
  for (const auto& pt : kaTick) {
    for (int d = 0; d < 2; ++d) {
      const int x = pt[0] + nOffset;
      const int y = pt[1] - 2 + d;
      if (x < 32 && y >= 0) img.setPixel(x, y, 0xFF000000u);
    }
  }
  // Thicken the tick by one column so it reads at panel scale.
  for (const auto& pt : kaTick) {
    const int x = pt[0] + 1 + nOffset;
    if (x < 32) img.setPixel(x, pt[1] - 2, 0xFF000000u);
  }
}

}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QString::fromUtf8(kszPanelFontFamily),
                            QString::fromUtf8(kszPanelFontSubstitute));
}

QImage PanelIconImage(int nIconId) {
  switch (nIconId) {
    case kIconPanelArrow: return ArrowButtonsIcon(QColor(0, 128, 128));
    case kIconPanelBlueArrow: return ArrowButtonsIcon(QColor(0, 0, 255));
    case kIconPanelCheck:
    case kIconPanelDoubleCheck: {
      QImage img(32, 32, QImage::Format_ARGB32);
      img.fill(Qt::transparent);
      DrawTick(img, 0);
      if (nIconId == kIconPanelDoubleCheck) DrawTick(img, 5);
      return img;
    }
    default: return {};
  }
}

void CQtCanvas::SetPixel(int x, int y, Colorref cr) {
  if (!m_surface.valid(x, y)) return;
  m_surface.setPixel(x, y, ScreenPixel(cr));
}

Colorref CQtCanvas::GetPixel(int x, int y) {
  // Outside the window GDI answers CLR_INVALID; white is what a caller can use safely.
  if (!m_surface.valid(x, y)) return Rgb(255, 255, 255);
  return ColorrefFromScreen(m_surface.pixel(x, y));
}

void CQtCanvas::FillRect(int left, int top, int right, int bottom, Colorref crPen,
                         Colorref crBrush) {
  if (right <= left || bottom <= top) return;
  QPainter p(&m_surface);
  // GDI's Rectangle: the pen covers the outermost pixels of left..right-1, top..bottom-1.
  p.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(crPen));
  if (right - left > 2 && bottom - top > 2) {
    p.fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), ToQColor(crBrush));
  }
}

void CQtCanvas::Polyline(const Point* pPoints, int nCount, Colorref crPen, int nWidth) {
  if (nCount < 2) return;
  QPolygon polygon(nCount);
  for (int i = 0; i < nCount; ++i) polygon.setPoint(i, pPoints[i].x, pPoints[i].y);
  QPainter p(&m_surface);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(ToQColor(crPen));
  if (nWidth <= 1) {
    // A cosmetic pen with flat caps leaves out the last point, as GDI does.
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(nWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  p.setPen(pen);
  p.drawPolyline(polygon);
}

void CQtCanvas::TextOut(int x, int y, int nHeight, std::string_view text) {
  const QString str = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = PanelFont(nHeight);
  const QFontMetrics fm(font);
  QPainter p(&m_surface);
  p.setFont(font);
  // GDI's default background mode is opaque: the text cell is filled white first.
  p.fillRect(QRect(x, y, fm.horizontalAdvance(str), fm.height()), Qt::white);
  p.setPen(Qt::black);
  p.drawText(QPoint(x, y + fm.ascent()), str);
}

int CQtCanvas::TextWidth(int nHeight, std::string_view text) {
  const QString str = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return QFontMetrics(PanelFont(nHeight)).horizontalAdvance(str);
}

void CQtCanvas::DrawIcon(int x, int y, int nIconId) {
  const QImage icon = PanelIconImage(nIconId);
  if (icon.isNull()) return;
  QPainter p(&m_surface);
  p.drawImage(QPoint(x, y), icon);
}

void CQtCanvas::CopyOffscreenImage() {
  // The off-screen buffer already holds 0xFFRRGGBB rows of kMaxColumns pixels: wrap, not copy.
  const QImage image(reinterpret_cast<const uchar*>(g_anOffscreen), WindowWidth(),
                     WindowHeight(), kMaxColumns * 4, QImage::Format_RGB32);
  QPainter p(&m_surface);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(0, 0), image);
}
