// "精度評価": the window of the accuracy assessment, the confusion matrix of the classification
// against the test pixels with its figures, saved as CSV or copied.
#pragma once

#include <QDialog>

#include "classification/accuracy.h"

class QTableWidget;
class QLabel;

class CAccuracyDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAccuracyDlg(const Accuracy& acc, QWidget* pParent = nullptr);
  QTableWidget* Matrix() const { return m_pMatrix; }
  QTableWidget* Figures() const { return m_pFigures; }
  QLabel* Summary() const { return m_pSummary; }
  // The CSV the buttons save and copy.
  QString Csv() const;

 private:
  void SaveCsv();

  Accuracy m_acc;
  QTableWidget* m_pMatrix = nullptr;
  QTableWidget* m_pFigures = nullptr;
  QLabel* m_pSummary = nullptr;
};

// The command: the window over the shown classification, or the message that test areas are
// needed.
void OnAccuracyDialog();
