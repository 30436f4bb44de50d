// Base of the program's settings dialogs, built on a dialog's description in the logic: one
// edit per integer field (read-only for fixed ones), a check box per check field, spin buttons
// where the description asks for them. On OK every field is checked in the description's order
// with the logic's own check; the first refused field shows its message, gets the focus with
// its text selected, and the dialog stays open.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "core/dialogs.h"

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QWidget;

inline constexpr const char* kszDialogOk = "OK";
inline constexpr const char* kszDialogCancel = "キャンセル";

class CIntegerDialog : public QDialog {
  Q_OBJECT

 public:
  // anValues: one per field of dialog, what the dialog opens with.
  CIntegerDialog(const DialogSpec& dialog, const int anValues[], const QString& strTitle,
                 QWidget* pParent = nullptr);

  // The values as the fields stand, one per field (0 for an edit that holds no number).
  void Values(int anValues[]) const;
  // Field i's edit (null for a check box) and check box (null for an edit).
  QLineEdit* Edit(int i) const { return m_aFields[static_cast<std::size_t>(i)].pEdit; }
  QCheckBox* CheckBox(int i) const { return m_aFields[static_cast<std::size_t>(i)].pCheck; }

 protected:
  // What the layout places for field i: the edit (with its spin buttons), or the check box.
  QWidget* FieldWidget(int i) const { return m_aFields[static_cast<std::size_t>(i)].pWidget; }
  // "OK" (the default button, checks the fields) and "キャンセル", or the dialog's own texts.
  QDialogButtonBox* OkCancelButtons(const char* szOk = kszDialogOk,
                                    const char* szCancel = kszDialogCancel);

 public slots:
  void accept() override;

 private:
  struct Field {
    QLineEdit* pEdit = nullptr;
    QCheckBox* pCheck = nullptr;
    QWidget* pWidget = nullptr;
  };
  // The edit with small up/down buttons beside it (the spin control), stepping in nMin..nMax.
  QWidget* WithSpin(QLineEdit* pEdit, int nMin, int nMax);

  const DialogSpec& m_dialog;
  std::vector<Field> m_aFields;
};
