#include "workfile/workfile_format.h"

#include <cstring>

#include "core/parallel.h"
#include "core/text_format.h"
#include "workfile/archive.h"

namespace {

// The interleaved band headers: byte i of bands 1..8, then byte i + 1 of bands 1..8, ...
void InterleaveHeaders(const std::uint8_t (&aab)[kMaxBands][kHeaderBytes], std::uint8_t* pOut) {
  for (int i = 0; i < kHeaderBytes; ++i) {
    for (int b = 0; b < kMaxBands; ++b) *pOut++ = aab[b][i];
  }
}

void SplitHeaders(const std::uint8_t* pIn, std::uint8_t (&aab)[kMaxBands][kHeaderBytes]) {
  for (int i = 0; i < kHeaderBytes; ++i) {
    for (int b = 0; b < kMaxBands; ++b) aab[b][i] = *pIn++;
  }
}

bool InPlane(int nMaxX, int nMaxY, int nLastBand) {
  return nMaxX >= 0 && nMaxX < kMaxColumns && nMaxY >= 0 && nMaxY < kMaxLines &&
         nLastBand >= 0 && nLastBand < kMaxBands;
}

bool ReadInts(ArchiveReader& in, int* pn, int nCount);

// Reads the data section (D1 to D3); false when the file ends inside it. The previous format
// has nUnusedInts section flags between the texts and the pixels.
bool ReadData(ArchiveReader& in, WorkFile& file, int nUnusedInts = 0) {
  std::uint8_t abHeaders[kMaxBands * kHeaderBytes];
  if (!in.Bytes(abHeaders, sizeof abHeaders)) return false;
  SplitHeaders(abHeaders, file.aabHeader);
  for (std::string& str : file.astrUserText) {
    if (!in.String(str)) return false;
  }
  int anUnused[8];
  if (!ReadInts(in, anUnused, nUnusedInts)) return false;
  const std::size_t nBytes = static_cast<std::size_t>(file.Pixels()) * (file.nLastBand + 1);
  return in.View(nBytes, file.abPixels);
}

bool ReadInts(ArchiveReader& in, int* pn, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    std::int32_t n = 0;
    if (!in.Int(n)) return false;
    pn[i] = n;
  }
  return true;
}

bool ReadSettings(ArchiveReader& in, WorkFile& file) {
  if (file.abSection[kSectionComposite] == 1) {
    int an[4];
    if (!ReadInts(in, an, 4) || !ReadInts(in, file.anBounds, 6) ||
        !in.Bytes(file.abLut, sizeof file.abLut) || !ReadInts(in, &file.bCutOffLinked, 1)) {
      return false;
    }
    file.nCutOffRate = an[0];
    file.nRedBand = an[1];
    file.nGreenBand = an[2];
    file.nBlueBand = an[3];
  }
  if (file.abSection[kSectionCoarse] == 1) {
    if (!ReadInts(in, &file.nCoarseBand, 1)) return false;
    for (auto& an : file.aanCoarse) {
      if (!ReadInts(in, an, 24)) return false;
    }
  }
  if (file.abSection[kSectionFine] == 1) {
    if (!ReadInts(in, &file.nFineBand, 1)) return false;
    for (auto& an : file.aanFine) {
      if (!ReadInts(in, an, 26)) return false;
    }
  }
  for (int c = 0; c < 8; ++c) {
    if (file.abSection[kSectionCategory1 + c] != 1) continue;
    WorkFileCategory& cat = file.aCategory[c];
    int an[3];
    if (!in.String(cat.strName) || !ReadInts(in, an, 3)) return false;
    cat.crColour = static_cast<Colorref>(an[0]);
    cat.bColourOn = an[1];
    cat.bClassify = an[2];
    if (!in.View(static_cast<std::size_t>(file.Pixels()), cat.abMarks)) return false;
  }
  if (file.abSection[kSectionHistogram] == 1) {
    int anColour[kMaxBands];
    if (!ReadInts(in, &file.nHistCursor, 1) || !ReadInts(in, file.anHistLineWidth, kMaxBands) ||
        !ReadInts(in, anColour, kMaxBands)) {
      return false;
    }
    for (int b = 0; b < kMaxBands; ++b) file.acrHistLineColour[b] = static_cast<Colorref>(anColour[b]);
  }
  return true;
}

