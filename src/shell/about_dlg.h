// The About box: product line, build date and the physical memory at opening.
#pragma once

#include <QDialog>

class QLabel;

class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* pParent = nullptr);

  QLabel* m_pFreeMemory;
  QLabel* m_pTotalMemory;
};

// Available and total physical memory in bytes; false if the system does not say.
bool ReadPhysicalMemory(long& nAvailable, long& nTotal);
