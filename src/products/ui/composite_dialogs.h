// The composite picture's dialogs: the cut-off rate (131) and the bands with their stretch
// values (132), laid out on their descriptions in the logic.
#pragma once

#include "shell/base/integer_dialog.h"

class CCutOffRateDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the rate.
  explicit CCutOffRateDlg(const int anValues[], QWidget* pParent = nullptr);
  QLineEdit* RateEdit() const { return Edit(0); }
};

class CCompositeValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: band, lower, upper of red, green, blue, then the link flag.
  explicit CCompositeValueDlg(const int anValues[], QWidget* pParent = nullptr);
  // Rows 0..2 are red, green, blue.
  QLineEdit* BandEdit(int nRow) const { return Edit(3 * nRow); }
  QLineEdit* LowerEdit(int nRow) const { return Edit(3 * nRow + 1); }
  QLineEdit* UpperEdit(int nRow) const { return Edit(3 * nRow + 2); }
  QCheckBox* LinkedBox() const { return CheckBox(9); }
};
