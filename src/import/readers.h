// Band file readers of the three scene formats and the staging area they read into.
//
// A reader never writes the pixel plane: it fills one band of the staging area (band-sequential,
// W bytes per line) and, for floppy and CEOS files, that band's staged header. Only a complete,
// error-free run is copied into g_aPixel and the header records, so a bad file cannot spoil the
// scene on show. Readers show no messages; the caller owns the error accounting.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"

// Where the window lies: W x H cells at scene column nOffsetX, line nOffsetY.
struct SceneWindow {
  int nWidth;
  int nHeight;
  int nOffsetX;
  int nOffsetY;
};

inline constexpr int kFloppyRecordBytes = 512;
inline constexpr int kHdfSceneLines = 6316;

// Record length of a CEOS band file. Every read of a CEOS band goes through here, so the import
// and the scroll re-read always agree.
int CeosRecordLength(int nBand);
// Line length of an HDF scene (6921 or 6845 bytes), 0 for other sensors.
int HdfSceneColumns(Sensor eSensor);
// True for the formats whose files begin with a header record that the import keeps.
bool SensorHasBandHeaders(Sensor eSensor);

// The bytes a band file must hold for its reader to read the window (floppy: the header record
// and every line; CEOS: the records up to the window's last line; HDF: the whole scene), with
// how they are made up in strLayout. 0 for no sensor.
std::int64_t BandBytesNeeded(Sensor eSensor, int nBand, const SceneWindow& window,
                             std::string& strLayout);

// A band file open for reading raw bytes, closed when the object goes.
class CBandFile {
 public:
  CBandFile() = default;
  ~CBandFile();
  CBandFile(const CBandFile&) = delete;
  CBandFile& operator=(const CBandFile&) = delete;

  // False when the path cannot be opened as a file (directories included).
  bool Open(const std::string& strPath);
  int Descriptor() const { return m_fd; }
  // Its length in bytes, -1 when unknown.
  std::int64_t Size() const;

 private:
  int m_fd = -1;
};

// Staged band nBand (1..8): H lines of W bytes, line y at y * W.
std::uint8_t* StagedBand(int nBand);
// The staging area as W x H pixels of eight band bytes each, line after line (what a reader
// that delivers whole pixels fills instead of the bands).
std::uint8_t* StagedPixels();
// Staged header record of band nBand (1..8), 512 bytes.
std::uint8_t* StagedHeader(int nBand);

// The format's reader for band nBand of the window. False when the file is too short for it (or
// cannot be read); the staged band is then incomplete and must not be committed.
bool ReadFloppyBand(const CBandFile& file, int nBand, const SceneWindow& window);
bool ReadCeosBand(const CBandFile& file, int nBand, const SceneWindow& window);
bool ReadHdfBand(const CBandFile& file, Sensor eSensor, int nBand, const SceneWindow& window);
// Picks the reader of the sensor; false for no sensor.
bool ReadBandWindow(Sensor eSensor, int nBand, const CBandFile& file, const SceneWindow& window);

// Copies the staged bands (bit b-1 of nBandMask for band b) of the W x H window into the band
// values of g_aPixel; the records' other bytes and the other bands stay as they are.
void CommitStagedBands(unsigned nBandMask, int nWidth, int nHeight);
// The same from the staged pixels.
void CommitStagedPixels(unsigned nBandMask, int nWidth, int nHeight);
// Copies the staged header records of the bands in nBandMask into g_aszBandHeader.
void CommitStagedHeaders(unsigned nBandMask);
