// The band-and-value dialogs of the coarse picture (136, rank bounds) and the fine picture
// (156, points), laid out on their descriptions in the logic.
#pragma once

#include "shell/base/integer_dialog.h"

class CRankValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the band, then the upper values of ranks 1..7.
  explicit CRankValueDlg(const int anValues[], QWidget* pParent = nullptr);
  QLineEdit* BandEdit() const { return Edit(0); }
  QLineEdit* UpperEdit(int nRank) const { return Edit(nRank); }
};

class CPointValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the band, then points 1..9 (1 and 9 are shown read-only).
  explicit CPointValueDlg(const int anValues[], QWidget* pParent = nullptr);
  QLineEdit* BandEdit() const { return Edit(0); }
  QLineEdit* PointEdit(int nPoint) const { return Edit(nPoint); }
};
