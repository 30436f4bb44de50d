// A platform for tests: records every message box, cursor change, repaint and drawing call in
// order, and answers message boxes from a queue (OK when the queue is empty).
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "workfile/workfile.h"  // FileInformation
#include "core/platform.h"
#include "core/state.h"

struct RecordedMessage {
  std::string strText;
  std::string strCaption;
  bool operator==(const RecordedMessage&) const = default;
};

struct RecordedText {
  int x, y, nHeight;
  std::string strText;
};

struct RecordedRect {
  int left, top, right, bottom;
  Colorref crPen, crBrush;
};

struct RecordedPolyline {
  std::vector<Point> aPoints;
  Colorref crPen;
  int nWidth;
};

struct RecordedIcon {
  int x, y, nId;
};

class CRecordingCanvas final : public Canvas {
 public:
  void SetPixel(int x, int y, Colorref cr) override { m_mapPixels[{x, y}] = cr; ++m_nSetPixelCalls; }
  Colorref GetPixel(int x, int y) override;
  void FillRect(int left, int top, int right, int bottom, Colorref crPen, Colorref crBrush) override {
    m_aRects.push_back({left, top, right, bottom, crPen, crBrush});
  }
  void Polyline(const Point* pPoints, int nCount, Colorref crPen, int nWidth) override {
    m_aPolylines.push_back({std::vector<Point>(pPoints, pPoints + nCount), crPen, nWidth});
  }
  void TextOut(int x, int y, int nHeight, std::string_view text) override {
    m_aTexts.push_back({x, y, nHeight, std::string(text)});
  }
  void DrawIcon(int x, int y, int nIconId) override { m_aIcons.push_back({x, y, nIconId}); }
  void CopyOffscreenImage() override { ++m_nImageCopies; }

  void Clear();
  // The text drawn at (x, y), or nullptr.
  const RecordedText* TextAt(int x, int y) const;
  // Its text, or "<none>".
  std::string TextOrNone(int x, int y) const {
    const RecordedText* p = TextAt(x, y);
    return p ? p->strText : "<none>";
  }
  bool HasPixel(int x, int y) const { return m_mapPixels.count({x, y}) != 0; }

  std::map<std::pair<int, int>, Colorref> m_mapPixels;
  std::vector<RecordedRect> m_aRects;
  std::vector<RecordedPolyline> m_aPolylines;
  std::vector<RecordedText> m_aTexts;
  std::vector<RecordedIcon> m_aIcons;
  int m_nImageCopies = 0;
  long m_nSetPixelCalls = 0;
};

class CRecordingPlatform final : public Platform {
 public:
  MsgResult MessageBox(std::string_view text, std::string_view caption, MsgButtons buttons) override;
  void SetBusyCursor(BusyCursor cursor) override { m_aCursors.push_back(cursor); }
  void Beep() override { ++m_nBeeps; }
  void RepaintNow() override { ++m_nRepaints; }
  void InitialUpdate() override { ++m_nInitialUpdates; }
  Canvas& WindowCanvas() override { return m_canvas; }
  void ShowProgress() override { ++m_nProgressCalls; }
  bool SetStatusText(std::string_view strPane0, std::string_view strPane1) override;
  // Answers from m_qColours (a chosen colour) or cancels when the queue is empty.
  bool ChooseColour(Colorref& crInOut) override;
  // Answers from m_qDialogAnswers (OK with those values) or cancels when the queue is empty.
  bool RunDialog(const DialogSpec& dialog, int anValues[]) override;
  // Recorded as a message, and with its detail in m_aDetailed.
  void MessageWithDetail(std::string_view text, std::string_view caption,
                         std::string_view detail) override {
    MessageBox(text, caption, MsgButtons::Ok);
    m_aDetailed.push_back({std::string(text), std::string(detail)});
  }
  void ShowNotice(std::string_view strLine) override { m_aNotices.emplace_back(strLine); }
  void ShowDiagnostics(std::span<const std::string> astrLines) override {
    m_aDiagnostics.assign(astrLines.begin(), astrLines.end());
  }
  bool ShowFileInformation(const FileInformation& info) override {
    m_aFileInformation.push_back(info);
    return m_bFileInformationOk;
  }
  void SetDocumentTitle(std::string_view strTitle, bool bModified) override {
    m_strTitle = strTitle;
    m_bTitleModified = bModified;
  }

  std::vector<RecordedMessage> m_aMessages;
  // The messages shown with a detail, and the detail (message text, detail), in order.
  std::vector<std::pair<std::string, std::string>> m_aDetailed;
  std::vector<std::string> m_aNotices;
  std::deque<MsgResult> m_qAnswers;
  std::deque<Colorref> m_qColours;
  std::vector<Colorref> m_aColourDialogStarts;
  std::deque<std::vector<int>> m_qDialogAnswers;
  std::vector<std::string> m_aDiagnostics;  // the last import's lines
  std::vector<FileInformation> m_aFileInformation;
  bool m_bFileInformationOk = true;
  std::string m_strTitle;
  bool m_bTitleModified = false;
  // The buttons of each message box, in order.
  std::vector<MsgButtons> m_aMessageButtons;
  // The values each dialog opened with, in order.
  std::vector<std::vector<int>> m_aDialogStarts;
  std::vector<BusyCursor> m_aCursors;
  int m_nBeeps = 0;
  int m_nRepaints = 0;
  int m_nInitialUpdates = 0;
  int m_nProgressCalls = 0;
  bool m_bHasStatusBar = true;
  int m_nStatusUpdates = 0;
  std::string m_strPane0 = "unset", m_strPane1 = "unset";
  CRecordingCanvas m_canvas;
};

// Fixture for logic tests: a fresh program state and a recording platform installed.
class LogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    SetPlatform(&m_platform);
  }
  void TearDown() override { SetPlatform(nullptr); }

  CRecordingPlatform m_platform;
};

// Makes a scene in memory as an import would leave it: W x H window, nBands bands filled by
// fnValue(x, y, band), histograms recomputed, settings reset, DisplayMode::Prompt.
template <typename Fn>
void MakeScene(int nWidth, int nHeight, int nBands, Sensor eSensor, Fn fnValue) {
  g_nMaxX = nWidth - 1;
  g_nMaxY = nHeight - 1;
  g_nLastBand = nBands - 1;
  g_nSensor = eSensor;
  for (int x = 0; x < nWidth; ++x) {
    for (int y = 0; y < nHeight; ++y) {
      for (int b = 0; b < nBands; ++b) {
        g_aPixel[x][y].abBand[b] = static_cast<std::uint8_t>(fnValue(x, y, b + 1));
      }
    }
  }
  RecomputeAfterImport();
  ResetAfterImport();
}
