// The band-and-value dialogs of the coarse picture (136, rank bounds) and the fine picture
// (156, points), and the commands that run them.
#pragma once

#include "shell/integer_dialog.h"

class QLineEdit;

class CRankValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anUpper: the upper values of ranks 1..7.
  CRankValueDlg(int nBand, const int anUpper[7], QWidget* pParent = nullptr);
  int Band() const { return IntegerValue(m_pBand); }
  void Uppers(int anUpper[7]) const;
  QLineEdit* BandEdit() const { return m_pBand; }
  QLineEdit* UpperEdit(int nRank) const { return m_apUpper[nRank - 1]; }

 private:
  QLineEdit* m_pBand;
  QLineEdit* m_apUpper[7];
};

class CPointValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anPoint: points 1..9; 1 and 9 are shown read-only.
  CPointValueDlg(int nBand, const int anPoint[9], QWidget* pParent = nullptr);
  int Band() const { return IntegerValue(m_pBand); }
  void Points(int anPoint[9]) const;
  QLineEdit* BandEdit() const { return m_pBand; }
  QLineEdit* PointEdit(int nPoint) const { return m_apPoint[nPoint - 1]; }

 private:
  QLineEdit* m_pBand;
  QLineEdit* m_apPoint[9];
};

// Commands 32778 and 32966: run the dialog on the product's band and, on OK, apply it.
void OnCoarseBandValueDialog();
void OnFineBandValueDialog();
