#include "output/report.h"

#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"

int ReportLineHeight() { return g_nPrintStep * 10; }

std::vector<ReportLine> ReportLines() {
  std::vector<ReportLine> aLines;
  // Only the bands present get a coarse and a fine line; with no data there are none.
  const int nBands = BandCount() < 0 ? 0 : (BandCount() > kMaxBands ? kMaxBands : BandCount());

  aLines.push_back({1, "基本情報"});
  aLines.push_back({2, FormatText("センサNo.%d  Ｘ軸：%d  Ｙ軸：%d  Ｚ軸：%d", SensorCode(g_nSensor), g_nMaxX + 1,
                              g_nMaxY + 1, g_nLastBand + 1)});

  aLines.push_back({4, "合成画像"});
  aLines.push_back({5, FormatText("上下限切り捨て率：%d", g_nCutOffRate)});
  aLines.push_back({6, FormatText("赤の下限値：%d  上限値：%d", g_nRedLower, g_nRedUpper)});
  aLines.push_back({7, FormatText("緑の下限値：%d  上限値：%d", g_nGreenLower, g_nGreenUpper)});
  aLines.push_back({8, FormatText("青の下限値：%d  上限値：%d", g_nBlueLower, g_nBlueUpper)});

  aLines.push_back({10, "粗画像"});
  for (int b = 1; b <= nBands; ++b) {
    aLines.push_back(
        {10 + b, FormatText("Band%d Rank1=%d R.2=%d R.3=%d R.4=%d R.5=%d R.6=%d R.7=%d R.8=%d", b,
                        g_anRankUpper[1][b], g_anRankUpper[2][b], g_anRankUpper[3][b],
                        g_anRankUpper[4][b], g_anRankUpper[5][b], g_anRankUpper[6][b],
                        g_anRankUpper[7][b], g_anRankUpper[8][b])});
  }

  aLines.push_back({20, "精画像"});
  for (int b = 1; b <= nBands; ++b) {
    aLines.push_back(
        {20 + b,
         FormatText("Band%d Point1=%d P.2=%d P.3=%d P.4=%d P.5=%d P.6=%d P.7=%d P.8=%d P.9=%d", b,
                g_anFinePoint[1][b], g_anFinePoint[2][b], g_anFinePoint[3][b],
                g_anFinePoint[4][b], g_anFinePoint[5][b], g_anFinePoint[6][b],
                g_anFinePoint[7][b], g_anFinePoint[8][b], g_anFinePoint[9][b])});
  }

  aLines.push_back({30, "カテゴリー画像"});
  for (int c = 1; c <= 8; ++c) {
    aLines.push_back({29 + 2 * c, FormatText("Category%d", c)});
    std::string str = "Band";
    for (int b = 1; b <= kMaxBands; ++b) {
      str += FormatText(b == 1 ? "%d:(%d～%d)" : " %d:(%d～%d)", b, g_anCatLower[b][c],
                    g_anCatUpper[b][c]);
    }
    aLines.push_back({30 + 2 * c, str});
  }
  return aLines;
}

void DrawReportPage(Canvas& canvas) {
  const int L = ReportLineHeight();
  for (const ReportLine& line : ReportLines()) canvas.TextOut(0, line.nRow * L, 0, line.strText);
}
