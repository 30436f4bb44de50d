// The satellite scene dialog (157): sensor, window size and the band files, and the command
// that runs it.
#pragma once

#include <QDialog>

#include "import/import.h"

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QLineEdit;
class QPushButton;

class COpenSatelliteDlg : public QDialog {
  Q_OBJECT

 public:
  explicit COpenSatelliteDlg(const SatelliteDialogValues& values, QWidget* pParent = nullptr);
  SatelliteDialogValues Values() const;

  // Sets up the file-open dialog of the browse buttons: an existing file, and the filters.
  static void SetUpBrowseDialog(QFileDialog& dlg);

  QButtonGroup* SensorGroup() const { return m_pSensor; }
  QButtonGroup* DisplaySizeGroup() const { return m_pDisplaySize; }
  QCheckBox* BandBox(int nBand) const { return m_apBand[nBand - 1]; }
  QLineEdit* PathEdit(int nBand) const { return m_apPath[nBand - 1]; }
  QPushButton* BrowseButton(int nBand) const { return m_apBrowse[nBand - 1]; }

 private:
  // The file-open dialog for band nBand; the chosen path goes into its edit.
  void OnBrowseBand(int nBand);

  QButtonGroup* m_pSensor;
  QButtonGroup* m_pDisplaySize;
  QCheckBox* m_apBand[kMaxBands];
  QLineEdit* m_apPath[kMaxBands];
  QPushButton* m_apBrowse[kMaxBands];
};

// Command 32983: runs the dialog with the previous run's values and imports on OK.
void OnFileOpenSatellite();
