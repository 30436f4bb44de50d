// The category dialogs: values (141), category options (165) and classification options (160),
// and the commands that run the two option dialogs.
#pragma once

#include <QDialog>

#include "classification/categories.h"
#include "shell/base/integer_dialog.h"

class QCheckBox;
class QLineEdit;

class CCategoryValueDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the category number, then lower and upper of bands 1..8.
  explicit CCategoryValueDlg(const int anValues[], QWidget* pParent = nullptr);
  QLineEdit* NumberEdit() const { return Edit(0); }
  QLineEdit* LowerEdit(int nBand) const { return Edit(2 * nBand - 1); }
  QLineEdit* UpperEdit(int nBand) const { return Edit(2 * nBand); }

 private:
  // The number changed: show the ranges of the category it names now.
  void ShowCategory();
};

class CCategoryOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCategoryOptionsDlg(const CategoryOptions& options, QWidget* pParent = nullptr);
  CategoryOptions Options() const;
  QCheckBox* BandBox(int nBand) const { return m_apBand[nBand - 1]; }
  QLineEdit* NameEdit(int nCategory) const { return m_apName[nCategory - 1]; }

 private:
  CategoryOptions m_options;
  QCheckBox* m_apBand[8];
  QLineEdit* m_apName[8];
};

class CClassifyOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CClassifyOptionsDlg(const CategoryOptions& options, QWidget* pParent = nullptr);
  CategoryOptions Options() const;
  QCheckBox* CategoryBox(int nCategory) const { return m_apCategory[nCategory - 1]; }
  QLineEdit* NameEdit(int nCategory) const { return m_apName[nCategory - 1]; }

 private:
  CategoryOptions m_options;
  QCheckBox* m_apCategory[8];
  QLineEdit* m_apName[8];
};

// Commands 33025 and 33004: run the dialog and, on OK, apply it.
void OnCategoryOptionsDialog();
void OnClassifyOptionsDialog();
