// The raster scene dialog: one multi-band file or single-band files in band order, and the
// window size; and the command that runs it.
#pragma once

#include <QDialog>

#include "import/raster.h"

class QComboBox;
class QListWidget;

class COpenRasterDlg : public QDialog {
  Q_OBJECT

 public:
  explicit COpenRasterDlg(QWidget* pParent = nullptr);
  RasterValues Values() const;

  QListWidget* FileList() const { return m_pFiles; }
  QComboBox* SizeBox() const { return m_pSize; }

 private:
  void OnAddFiles();

  QListWidget* m_pFiles;
  QComboBox* m_pSize;
};

// The file menu's raster command: runs the dialog and imports on OK.
void OnFileOpenRaster();
