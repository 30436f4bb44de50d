#include "products/coarse.h"

#include <cstring>

const Colorref kaacrCoarseColourLibrary[8][8] = {
    {Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(85, 85, 255), Rgb(85, 255, 85), Rgb(85, 255, 255),
     Rgb(255, 85, 85), Rgb(255, 85, 255), Rgb(255, 255, 85)},
    {Rgb(85, 85, 85), Rgb(0, 0, 170), Rgb(0, 170, 0), Rgb(0, 170, 170), Rgb(170, 0, 0),
     Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(170, 170, 170)},
    {Rgb(128, 0, 255), Rgb(0, 128, 255), Rgb(0, 255, 255), Rgb(0, 255, 128), Rgb(60, 200, 60),
     Rgb(255, 255, 0), Rgb(255, 128, 64), Rgb(255, 0, 128)},
    {Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0),
     Rgb(0, 0, 0), Rgb(0, 0, 0)},
    {Rgb(20, 20, 20), Rgb(50, 50, 50), Rgb(80, 80, 80), Rgb(110, 110, 110), Rgb(140, 140, 140),
     Rgb(170, 170, 170), Rgb(200, 200, 200), Rgb(230, 230, 230)},
    {Rgb(20, 0, 0), Rgb(50, 0, 0), Rgb(80, 0, 0), Rgb(110, 0, 0), Rgb(140, 0, 0), Rgb(170, 0, 0),
     Rgb(200, 0, 0), Rgb(230, 0, 0)},
    {Rgb(0, 20, 0), Rgb(0, 50, 0), Rgb(0, 80, 0), Rgb(0, 110, 0), Rgb(0, 140, 0), Rgb(0, 170, 0),
     Rgb(0, 200, 0), Rgb(0, 230, 0)},
    {Rgb(0, 0, 20), Rgb(0, 0, 50), Rgb(0, 0, 80), Rgb(0, 0, 110), Rgb(0, 0, 140), Rgb(0, 0, 170),
     Rgb(0, 0, 200), Rgb(0, 0, 230)},
};

void ResetCoarseQuery() {
  static const int kanDefaultUpper[9] = {0, 30, 60, 90, 120, 150, 180, 210, 255};
  g_nCoarseBand = 1;
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) {
      g_anRankUpper[k][b] = kanDefaultUpper[k];
      g_anRankColourOn[k][b] = 1;
    }
  }
  std::memset(g_abCoarseRankOfValue, 0, sizeof g_abCoarseRankOfValue);
  std::memset(g_anCoarseHist, 0, sizeof g_anCoarseHist);
  g_nCoarseHistMax = 0;
  std::memset(g_anRankCount, 0, sizeof g_anRankCount);
}

void ResetCoarsePalette() {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) g_acrRankColour[k][b] = kaacrCoarseColourLibrary[0][k - 1];
  }
}
