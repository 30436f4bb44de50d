// Base of the program's settings dialogs: integer edits whose ranges are checked, in order, when
// OK is pressed. The first field out of range shows the standard range message, gets the focus
// with its text selected, and the dialog stays open.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "core/dialog_texts.h"

class QDialogButtonBox;
class QLineEdit;
class QWidget;

inline constexpr const char* kszDialogOk = "OK";
inline constexpr const char* kszDialogCancel = "キャンセル";

class CIntegerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CIntegerDialog(const QString& strTitle, QWidget* pParent = nullptr);

  // The value of a field as typed (0 if it is not a number).
  static int IntegerValue(const QLineEdit* pEdit);

 protected:
  // An edit for an integer checked to lie in nMin..nMax on OK.
  QLineEdit* AddRangeField(int nValue, int nMin, int nMax);
  // An edit that only has to hold an integer.
  QLineEdit* AddIntegerField(int nValue);
  // The edit with small up/down buttons beside it (the spin control), stepping in nMin..nMax.
  QWidget* WithSpin(QLineEdit* pEdit, int nMin, int nMax);
  // "OK" (the default button, checks the fields) and "キャンセル".
  QDialogButtonBox* OkCancelButtons();

 public slots:
  void accept() override;

 private:
  struct Field {
    QLineEdit* pEdit;
    int nMin;
    int nMax;
    bool bRange;
  };
  std::vector<Field> m_aFields;
};
