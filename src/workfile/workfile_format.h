// The work file's layout: the encoder writes the program state as a file of the current format;
// the decoder reads a whole file into a staging copy and checks it completely, so that nothing of
// the program state changes until the file is known to be whole and valid.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive.h"
#include "core/band_rule.h"
#include "core/state.h"

inline constexpr int kWorkFileVersion = 100;
// The version of the extension block after the last section (docs/FILES.md).
inline constexpr int kWorkFileExtensionVersion = 1;

// The work file's sections, in file order: the data (section 0), then the sections of the
// settings groups in the order they were registered. The save options hold one flag per section.
inline constexpr int kMaxSaveSections = 32;
inline constexpr int kSectionData = 0;
// The number of sections: 13 with the program's own groups (the format's version 100).
int SaveSectionCount();
// The index of the section named szName ("data", "coarse", "cat3", ...), -1 for none.
int SaveSectionIndex(std::string_view strName);
// The save options' label of section k, and the text shown beside it ("" for none).
std::string SaveSectionLabel(int k);
std::string SaveSectionDetail(int k);
// The flags of the next save, 1 for a section that goes into it.
extern int g_abSaveSection[kMaxSaveSections];

// A decoded file. Sections whose flag is not 1 hold nothing. The settings groups' sections are
// read into the groups' staging copies; pixels and marks are views into the file's bytes, valid
// while those are.
struct WorkFile {
  bool bPreviousFormat = false;  // first integer 0..3: only the data is used
  int abSection[kMaxSaveSections] = {};
  int nSensor = 0, nMaxX = 0, nMaxY = 0, nLastBand = 0;
  // Data.
  std::uint8_t aabHeader[kMaxBands][kHeaderBytes] = {};
  std::string astrUserText[kUserTexts];
  std::span<const std::uint8_t> abPixels;  // column by column, the bands of a pixel together
  // The training marks of category c at [c - 1], column by column, where the file has them.
  bool abMarks[kMaxBands] = {};
  std::span<const std::uint8_t> aabMarks[kMaxBands];

  int Pixels() const { return (nMaxX + 1) * (nMaxY + 1); }
};

// Where an encoded file's plane blocks start: the pixels and each category's marks (0: not in
// the file). Both are column-major, so the bytes of a run of columns are contiguous in each.
struct PlaneBlocks {
  std::size_t nPixelStart = 0;
  std::size_t anMarkStart[8] = {};
  // The window and band count the layout was made for: a writer on another thread goes by
  // these, not by the program state, which may have moved on.
  int nColumns = 0, nLines = 0, nBands = 0;
  bool Any() const;
};

// Pixel records column by column: record (x, y) at pRecords[x * nColumnStride + y]. The live
// plane has a stride of kMaxLines; a copy of the window alone has the window's height.
struct PlaneSource {
  const PixelRecord* pRecords;
  std::size_t nColumnStride;
};
PlaneSource LivePlane();

// EncodeWorkFile with the plane blocks left unfilled, for a writer that fills them while it
// writes. abSections: the flags of the sections to write (g_abSaveSection when null).
bool EncodeWorkFileLayout(ByteBuffer& abOut, PlaneBlocks& blocks, std::string& strReason,
                          const int* abSections = nullptr);
// Fills columns [nFirst, nEnd) of the plane blocks of an encoded file from a plane.
void FillPlaneColumns(std::uint8_t* pFile, const PlaneBlocks& blocks, int nFirst, int nEnd,
                      PlaneSource plane = LivePlane());

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

// Where a raster scene's window lies on the ground and how its wide values became bytes, as the
// last file read kept them (its extension records 3 and 4; nothing when it had none).
struct ScenePlace {
  bool bGeoreferenced = false;
  double adGeoTransform[6] = {};  // of the window itself
  std::string strWkt;
  int nEpsgCode = 0;
  int nRuleBands = 0;             // 0: no rules kept
  BandRule aRule[kMaxBands];
};
const ScenePlace& StagedScenePlace();

// Settings the program uses as band numbers, table indices or stretch bounds must be ones it
// can hold: a file with a band 200, or a stretch whose lower value is not below its upper one,
// is refused rather than taken into settings no picture could be drawn with. Each group checks
// its staged sections; false with the setting and its value in strReason.
bool SettingsInRange(const WorkFile& file, std::string& strReason);
// Every group's staged sections become its settings (a group whose sections were not in the
// file decides what it keeps).
void CommitSettingsSections(const WorkFile& file);

// Reads a whole file into staging; on an error strReason says what was wrong.
DecodeError DecodeWorkFile(std::span<const std::uint8_t> ab, WorkFile& file,
                           std::string& strReason);
