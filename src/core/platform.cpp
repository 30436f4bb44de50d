#include "core/platform.h"

#include <algorithm>

namespace {

class CSilentCanvas final : public Canvas {
 public:
  void SetPixel(int, int, Colorref) override {}
  Colorref GetPixel(int, int) override { return Rgb(255, 255, 255); }
  void FillRect(int, int, int, int, Colorref, Colorref) override {}
  void Polyline(const Point*, int, Colorref, int) override {}
  void TextOut(int, int, int, std::string_view) override {}
  void DrawIcon(int, int, int) override {}
  void CopyOffscreenImage() override {}
};

CSilentPlatform g_silentPlatform;
Platform* g_pPlatform = &g_silentPlatform;

}  // namespace

int Canvas::TextWidth(int nHeight, std::string_view text) {
  long long nHalves = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    // The length of the UTF-8 sequence from its lead byte; a stray byte counts as one.
    const std::size_t nLength = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    // U+FF61..U+FF9F, the half-width katakana, are EF BD A1..EF BE 9F.
    const bool bHalfKana = nLength == 3 && i + 2 < text.size() && b == 0xEF &&
                           ((static_cast<unsigned char>(text[i + 1]) == 0xBD &&
                             static_cast<unsigned char>(text[i + 2]) >= 0xA1) ||
                            static_cast<unsigned char>(text[i + 1]) == 0xBE);
    nHalves += b < 0x80 || bHalfKana ? 1 : 2;
    i += nLength;
  }
  return static_cast<int>((nHalves * std::max(nHeight, 0) + 1) / 2);
}

Canvas& NullCanvas() {
  static CSilentCanvas s_canvas;
  return s_canvas;
}

Platform& ThePlatform() { return *g_pPlatform; }

void SetPlatform(Platform* pPlatform) { g_pPlatform = pPlatform ? pPlatform : &g_silentPlatform; }
