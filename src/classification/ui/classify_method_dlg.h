// Dialog IDD_CLASSIFY_METHOD, "分類方法の設定": the method as two radio buttons, the distance
// threshold as its edit and the probability threshold as a list; the three fields of the
// description stay the values OK checks.
#pragma once

#include "classification/classify_method.h"
#include "shell/base/integer_dialog.h"

class QComboBox;
class QRadioButton;

class CClassifyMethodDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: METHOD, DIST, PROB.
  explicit CClassifyMethodDlg(const int anValues[], QWidget* pParent = nullptr);
  QRadioButton* MethodButton(int nMethod) const { return m_apMethod[nMethod]; }
  QComboBox* ProbabilityList() const { return m_pProbability; }

 private:
  QRadioButton* m_apMethod[2] = {};
  QComboBox* m_pProbability = nullptr;
};
