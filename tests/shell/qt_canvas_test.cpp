// The desktop's canvas keeps GDI's drawing rules, the window surface shows the view, and the
// dialog base checks ranges through the platform.
#include <QImage>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/view.h"
#include "shell/base/integer_dialog.h"
#include "shell/qt_canvas.h"
#include "shell/qt_platform.h"
#include "support/recording_platform.h"

namespace {

constexpr QRgb kGrey = 0xFF808080u;

class QtCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    m_surface.fill(kGrey);
  }
  QImage m_surface{300, 200, QImage::Format_RGB32};
  CQtCanvas m_canvas{m_surface};
};

TEST_F(QtCanvasTest, FillRectBorderIsPenInsideIsBrushRightAndBottomExcluded) {
  m_canvas.FillRect(10, 20, 30, 26, Rgb(255, 0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(m_surface.pixel(10, 20), 0xFFFF0000u);
  EXPECT_EQ(m_surface.pixel(29, 25), 0xFFFF0000u);
  EXPECT_EQ(m_surface.pixel(29, 22), 0xFFFF0000u);
  EXPECT_EQ(m_surface.pixel(11, 21), 0xFF0000FFu);
  EXPECT_EQ(m_surface.pixel(28, 24), 0xFF0000FFu);
  EXPECT_EQ(m_surface.pixel(30, 22), kGrey);
  EXPECT_EQ(m_surface.pixel(20, 26), kGrey);
  EXPECT_EQ(m_surface.pixel(9, 20), kGrey);
  EXPECT_EQ(m_canvas.GetPixel(11, 21), Rgb(0, 0, 255));
}

TEST_F(QtCanvasTest, PolylineLeavesOutTheLastPointAndPixelsRoundTrip) {
  const Point aPoints[] = {{0, 50}, {10, 50}, {10, 60}};
  m_canvas.Polyline(aPoints, 3, Rgb(0, 128, 0), 1);
  EXPECT_EQ(m_surface.pixel(0, 50), 0xFF008000u);
  EXPECT_EQ(m_surface.pixel(10, 50), 0xFF008000u);
  EXPECT_EQ(m_surface.pixel(10, 59), 0xFF008000u);
  EXPECT_EQ(m_surface.pixel(10, 60), kGrey);
  EXPECT_EQ(m_surface.pixel(11, 50), kGrey);

  m_canvas.SetPixel(5, 5, Rgb(1, 2, 3));
  EXPECT_EQ(m_canvas.GetPixel(5, 5), Rgb(1, 2, 3));
  m_canvas.SetPixel(-1, 5, Rgb(1, 2, 3));  // outside: ignored, no write
  m_canvas.SetPixel(300, 5, Rgb(1, 2, 3));
}

TEST_F(QtCanvasTest, TextWidthIsTheCellTextOutFills) {
  const std::string_view text = "1568> 122 選定又は更新が必要";
  const int nWidth = m_canvas.TextWidth(12, text);
  m_canvas.TextOut(5, 100, 12, text);
  // GDI's opaque background: the text's cell is white or ink exactly as far as the width.
  EXPECT_NE(m_surface.pixel(5, 101), kGrey);
  EXPECT_NE(m_surface.pixel(5 + nWidth - 1, 101), kGrey);
  EXPECT_EQ(m_surface.pixel(5 + nWidth, 101), kGrey);
  EXPECT_GT(m_canvas.TextWidth(24, text), nWidth);
}

// Category names are the user's: emoji and Arabic come from fallback fonts, a byte that is no
// UTF-8 from the replacement character. Each is drawn with ink in its cell, and (under the
// sanitizer builds) the font library's caches are no leak of ours.
TEST_F(QtCanvasTest, NamesInScriptsTheDefaultFontLacksAreDrawn) {
  int y = 10;
  for (const std::string_view name : {"\xF0\x9F\x8C\xB2\xF0\x9F\x8C\xBE", "\xD8\xBA\xD8\xA7\xD8\xA8\xD8\xA9",
                                      "a\xFF\xFE" "b"}) {
    const int nWidth = m_canvas.TextWidth(16, name);
    ASSERT_GT(nWidth, 0) << name;
    m_canvas.TextOut(5, y, 16, name);
    int nInk = 0;
    for (int x = 5; x < 5 + nWidth; ++x) {
      for (int dy = 0; dy < 16; ++dy) {
        const QRgb px = m_surface.pixel(x, y + dy);
        nInk += px != kGrey && px != 0xFFFFFFFFu;
      }
    }
    EXPECT_GT(nInk, 0) << name;
    y += 30;
  }
}

TEST_F(QtCanvasTest, CopyOffscreenImageShowsTheWindowUnchanged) {
  g_nMaxX = 3;
  g_nMaxY = 1;
  for (int x = 0; x < 4; ++x) {
    OffscreenPixel(x, 0) = ScreenPixel(x * 60, 10, 20);
    OffscreenPixel(x, 1) = ScreenPixel(5, x * 60, 7);
  }
  OffscreenPixel(4, 0) = ScreenPixel(9, 9, 9);  // beyond W: not part of the picture
  m_canvas.CopyOffscreenImage();
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(m_canvas.GetPixel(x, 0), Rgb(x * 60, 10, 20));
    EXPECT_EQ(m_canvas.GetPixel(x, 1), Rgb(5, x * 60, 7));
  }
  EXPECT_EQ(m_surface.pixel(4, 0), kGrey);
  EXPECT_EQ(m_surface.pixel(0, 2), kGrey);
}

TEST_F(QtCanvasTest, TextIsBlackOnAnOpaqueWhiteBoxAndIconsAreMasked) {
  m_canvas.TextOut(20, 100, 14, "データ");
  int nDark = 0, nGrey = 0;
  for (int y = 100; y < 114; ++y) {
    for (int x = 20; x < 50; ++x) {
      const QRgb px = m_surface.pixel(x, y);
      if (px == kGrey) ++nGrey;
      if (qRed(px) < 128) ++nDark;
    }
  }
  EXPECT_GT(nDark, 10);
  EXPECT_EQ(nGrey, 0);
  EXPECT_EQ(m_surface.pixel(19, 105), kGrey);

  m_canvas.DrawIcon(200, 10, kIconPanelArrow);
  EXPECT_EQ(m_surface.pixel(200, 10), 0xFF000000u);  // frame of the left button
  EXPECT_EQ(m_surface.pixel(201, 11), 0xFFFFFFFFu);  // its white face
  EXPECT_EQ(m_surface.pixel(200, 30), kGrey);        // transparent below the buttons
  int nCyan = 0;
  for (int y = 10; y < 24; ++y) {
    for (int x = 200; x < 232; ++x) nCyan += m_surface.pixel(x, y) == 0xFF008080u;
  }
  EXPECT_GT(nCyan, 20);
}

TEST(QtPlatformTest, RepaintNowPaintsTheLoadInstructionsOnTheSurface) {
  ResetProgramState();
  CQtPlatform platform;
  SetPlatform(&platform);
  platform.RepaintNow();
  SetPlatform(nullptr);
  const QImage& surface = platform.Surface();
  auto darkIn = [&surface](int nTop, int nBottom) {
    int n = 0;
    for (int y = nTop; y < nBottom; ++y) {
      for (int x = 0; x < 400; ++x) n += qRed(surface.pixel(x, y)) < 100;
    }
    return n;
  };
  // Nine lines 30 apart, white between them.
  for (int i = 0; i < 9; ++i) EXPECT_GT(darkIn(30 * i, 30 * i + 14), 20) << i;
  EXPECT_EQ(darkIn(17, 29), 0);
  EXPECT_EQ(darkIn(260, 400), 0);
}

constexpr DialogField kaTestFields[] = {{FieldKind::Range, "A", 1, 10, true},
                                        {FieldKind::Range, "B", -3, 3},
                                        {FieldKind::Fixed, "C"},
                                        {FieldKind::Check, "D"}};
const DialogSpec kTestDialog = {999, kaTestFields, {}, nullptr, nullptr};

TEST(IntegerDialogTest, BuildsTheDescribedFieldsAndKeepsARefusedOneOpen) {
  CRecordingPlatform recorder;
  SetPlatform(&recorder);
  const int anStart[4] = {5, 0, 77, 1};
  CIntegerDialog dlg(kTestDialog, anStart, "test");
  dlg.show();
  EXPECT_TRUE(dlg.Edit(2)->isReadOnly());
  EXPECT_FALSE(dlg.Edit(1)->isReadOnly());
  ASSERT_NE(dlg.CheckBox(3), nullptr);
  EXPECT_TRUE(dlg.CheckBox(3)->isChecked());
  EXPECT_EQ(dlg.findChildren<QToolButton*>().size(), 2);  // the spin of field A only

  dlg.Edit(1)->setText("4");
  dlg.accept();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(recorder.m_aMessages.size(), 1u);
  EXPECT_EQ(recorder.m_aMessages[0].strText, "-3 から 3 までの整数を入力してください。");
  EXPECT_EQ(dlg.Edit(1)->selectedText(), "4");

  dlg.Edit(1)->setText("-3");
  dlg.CheckBox(3)->setChecked(false);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(recorder.m_aMessages.size(), 1u);
  int anOut[4] = {};
  dlg.Values(anOut);
  EXPECT_EQ(std::vector<int>(anOut, anOut + 4), (std::vector<int>{5, -3, 77, 0}));
  SetPlatform(nullptr);
}

}  // namespace
