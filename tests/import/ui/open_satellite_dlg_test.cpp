#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "core/commands.h"
#include "resources/resource.h"
#include "import/messages.h"
#include "import/ui/open_satellite_dlg.h"

TEST(OpenSatelliteDlgTest, ShowsAndReturnsThePreviousRun) {
  SatelliteDialogValues values;
  values.nSensor = Sensor::Etm6845;
  values.nDisplaySize = 1;
  values.abBandSelected[0] = values.abBandSelected[1] = values.abBandSelected[7] = 1;
  values.astrBandPath[1] = "/data/バンド2.dat";
  COpenSatelliteDlg dlg(values);
  EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(kszOpenSatelliteTitle));
  EXPECT_EQ(dlg.SensorGroup()->checkedButton()->text(), "ETM+");
  EXPECT_EQ(dlg.DisplaySizeGroup()->checkedButton()->text(), "800*600");
  // Band 8 keeps its value but none of its controls can be used.
  EXPECT_TRUE(dlg.BandBox(8)->isChecked());
  EXPECT_FALSE(dlg.BandBox(8)->isEnabled());
  EXPECT_FALSE(dlg.PathEdit(8)->isEnabled());
  EXPECT_FALSE(dlg.BrowseButton(8)->isEnabled());
  EXPECT_TRUE(dlg.BrowseButton(7)->isEnabled());

  dlg.BandBox(3)->setChecked(true);
  dlg.DisplaySizeGroup()->button(2)->setChecked(true);
  const SatelliteDialogValues result = dlg.Values();
  EXPECT_EQ(result.nSensor, Sensor::Etm6845);
  EXPECT_EQ(result.nDisplaySize, 2);
  const int anSelected[8] = {1, 1, 1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(result.abBandSelected[i], anSelected[i]) << i;
  EXPECT_EQ(result.astrBandPath[1], values.astrBandPath[1]);
}

TEST(OpenSatelliteDlgTest, NothingChosenReadsAsNoChoice) {
  const SatelliteDialogValues result = COpenSatelliteDlg(SatelliteDialogValues{}).Values();
  EXPECT_EQ(result.nSensor, Sensor::None);
  EXPECT_EQ(result.nDisplaySize, -1);
}

TEST(OpenSatelliteDlgTest, CommandIsRegistered) {
  // The tests' main registers every ui at start-up, as the desktop does.
  EXPECT_EQ(FindCommand(ID_OPEN_SATELLITE)->pfnHandler, &OnFileOpenSatellite);
}

TEST(OpenSatelliteDlgTest, BrowseFiltersReadAsListed) {
  QFileDialog dlg;
  COpenSatelliteDlg::SetUpBrowseDialog(dlg);
  auto* pTypes = dlg.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(pTypes, nullptr);
  ASSERT_EQ(pTypes->count(), 2);
  EXPECT_EQ(pTypes->itemText(0), QString::fromUtf8(kszFilterAllFiles));
  EXPECT_EQ(pTypes->itemText(1), QString::fromUtf8(kszFilterTextFiles));
  EXPECT_EQ(dlg.fileMode(), QFileDialog::ExistingFile);
}
