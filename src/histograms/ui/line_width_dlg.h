// Dialog IDD_LINE_WIDTH: the width of one band's curve in the detailed histogram.
#pragma once

#include "shell/base/integer_dialog.h"

class CLineWidthDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the width.
  explicit CLineWidthDlg(const int anValues[], QWidget* pParent = nullptr);
  QLineEdit* WidthEdit() const { return Edit(0); }
};
