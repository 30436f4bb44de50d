// What the command line's "--panel" paints on: a white image drawn through the desktop's own
// canvas, so the panel's texts come out in the panel font. Needs no display: the first call
// starts a GUI application on the off-screen platform.
#pragma once

#include <memory>
#include <string>

class Canvas;

std::unique_ptr<Canvas> MakeCliSurface(int nWidth, int nHeight);

// "geolumen print": the report page as a PDF, through the desktop's own print routine, with no
// display.
bool WriteCliReportPdf(const std::string& strPath, std::string& strReason);