// The pixel block (at nPixelStart, unless 0) and the mark blocks (at anMarkStart[c], unless 0) of
// a file being written, filled in one pass over the plane on both cores: each record is read
// once for its bands and its marks.
void FillPlaneBlocks(std::uint8_t* pFile, std::size_t nPixelStart,
                     const std::size_t (&anMarkStart)[8]) {
  const int nBands = g_nLastBand + 1;
  const int nLines = WindowHeight();
  std::uint8_t* apMarks[8];
  int anCategory[8], nCategories = 0;
  for (int c = 0; c < 8; ++c) {
    if (anMarkStart[c] == 0) continue;
    apMarks[nCategories] = pFile + anMarkStart[c];
    anCategory[nCategories++] = c;
  }
  std::uint8_t* const pPixels = nPixelStart ? pFile + nPixelStart : nullptr;
  if (!pPixels && nCategories == 0) return;
  ForColumnParts(WindowWidth(), nLines, [&](int nFirst, int nEnd, int) {
    // Local copies: the byte stores could alias anything reached through memory.
    std::uint8_t* ap[8];
    int an[8];
    for (int k = 0; k < 8; ++k) {
      ap[k] = apMarks[k];
      an[k] = anCategory[k];
    }
    const int n = nCategories;
    std::uint8_t* const pBandsOut = pPixels;
    for (int x = nFirst; x < nEnd; ++x) {
      std::size_t i = static_cast<std::size_t>(x) * nLines;
      for (int y = 0; y < nLines; ++y, ++i) {
        const PixelRecord& record = g_aPixel[x][y];
        if (pBandsOut) {
          std::uint8_t* pOut = pBandsOut + i * static_cast<std::size_t>(nBands);
          if (nBands == kMaxBands) {
            std::memcpy(pOut, record.abBand, kMaxBands);  // a fixed size: no call
          } else {
            for (int b = 0; b < nBands; ++b) pOut[b] = record.abBand[b];
          }
        }
        if (n == 8) {  // every category: a fixed loop the compiler unrolls
          for (int k = 0; k < 8; ++k) ap[k][i] = record.abTrainMark[k];
        } else {
          for (int k = 0; k < n; ++k) ap[k][i] = record.abTrainMark[an[k]];
        }
      }
    }
  });
}

}  // namespace

bool EncodeWorkFile(ByteBuffer& abOut, std::string& strReason) {
  ArchiveWriter out(std::move(abOut));
  const int* ab = g_abSaveSection;
  out.Int(kWorkFileVersion);
  for (int i = 0; i < kSaveSections; ++i) out.Int(ab[i]);
  out.Int(SensorCode(g_nSensor));
  out.Int(g_nMaxX);
  out.Int(g_nMaxY);
  out.Int(g_nLastBand);

  const bool bPlane = InPlane(g_nMaxX, g_nMaxY, g_nLastBand);
  std::size_t nPixelStart = 0;  // 0: no pixels in the file
  if (ab[kSectionData] == 1) {
    std::uint8_t abHeaders[kMaxBands * kHeaderBytes];
    InterleaveHeaders(g_aszBandHeader, abHeaders);
    out.Bytes(abHeaders, sizeof abHeaders);
    for (const std::string& str : g_astrUserText) {
      if (!out.String(str)) {
        strReason = FormatText("the text \"%s\" has characters that cannot be saved", str.c_str());
        return false;
      }
    }
    if (bPlane) {
      // Room for the pixels; they are filled with the marks in one pass over the plane below.
      nPixelStart = out.Data().size();
      out.Data().resize(nPixelStart + static_cast<std::size_t>(WindowWidth()) * WindowHeight() *
                                          static_cast<std::size_t>(g_nLastBand + 1));
    }
  }
  if (ab[kSectionComposite] == 1) {
    for (int n : {g_nCutOffRate, g_nRedBand, g_nGreenBand, g_nBlueBand, g_nRedLower, g_nRedUpper,
                  g_nGreenLower, g_nGreenUpper, g_nBlueLower, g_nBlueUpper}) {
      out.Int(n);
    }
    for (int v = 0; v < 256; ++v) {
      const std::uint8_t abRgb[3] = {g_abRedLut[v], g_abGreenLut[v], g_abBlueLut[v]};
      out.Bytes(abRgb, 3);
    }
    out.Int(g_bCutOffLinked);
  }
  if (ab[kSectionCoarse] == 1) {
    out.Int(g_nCoarseBand);
    for (int b = 1; b <= kMaxBands; ++b) {
      for (int k = 1; k <= 8; ++k) out.Int(g_anRankUpper[k][b]);
      for (int k = 1; k <= 8; ++k) out.Int(g_anRankColourOn[k][b]);
      for (int k = 1; k <= 8; ++k) out.Int(static_cast<std::int32_t>(g_acrRankColour[k][b]));
    }
  }
  if (ab[kSectionFine] == 1) {
    out.Int(g_nFineBand);
    for (int b = 1; b <= kMaxBands; ++b) {
      for (int k = 1; k <= 8; ++k) out.Int(g_anFineSpanOn[k][b]);
      for (int k = 1; k <= 9; ++k) out.Int(g_anFinePoint[k][b]);
      for (int k = 1; k <= 9; ++k) out.Int(static_cast<std::int32_t>(g_acrPointColour[k][b]));
    }
  }
  // The category sections with room for their marks (filled with the pixels below).
  std::size_t anMarkStart[8] = {};
  for (int c = 1; c <= 8; ++c) {
    if (ab[kSectionCategory1 + c - 1] != 1) continue;
    if (!out.String(g_astrCategoryName[c])) {
      strReason = FormatText("the name of category %d (\"%s\") has characters that cannot be saved",
                             c, g_astrCategoryName[c].c_str());
      return false;
    }
    out.Int(static_cast<std::int32_t>(g_acrCategoryColour[c]));
    out.Int(g_abClassColourOn[c]);
    out.Int(g_abClassify[c]);
    if (bPlane) {
      anMarkStart[c - 1] = out.Data().size();
      out.Data().resize(out.Data().size() + static_cast<std::size_t>(WindowWidth()) * WindowHeight());
    }
  }
  if (ab[kSectionHistogram] == 1) {
    out.Int(g_nHistCursor);
    for (int b = 1; b <= kMaxBands; ++b) out.Int(g_anHistLineWidth[b]);
    for (int b = 1; b <= kMaxBands; ++b) out.Int(static_cast<std::int32_t>(g_acrHistLineColour[b]));
  }
  if (bPlane) FillPlaneBlocks(out.Data().data(), nPixelStart, anMarkStart);
  abOut = std::move(out.Data());
  return true;
}

