// The work file's layout: the encoder writes the program state as a file of the current format;
// the decoder reads a whole file into a staging copy and checks it completely, so that nothing of
// the program state changes until the file is known to be whole and valid.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/state.h"
#include "workfile/archive.h"

inline constexpr int kWorkFileVersion = 100;

// The section flags, in file order.
enum WorkFileSection : int {
  kSectionData = 0,
  kSectionComposite = 1,
  kSectionCoarse = 2,
  kSectionFine = 3,
  kSectionCategory1 = 4,  // categories 1..8 at 4..11
  kSectionHistogram = 12,
};
static_assert(kSaveSections == 13);

struct WorkFileCategory {
  std::string strName;
  Colorref crColour = 0;
  int bColourOn = 0, bClassify = 0;
  std::span<const std::uint8_t> abMarks;  // column by column (within the file's bytes)
};

// A decoded file. Sections whose flag is not 1 hold nothing. Pixels and marks are views into the
// file's bytes, valid while those are.
struct WorkFile {
  bool bPreviousFormat = false;  // first integer 0..3: only the data is used
  int abSection[kSaveSections] = {};
  int nSensor = 0, nMaxX = 0, nMaxY = 0, nLastBand = 0;
  // Data.
  std::uint8_t aabHeader[kMaxBands][kHeaderBytes] = {};
  std::string astrUserText[kUserTexts];
  std::span<const std::uint8_t> abPixels;  // column by column, the bands of a pixel together
  // Composite.
  int nCutOffRate = 0, nRedBand = 0, nGreenBand = 0, nBlueBand = 0;
  int anBounds[6] = {};  // red lower, upper, green lower, upper, blue lower, upper
  std::uint8_t abLut[768] = {};  // red, green, blue of value 0, then of 1, ...
  int bCutOffLinked = 0;
  // Coarse: per band, rank upper bounds 1..8, colouring flags 1..8, colours 1..8.
  int nCoarseBand = 0;
  int aanCoarse[kMaxBands][24] = {};
  // Fine: per band, interval flags 1..8, points 1..9, point colours 1..9.
  int nFineBand = 0;
  int aanFine[kMaxBands][26] = {};
  WorkFileCategory aCategory[8];
  // Histogram.
  int nHistCursor = 0;
  int anHistLineWidth[kMaxBands] = {};
  Colorref acrHistLineColour[kMaxBands] = {};

  int Pixels() const { return (nMaxX + 1) * (nMaxY + 1); }
};

// Where an encoded file's plane blocks start: the pixels and each category's marks (0: not in
// the file). Both are column-major, so the bytes of a run of columns are contiguous in each.
struct PlaneBlocks {
  std::size_t nPixelStart = 0;
  std::size_t anMarkStart[8] = {};
  bool Any() const;
};

// EncodeWorkFile with the plane blocks left unfilled, for a writer that fills them while it
// writes.
bool EncodeWorkFileLayout(ByteBuffer& abOut, PlaneBlocks& blocks, std::string& strReason);
// Fills columns [nFirst, nEnd) of the plane blocks of an encoded file from the plane.
void FillPlaneColumns(std::uint8_t* pFile, const PlaneBlocks& blocks, int nFirst, int nEnd);

// The program state as a current-format file with the sections g_abSaveSection asks for; false
// with the reason when a text has no Shift-JIS form (nothing is written then).
bool EncodeWorkFile(ByteBuffer& abOut, std::string& strReason);

enum class DecodeError {
  None,
  NotWorkFile,   // the first integer is neither 0..3 nor 100
  BadXLine,      // previous format with a last column outside 511..800
  OutOfRange,    // sensor, last column, line or band outside what the program holds
  EndsEarly,     // the file ends inside a section
};

// Settings the program uses as band numbers, table indices or stretch bounds must be ones it
// can hold: a file with a band 200, or a stretch whose lower value is not below its upper one,
// is refused rather than taken into settings no picture could be drawn with. False with the
// setting and its value in strReason.
bool SettingsInRange(const WorkFile& file, std::string& strReason);

// Reads a whole file into staging; on an error strReason says what was wrong.
DecodeError DecodeWorkFile(std::span<const std::uint8_t> ab, WorkFile& file,
                           std::string& strReason);
