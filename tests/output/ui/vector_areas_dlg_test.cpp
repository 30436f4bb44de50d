// The choice after a vector file is picked: its fields with "category" chosen, the kind from
// the file only when it has a kind field, and the reading the choice makes.
#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "output/ui/vector_areas_dlg.h"

TEST(AreaFieldDlgTest, TheChoiceBecomesTheReading) {
  {
    CAreaFieldDlg dlg("/data/drawn.shp", {"id", "cls"});
    EXPECT_EQ(dlg.FieldList()->count(), 2);
    EXPECT_EQ(dlg.FieldList()->currentText().toStdString(), "id");
    EXPECT_FALSE(dlg.KindButton(AreaKind::FromFile)->isEnabled()) << "no kind field";
    EXPECT_TRUE(dlg.KindButton(AreaKind::Training)->isChecked());
    dlg.FieldList()->setCurrentIndex(1);
    dlg.KindButton(AreaKind::Test)->setChecked(true);
    const AreaReading reading = dlg.Reading();
    EXPECT_EQ(reading.strPath, "/data/drawn.shp");
    EXPECT_EQ(reading.strField, "cls");
    EXPECT_EQ(reading.eKind, AreaKind::Test);
  }
  CAreaFieldDlg dlg("areas.gpkg", {"name", "Category", "Kind"});
  EXPECT_EQ(dlg.FieldList()->currentText().toStdString(), "Category");
  EXPECT_TRUE(dlg.KindButton(AreaKind::FromFile)->isChecked());
  EXPECT_EQ(dlg.Reading().eKind, AreaKind::FromFile);
}
