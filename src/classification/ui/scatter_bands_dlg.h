// Dialog IDD_SCATTER_BANDS: the feature-space plot's band across and band up.
#pragma once

#include "shell/base/integer_dialog.h"

class CScatterBandsDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the band across, the band up.
  explicit CScatterBandsDlg(const int anValues[], QWidget* pParent = nullptr);
};
