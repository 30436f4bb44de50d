#include "products/fine.h"

const Colorref kaacrFineColourLibrary[8][9] = {
    {Rgb(128, 0, 0), Rgb(0, 128, 128), Rgb(128, 255, 255), Rgb(255, 128, 128), Rgb(0, 255, 255),
     Rgb(0, 255, 0), Rgb(255, 0, 128), Rgb(255, 255, 0), Rgb(255, 0, 0)},
    {Rgb(85, 85, 85), Rgb(0, 0, 170), Rgb(0, 170, 0), Rgb(0, 170, 170), Rgb(170, 0, 0),
     Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(120, 170, 85), Rgb(170, 170, 170)},
    {Rgb(128, 0, 255), Rgb(0, 128, 255), Rgb(0, 255, 255), Rgb(0, 255, 128), Rgb(60, 200, 60),
     Rgb(255, 255, 0), Rgb(255, 128, 60), Rgb(255, 0, 128), Rgb(255, 0, 0)},
    {Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0),
     Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0)},
    {Rgb(0, 0, 0), Rgb(32, 32, 32), Rgb(64, 64, 64), Rgb(96, 96, 96), Rgb(128, 128, 128),
     Rgb(160, 160, 160), Rgb(192, 192, 192), Rgb(224, 224, 224), Rgb(255, 255, 255)},
    {Rgb(255, 0, 0), Rgb(255, 32, 32), Rgb(255, 64, 64), Rgb(255, 96, 96), Rgb(255, 128, 128),
     Rgb(255, 160, 160), Rgb(255, 192, 192), Rgb(255, 224, 224), Rgb(255, 255, 255)},
    {Rgb(0, 255, 0), Rgb(32, 255, 32), Rgb(64, 255, 64), Rgb(96, 255, 96), Rgb(128, 255, 128),
     Rgb(160, 255, 160), Rgb(192, 255, 192), Rgb(224, 255, 224), Rgb(255, 255, 255)},
    {Rgb(0, 0, 255), Rgb(32, 32, 255), Rgb(64, 64, 255), Rgb(96, 96, 255), Rgb(128, 128, 255),
     Rgb(160, 160, 255), Rgb(192, 192, 255), Rgb(224, 224, 255), Rgb(255, 255, 255)},
};

const Colorref kacrFineResetPalette[9] = {
    Rgb(0, 0, 255),   Rgb(0, 255, 255), Rgb(128, 0, 128), Rgb(255, 255, 0), Rgb(255, 128, 255),
    Rgb(255, 3, 6),   Rgb(255, 255, 0), Rgb(255, 128, 255), Rgb(255, 3, 6)};

void ResetFineQuery() {
  static const int kanDefaultPoint[10] = {0, 0, 31, 63, 95, 127, 159, 191, 223, 255};
  g_nFineBand = 1;
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int v = 0; v < 256; ++v) g_abFineValueOn[v][b] = 1;
    for (int k = 1; k <= 9; ++k) g_anFinePoint[k][b] = kanDefaultPoint[k];
    for (int k = 1; k <= 8; ++k) g_anFineSpanOn[k][b] = 1;
  }
}

void ResetFinePalette() {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 9; ++k) g_acrPointColour[k][b] = kacrFineResetPalette[k - 1];
  }
}
