// The composite picture's dialogs: the cut-off rate (131) and the bands with their stretch
// values (132), and the commands that run them.
#pragma once

#include "products/composite.h"
#include "shell/integer_dialog.h"

class QCheckBox;
class QLineEdit;

class CCutOffRateDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  explicit CCutOffRateDlg(int nRate, QWidget* pParent = nullptr);
  int Rate() const { return IntegerValue(m_pRate); }
  QLineEdit* RateEdit() const { return m_pRate; }

 private:
  QLineEdit* m_pRate;
};

class CCompositeValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  explicit CCompositeValueDlg(const CompositeBandValues& values, QWidget* pParent = nullptr);
  CompositeBandValues Values() const;
  // Rows 0..2 are red, green, blue.
  QLineEdit* BandEdit(int nRow) const { return m_apBand[nRow]; }
  QLineEdit* LowerEdit(int nRow) const { return m_apLower[nRow]; }
  QLineEdit* UpperEdit(int nRow) const { return m_apUpper[nRow]; }
  QCheckBox* LinkedBox() const { return m_pLinked; }

 private:
  QLineEdit* m_apBand[3];
  QLineEdit* m_apLower[3];
  QLineEdit* m_apUpper[3];
  QCheckBox* m_pLinked;
};

// Commands 32773 and 32774: run the dialog and, on OK, apply its values.
void OnCompositeCutOffDialog();
void OnCompositeBandValueDialog();
