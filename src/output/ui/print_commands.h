// Printing the settings report (print, preview, page setup, the PDF of "geolumen print"), the
// print-step dialog IDD_PRINT_STEP, and the picture on the clipboard.
#pragma once

#include <QString>
#include <string>

#include "shell/base/integer_dialog.h"

class QPainter;
class QPrinter;

// Dialog IDD_PRINT_STEP: "行間隔：" with its spin button and the two hints.
class CPrintStepDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  CPrintStepDlg(const int anValues[], QWidget* pParent = nullptr);
};

// The report page through the painter (on a printer, a preview page or a PDF writer), at one
// device unit per printer dot, in the device's default font at 10 points.
void PaintReportPage(QPainter& painter);

// The printer that printing, the preview and the page setup share: A4 laid out at 300 dots per
// inch, so that the print step means the same on paper, in the preview and in a PDF.
QPrinter& ReportPrinter();

// Writes the report as a one-page A4 PDF at 300 dots per inch (no margins), through a temporary
// file renamed over strPath when complete; false with the reason.
bool WriteReportPdf(const std::string& strPath, std::string& strReason);

void OnFilePrint();
void OnFilePrintPreview();
void OnFilePrintSetup();
// The off-screen picture (W x H, without the panel) as an image on the clipboard.
void OnEditCopy();
void OnEditEmptyClipboard();
