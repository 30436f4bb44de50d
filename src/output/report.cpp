#include "output/report.h"

#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/state.h"
#include "core/text_format.h"

int g_nPrintStep = 7;

int ReportLineHeight() { return g_nPrintStep * 10; }

// The scene's own lines, then every settings group's.
std::vector<ReportLine> ReportLines() {
  std::vector<ReportLine> aLines;
  aLines.push_back({1, "基本情報"});
  aLines.push_back({2, FormatText("センサNo.%d  Ｘ軸：%d  Ｙ軸：%d  Ｚ軸：%d", SensorCode(g_nSensor),
                                  g_nMaxX + 1, g_nMaxY + 1, g_nLastBand + 1)});
  AppendGroupReportLines(aLines);
  return aLines;
}

void DrawReportPage(Canvas& canvas) {
  const int L = ReportLineHeight();
  for (const ReportLine& line : ReportLines()) canvas.TextOut(0, line.nRow * L, 0, line.strText);
}