DecodeError DecodeWorkFile(std::span<const std::uint8_t> ab, WorkFile& file,
                           std::string& strReason) {
  file = WorkFile{};
  ArchiveReader in(ab);
  std::int32_t nFirst = 0;
  auto endsEarly = [&] {
    strReason = FormatText("the file ends early (%zu bytes, more needed after byte %zu)",
                           ab.size(), in.Offset());
    return DecodeError::EndsEarly;
  };
  if (!in.Int(nFirst)) return endsEarly();

  if (nFirst >= 0 && nFirst <= 3) {
    // The previous format: the sensor, the extent, an unused integer, the data with five
    // section flags between the texts and the pixels; its settings are not used.
    file.bPreviousFormat = true;
    file.nSensor = nFirst;
    int an[4];
    if (!ReadInts(in, an, 4)) return endsEarly();
    file.nMaxX = an[0];
    file.nMaxY = an[1];
    file.nLastBand = an[2];
    if (file.nMaxX < 511 || file.nMaxX > 800) {
      strReason = FormatText("the last column, %d, is outside 511..800", file.nMaxX);
      return DecodeError::BadXLine;
    }
    if (!InPlane(file.nMaxX, file.nMaxY, file.nLastBand)) {
      strReason = FormatText("the last line (%d) or band (%d) is outside the program's limits",
                             file.nMaxY, file.nLastBand);
      return DecodeError::OutOfRange;
    }
    if (!ReadData(in, file, 5)) return endsEarly();
    file.abSection[kSectionData] = 1;
    return DecodeError::None;
  }
  if (nFirst != kWorkFileVersion) {
    strReason = FormatText("it begins with %d, which is no work file's version", nFirst);
    return DecodeError::NotWorkFile;
  }
  int an[4];
  if (!ReadInts(in, file.abSection, kSaveSections) || !ReadInts(in, an, 4)) return endsEarly();
  file.nSensor = an[0];
  file.nMaxX = an[1];
  file.nMaxY = an[2];
  file.nLastBand = an[3];
  if (!(file.nSensor >= 0 && file.nSensor <= 5) || !InPlane(file.nMaxX, file.nMaxY, file.nLastBand)) {
    strReason = FormatText("its sensor %d, last column %d, last line %d or last band %d is outside "
                           "what the program holds",
                           file.nSensor, file.nMaxX, file.nMaxY, file.nLastBand);
    return DecodeError::OutOfRange;
  }
  if (file.abSection[kSectionData] == 1 && !ReadData(in, file)) return endsEarly();
  if (!ReadSettings(in, file)) return endsEarly();
  return DecodeError::None;
}
