// The header property sheet: ten pages (" Band1 " .. " Band8 ", " UserInfo ", "FileInfo"); OK
// stores the four user texts, Cancel keeps them, Apply enables on typing and stores nothing.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTabWidget;

class CHeaderSheet : public QDialog {
  Q_OBJECT

 public:
  explicit CHeaderSheet(QWidget* pParent = nullptr);
  QTabWidget* Tabs() const { return m_pTabs; }
  QLineEdit* UserEdit(int i) const { return m_apUser[i]; }
  QPushButton* ApplyButton() const { return m_pApply; }

  void accept() override;

 private:
  QTabWidget* m_pTabs = nullptr;
  QLineEdit* m_apUser[4] = {};
  QPushButton* m_pApply = nullptr;
};

// The command "データのプロパティ(&H)...".
void OnHeaderProperties();
