// "カテゴリー間の分離度": the table of every pair of valid categories, JM over TD in each cell,
// poorly separated pairs in red with their mark, and the lines that explain the table.
#pragma once

#include <QDialog>

#include "classification/separability.h"

class QLabel;
class QTableWidget;

class CSeparabilityDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CSeparabilityDlg(const SeparabilityTable& table, QWidget* pParent = nullptr);
  QTableWidget* Table() const { return m_pTable; }
  QLabel* Notes() const { return m_pNotes; }

 private:
  QTableWidget* m_pTable = nullptr;
  QLabel* m_pNotes = nullptr;
};

// The command: the table of the categories' current training marks.
void OnSeparabilityDialog();
