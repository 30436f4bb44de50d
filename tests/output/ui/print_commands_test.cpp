#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "core/commands.h"
#include "output/ui/print_commands.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

using ClipboardTest = LogicTest;

// The clipboard gets the off-screen picture, W x H without the panel, as it is at the moment of
// the command; emptying it leaves no image.
TEST_F(ClipboardTest, CopyPutsTheOffscreenPictureAndEmptyClearsIt) {
  MakeScene(800, 600, 3, Sensor::TmCeos, [](int x, int y, int b) { return (x * b + y) & 0xFF; });
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_VIEW));
  OnEditCopy();
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.width(), 800);
  ASSERT_EQ(image.height(), 600);
  int nWrong = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) nWrong += (image.pixel(x, y) | 0xFF000000u) != (OffscreenPixel(x, y) | 0xFF000000u);
  }
  EXPECT_EQ(nWrong, 0);
  const QRgb before = image.pixel(10, 10);
  OffscreenPixel(10, 10) = ~OffscreenPixel(10, 10);  // later drawing does not reach the copy
  EXPECT_EQ(QGuiApplication::clipboard()->image().pixel(10, 10), before);

  OnEditEmptyClipboard();
  EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}
