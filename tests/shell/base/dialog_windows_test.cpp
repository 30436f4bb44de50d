// The table of dialog windows keeps one window per described dialog: a second registration for
// a number already there stops the program at start-up instead of hiding one of the two.
#include <gtest/gtest.h>

#include "products/composite.h"
#include "products/ui/composite_dialogs.h"
#include "shell/base/dialog_windows.h"

TEST(DialogWindowsDeathTest, ASecondWindowForADialogIsRefusedNamingIt) {
  // The Qt application has threads of its own: the child starts afresh rather than forking.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The tests' main registered every ui, as the desktop does: dialog IDD_CUTOFF_RATE has its window.
  ASSERT_NE(FindDialogWindow(kCutOffDialog.nId), nullptr);
  EXPECT_DEATH(RegisterDialogWindow(kCutOffDialog, MakeDialogWindow<CCutOffRateDlg>),
               "dialog 131 has a window already");
}
