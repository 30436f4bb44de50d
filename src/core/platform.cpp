#include "core/platform.h"

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

Canvas& NullCanvas() {
  static CSilentCanvas s_canvas;
  return s_canvas;
}

Platform& ThePlatform() { return *g_pPlatform; }

void SetPlatform(Platform* pPlatform) { g_pPlatform = pPlatform ? pPlatform : &g_silentPlatform; }
