#include "import/bmp_import.h"

#include <algorithm>
#include <cstring>

#include "core/dialogs.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"
#include "core/view.h"
#include "import/bmp.h"
#include "import/import.h"
#include "import/messages.h"

namespace {

// Larger than any picture the plane can hold (1024 x 1024 x 4 bytes and its headers), with room
// for what some writers put after the pixels.
constexpr std::size_t kMaxBmpBytes = 64u << 20;

// The file's bytes and their layout, or the message that refuses them: the first line as it
// always was, then the file, then what is wrong with it where that line does not say.
bool ReadPicture(const std::string& strPath, ByteBuffer& ab, BmpLayout& layout) {
  auto refuse = [&](const char* szFirst, const std::string& strReason) {
    ShowMessage(FormatText(kszMsgBmpFileReason, szFirst, strPath.c_str(), strReason.c_str()),
                kszAppCaption);
    return false;
  };
  std::string strReason;
  if (!ReadWholeFile(strPath, kMaxBmpBytes, "BMP picture", ab, strReason)) {
    // A file that cannot be opened or read says what the truncated one says.
    return refuse(kszMsgBmpReadError, strReason);
  }
  std::string strDetail;
  switch (ReadBmpLayout(ab, layout, strDetail)) {
    case BmpFault::None: return true;
    case BmpFault::Short: return refuse(kszMsgBmpShort, strDetail);
    case BmpFault::NotBitmap: return refuse(kszMsgBmpNotBitmap, strDetail);
    case BmpFault::Truncated: return refuse(kszMsgBmpReadError, strDetail);
    case BmpFault::Unsupported:
      ShowMessage(FormatText(kszMsgBmpFile, FormatText(kszMsgBmpUnsupported, strDetail.c_str()).c_str(),
                             strPath.c_str()),
                  kszAppCaption);
      return false;
    case BmpFault::TooLarge:
      ShowMessage(FormatText(kszMsgBmpFile, FormatText(kszMsgBmpTooLarge, strDetail.c_str()).c_str(),
                             strPath.c_str()),
                  kszAppCaption);
      return false;
  }
  return false;
}

}  // namespace

bool ImportBmpFile(const std::string& strPath) {
  ByteBuffer ab;
  BmpLayout layout;
  {
    BusyCursorScope busy(BusyCursor::Wait);
    if (!ReadPicture(strPath, ab, layout)) return false;
  }
  // From here on nothing can fail: the layout was checked against the file's length.
  BusyCursorScope busy(BusyCursor::AppStarting);
  const int W = layout.nWidth, H = layout.nHeight;
  g_nDisplayMode = DisplayMode::Bmp;
  g_nSensor = Sensor::Etm6921;
  g_bWindowHasFiles = 0;  // no band files behind these bands: nothing to scroll over
  g_nMaxX = W - 1;
  g_nMaxY = H - 1;
  g_nLastBand = 2;
  InitialUpdateView();

  // The picture into the off-screen image, as the file shows it.
  static std::uint8_t s_abBgr[kMaxColumns * 3];
  for (int y = 0; y < H; ++y) {
    DecodeBmpRow(ab, layout, y, s_abBgr);
    std::uint32_t* pOut = &OffscreenPixel(0, y);
    const std::uint8_t* pIn = s_abBgr;
    for (int x = 0; x < W; ++x, pIn += 3) pOut[x] = ScreenPixel(pIn[2], pIn[1], pIn[0]);
  }
  ThePlatform().RepaintNow();
  Canvas& canvas = ThePlatform().WindowCanvas();
  canvas.TextOut(0, 0, 15, kszBmpProgress);

  // The bands are the colours of the picture's pixels. Blocks of lines are taken column by
  // column, so that each column's records are written as one run rather than one cache line
  // per pixel; the count shows the last line of each block (a picture of one line, which has
  // no H - 1 to divide by, shows 100 at once).
  constexpr int kBlockLines = 16;
  int nShown = -1;
  for (int y0 = 0; y0 < H; y0 += kBlockLines) {
    const int nLines = std::min(kBlockLines, H - y0);
    for (int x = 0; x < W; ++x) {
      PixelRecord* p = &g_aPixel[x][y0];
      for (int l = 0; l < nLines; ++l) {
        const std::uint32_t px = OffscreenPixel(x, y0 + l);
        p[l].abBand[0] = static_cast<std::uint8_t>(px);
        p[l].abBand[1] = static_cast<std::uint8_t>(px >> 8);
        p[l].abBand[2] = static_cast<std::uint8_t>(px >> 16);
      }
    }
    const int y = y0 + nLines - 1;
    const int nPercent = H > 1 ? y * 100 / (H - 1) : 100;
    if (nPercent != nShown) {
      canvas.TextOut(220, 0, 15, FormatText(kszBmpPercent, nPercent));
      ThePlatform().ShowProgress();
      nShown = nPercent;
    }
  }

  std::memset(g_aszBandHeader, 0, sizeof g_aszBandHeader);
  RecomputeAfterImport();
  ResetAfterImport();
  SetDocumentScene(strPath);
  g_nDisplayMode = DisplayMode::Prompt;
  ThePlatform().RepaintNow();
  ThePlatform().SetStatusText(StatusPane0Text(), StatusPane1Text());
  return true;
}
