// Training and test areas in vector files on the desktop: "ベクタファイルからエリアを読み込む"
// asks for the file, then for the field that names each polygon's category and the kind of
// marks; "エリアをベクタファイルに保存" asks for the GeoPackage to write.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "output/vector_areas.h"

class QComboBox;
class QRadioButton;

// The choice after the file: the field (the list of the file's fields, "category" chosen where
// there is one) and the kind, from the file's kind field (only when it has one), training or
// test.
class CAreaFieldDlg : public QDialog {
  Q_OBJECT

 public:
  CAreaFieldDlg(const std::string& strPath, const std::vector<std::string>& astrFields,
                QWidget* pParent = nullptr);
  // The reading as chosen now.
  AreaReading Reading() const;
  QComboBox* FieldList() const { return m_pField; }
  QRadioButton* KindButton(AreaKind eKind) const { return m_apKind[static_cast<int>(eKind)]; }

 private:
  std::string m_strPath;
  QComboBox* m_pField = nullptr;
  QRadioButton* m_apKind[3] = {};
};

void OnLoadAreasDialog();
void OnSaveAreasDialog();
