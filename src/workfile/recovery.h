// The recovery file: a copy of the work, kept in the user's data folder while it is not saved,
// so that a crash or a killed program does not lose it. The desktop drives it from a timer; the
// next start offers what a program that did not end normally left behind.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/state.h"
#include "workfile/workfile_format.h"

// When to write a copy, from the document's change count and a clock in milliseconds (any
// steady clock; tests drive their own). A copy follows a few seconds after the last change, so a
// stroke is not written dot by dot; while changes go on without a pause it still follows, but
// copies come at most once a minute.
class CRecoverySchedule {
 public:
  static constexpr std::int64_t kQuietMs = 3000;
  static constexpr std::int64_t kIntervalMs = 60000;

  // The document's change count at nNowMs; a new count is a change at that time.
  void NoteChanges(std::uint64_t nChanges, std::int64_t nNowMs);
  // Whether a copy should be taken now.
  bool Due(std::int64_t nNowMs) const;
  // A copy of the work at the count last noted was taken at nNowMs.
  void Written(std::int64_t nNowMs);
  // That copy could not be written: the same changes are due again, a minute later.
  void WriteFailed();
  // The work at nChanges is safe without a copy (saved, loaded, left): nothing is due, and the
  // next change is copied a few seconds after it, however recent the last copy was.
  void Settled(std::uint64_t nChanges);
  bool Pending() const { return m_nSeen != m_nWritten; }

 private:
  std::uint64_t m_nSeen = 0;
  std::uint64_t m_nWritten = 0;
  std::uint64_t m_nWrittenBefore = 0;
  std::int64_t m_nFirstChange = 0;  // the first change not in a copy
  std::int64_t m_nLastChange = 0;
  std::int64_t m_nLastWrite = 0;
  bool m_bWrittenOnce = false;
};

// A copy of the work as a work file with every section: taken on the program's thread (the
// settings and texts encoded, the window's pixel records copied), written on another from the
// copy alone, so the program may go on changing the state meanwhile.
class CRecoveryCopy {
 public:
  // Encodes the state's settings and copies the plane's window; false with the reason when a
  // text cannot be saved.
  bool Take(std::string& strReason);
  // Fills the pixel and mark blocks from the copied records and writes the file through the
  // atomic write; pbCancel, when set, stops it with the old file left as it was.
  bool Write(const std::string& strPath, const std::atomic<bool>* pbCancel,
             std::string& strReason);

 private:
  ByteBuffer m_abFile;
  PlaneBlocks m_blocks;
  std::vector<PixelRecord> m_aRecords;
};

// This program's recovery file and its lock, in strDir ("" switches recovery off). The lock
// (held while the program runs) tells other instances the file is not left behind.
void StartRecovery(const std::string& strDir);
const std::string& RecoveryFilePath();
// At start: the newest recovery file no running program holds. Asks "前回の作業が保存されずに終了
// しました。復元しますか？"; "復元" reads it as a work file (untitled and changed afterwards, the
// file becoming this program's copy), "破棄" removes it. A file that cannot be read is refused with
// the work file's messages and removed once the user has seen them. True when work was restored.
// fnBeforeAsking runs just before the question (the desktop takes its splash screen away).
bool OfferRecovery(const std::function<void()>& fnBeforeAsking = {});
// From the desktop's timer: notes changes, removes the copy once the work is saved or loaded,
// takes a copy when one is due and reports (once) a copy that cannot be written.
void RecoveryTick(std::int64_t nNowMs);
// Waits for a copy being written (tests and the benchmark).
void WaitForRecoveryWriter();
// A normal end: the copy is removed with its lock.
void StopRecovery();
