// The one-page settings report ("クエリーを印刷"): the lines and where they go. Printing, the
// print preview and the command line's "report" all draw or print this same list.
#pragma once

#include <string>
#include <vector>

#include "core/settings_groups.h"  // ReportLine

// The print step, 5..50 (not saved; 7 in a fresh program).
extern int g_nPrintStep;

// L, the line height in printer units: the print step times ten.
int ReportLineHeight();

// Every line of the report, top to bottom, from the program state as it is now.
std::vector<ReportLine> ReportLines();

class Canvas;

// The printed page: every line at x = 0 with its top at nRow x L, in the device's own font (a
// text height of 0). Printing, the print preview and "geolumen print" all draw with this.
void DrawReportPage(Canvas& canvas);
