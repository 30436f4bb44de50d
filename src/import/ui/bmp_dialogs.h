// The BMP picture's file dialog and dialog IDD_BAND_ARITHMETIC (band arithmetic).
#pragma once

#include "shell/base/integer_dialog.h"

// Dialog IDD_BAND_ARITHMETIC: two lines of text, "作成" and "キャンセル"; nothing to fill in.
class CBandArithmeticDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  CBandArithmeticDlg(const int anValues[], QWidget* pParent = nullptr);
};

// The file menu's BMP command: asks for the picture and imports it.
void OnFileOpenBmp();
