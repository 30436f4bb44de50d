#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "app/features.h"
#include "shell/desktop.h"

// The shell tests run real widgets on the offscreen platform; test discovery runs this binary
// outside the test environment, so the platform is chosen here when nobody chose one.
int main(int argc, char* argv[]) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  RegisterFeatures();
  RegisterDesktopUi();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
