#include "workfile/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <thread>

#include "core/document.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "workfile/messages.h"
#include "workfile/workfile.h"

// --- When ----------------------------------------------------------------------------------------

void CRecoverySchedule::NoteChanges(std::uint64_t nChanges, std::int64_t nNowMs) {
  if (nChanges == m_nSeen) return;
  if (!Pending()) m_nFirstChange = nNowMs;
  m_nLastChange = nNowMs;
  m_nSeen = nChanges;
}

bool CRecoverySchedule::Due(std::int64_t nNowMs) const {
  if (!Pending()) return false;
  if (m_bWrittenOnce && nNowMs - m_nLastWrite < kIntervalMs) return false;
  return nNowMs - m_nLastChange >= kQuietMs || nNowMs - m_nFirstChange >= kIntervalMs;
}

void CRecoverySchedule::Written(std::int64_t nNowMs) {
  m_nWrittenBefore = m_nWritten;
  m_nWritten = m_nSeen;
  m_nLastWrite = nNowMs;
  m_bWrittenOnce = true;
}

void CRecoverySchedule::WriteFailed() { m_nWritten = m_nWrittenBefore; }

void CRecoverySchedule::Settled(std::uint64_t nChanges) {
  m_nSeen = m_nWritten = m_nWrittenBefore = nChanges;
  m_bWrittenOnce = false;
}

// --- What ----------------------------------------------------------------------------------------

bool CRecoveryCopy::Take(std::string& strReason) {
  // Every section, whatever the save options say: the copy is the whole work.
  static const auto kabAll = [] {
    std::array<int, kMaxSaveSections> ab;
    ab.fill(1);
    return ab;
  }();
  if (!EncodeWorkFileLayout(m_abFile, m_blocks, strReason, kabAll.data())) return false;
  if (!m_blocks.Any()) return true;
  const std::size_t nLines = static_cast<std::size_t>(m_blocks.nLines);
  // Kept from one copy to the next: its pages are not faulted in again each time.
  if (m_aRecords.size() < nLines * static_cast<std::size_t>(m_blocks.nColumns)) {
    m_aRecords.resize(nLines * static_cast<std::size_t>(m_blocks.nColumns));
  }
  ForColumnParts(m_blocks.nColumns, m_blocks.nLines, [&](int nFirst, int nEnd, int) {
    for (int x = nFirst; x < nEnd; ++x) {
      std::memcpy(static_cast<void*>(&m_aRecords[static_cast<std::size_t>(x) * nLines]),
                  &g_aPixel[x][0], nLines * sizeof(PixelRecord));
    }
  });
  return true;
}

bool CRecoveryCopy::Write(const std::string& strPath, const std::atomic<bool>* pbCancel,
                          std::string& strReason) {
  if (m_blocks.Any()) {
    FillPlaneColumns(m_abFile.data(), m_blocks, 0, m_blocks.nColumns,
                     {m_aRecords.data(), static_cast<std::size_t>(m_blocks.nLines)});
  }
  return WriteFileAtomically(
      strPath,
      [&](int fd) {
        // In pieces, so that a save or a normal end need not wait for the whole file.
        constexpr std::size_t kPiece = 1u << 20;
        for (std::size_t n = 0; n < m_abFile.size(); n += kPiece) {
          if (pbCancel && pbCancel->load(std::memory_order_relaxed)) {
            errno = ECANCELED;
            return false;
          }
          if (!WriteAt(fd, m_abFile.data() + n, std::min(kPiece, m_abFile.size() - n), n)) {
            return false;
          }
        }
        return true;
      },
      strReason);
}

// --- Where ---------------------------------------------------------------------------------------

namespace {

constexpr const char* kszPrefix = "recovery-";
constexpr const char* kszSuffix = ".glw";
constexpr const char* kszLockSuffix = ".lock";

std::string LockPathOf(const std::string& strFile) {
  return strFile.substr(0, strFile.size() - std::strlen(kszSuffix)) + kszLockSuffix;
}

// strLock opened and locked without waiting; -1 when another program holds it (or its owner
// removed it meanwhile: a lock on a file nobody else can find would guard nothing).
int LockFile(const std::string& strLock) {
  const int fd = ::open(strLock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  struct stat stOpen = {}, stNamed = {};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &stOpen) != 0 ||
      ::stat(strLock.c_str(), &stNamed) != 0 || stOpen.st_ino != stNamed.st_ino ||
      stOpen.st_dev != stNamed.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

struct Recovery {
  std::string strDir, strPath, strLock;
  int fdLock = -1;
  CRecoverySchedule schedule;
  CRecoveryCopy copy;
  std::thread writer;
  std::atomic<bool> bBusy{false};
  std::atomic<bool> bCancel{false};
  bool bWriteOk = true;        // the writer's result, read once it is done
  std::string strWriteReason;
  bool bTold = false;          // a copy that cannot be written is reported once
  std::uint64_t nSettled = 0;  // the document's settled count last seen
  bool bInTick = false;

  ~Recovery() {
    bCancel = true;
    if (writer.joinable()) writer.join();
  }
};

Recovery& TheRecovery() {
  static Recovery s_recovery;
  return s_recovery;
}

void TellOnce(Recovery& r, const std::string& strReason) {
  if (r.bTold) return;
  r.bTold = true;
  ShowMessage(FormatText(kszMsgRecoveryCannotWrite, r.strPath.c_str(), strReason.c_str()),
              kszCapRecovery);
}

// The writer's result, once it is done (bWait: waits for it).
void CollectWriter(Recovery& r, bool bWait) {
  if (!r.writer.joinable() || (!bWait && r.bBusy.load(std::memory_order_acquire))) return;
  r.writer.join();
  if (r.bWriteOk || r.bCancel) return;
  r.schedule.WriteFailed();
  TellOnce(r, r.strWriteReason);
}

// The copy goes: a write under way is stopped first, so it cannot put the file back.
void RemoveCopy(Recovery& r) {
  r.bCancel = true;
  if (r.writer.joinable()) r.writer.join();
  r.bCancel = false;
  if (!r.strPath.empty()) ::unlink(r.strPath.c_str());
}

void StartWriter(Recovery& r, std::int64_t nNowMs) {
  r.schedule.Written(nNowMs);
  std::string strReason;
  if (!r.copy.Take(strReason)) {
    r.schedule.WriteFailed();
    TellOnce(r, strReason);
    return;
  }
  r.bBusy.store(true, std::memory_order_relaxed);
  r.writer = std::thread([&r] {
    r.bWriteOk = r.copy.Write(r.strPath, &r.bCancel, r.strWriteReason);
    r.bBusy.store(false, std::memory_order_release);
  });
}

// The newest recovery file in the folder that no running program holds, with its lock now
// held by this one.
struct LeftBehind {
  std::string strPath, strLock;
  int fdLock = -1;
};

bool ClaimLeftBehind(const Recovery& r, LeftBehind& claim) {
  DIR* pDir = ::opendir(r.strDir.c_str());
  if (!pDir) return false;
  std::vector<std::pair<std::int64_t, std::string>> aFiles;
  const std::size_t nPrefix = std::strlen(kszPrefix), nSuffix = std::strlen(kszSuffix);
  const std::size_t nLockSuffix = std::strlen(kszLockSuffix);
  std::vector<std::string> astrLocks;
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string strName = pEntry->d_name;
    if (strName.size() > nPrefix + nLockSuffix && strName.compare(0, nPrefix, kszPrefix) == 0 &&
        strName.compare(strName.size() - nLockSuffix, nLockSuffix, kszLockSuffix) == 0) {
      astrLocks.push_back(r.strDir + "/" + strName);
      continue;
    }
    if (strName.size() <= nPrefix + nSuffix || strName.compare(0, nPrefix, kszPrefix) != 0 ||
        strName.compare(strName.size() - nSuffix, nSuffix, kszSuffix) != 0) {
      continue;
    }
    const std::string strPath = r.strDir + "/" + strName;
    struct stat st = {};
    if (strPath == r.strPath || ::lstat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    aFiles.emplace_back(static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                        strPath);
  }
  ::closedir(pDir);
  // A program killed before its first copy leaves its lock alone: nobody holds it, it goes.
  // Not one made in the last minute: a program starting now may not have locked it yet.
  const std::time_t nNow = std::time(nullptr);
  for (const std::string& strLock : astrLocks) {
    const std::string strFile = strLock.substr(0, strLock.size() - nLockSuffix) + kszSuffix;
    struct stat st = {};
    if (strLock == r.strLock || ::lstat(strFile.c_str(), &st) == 0 ||
        ::lstat(strLock.c_str(), &st) != 0 || nNow - st.st_mtime < 60) {
      continue;
    }
    const int fd = LockFile(strLock);
    if (fd < 0) continue;
    if (::lstat(strFile.c_str(), &st) != 0) ::unlink(strLock.c_str());
    ::close(fd);
  }
  std::sort(aFiles.begin(), aFiles.end(), std::greater<>());
  for (const auto& [nTime, strPath] : aFiles) {
    const std::string strLock = LockPathOf(strPath);
    const int fd = LockFile(strLock);
    if (fd < 0) continue;
    struct stat st = {};
    if (::lstat(strPath.c_str(), &st) != 0) {  // its owner ended normally meanwhile
      ::unlink(strLock.c_str());
      ::close(fd);
      continue;
    }
    claim = {strPath, strLock, fd};
    return true;
  }
  return false;
}

void Release(LeftBehind& claim, bool bRemoveFile) {
  if (bRemoveFile) ::unlink(claim.strPath.c_str());
  ::unlink(claim.strLock.c_str());
  ::close(claim.fdLock);
  claim.fdLock = -1;
}

}  // namespace

void StartRecovery(const std::string& strDir) {
  Recovery& r = TheRecovery();
  StopRecovery();
  if (strDir.empty()) return;
  r.strDir = strDir;
  // The process and its start: a later program with the same process id gets another name.
  timespec ts = {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  const std::string strStem = strDir + "/" + kszPrefix +
                              FormatText("%ld-%lld%09ld", static_cast<long>(::getpid()),
                                         static_cast<long long>(ts.tv_sec), ts.tv_nsec);
  r.strPath = strStem + kszSuffix;
  r.strLock = strStem + kszLockSuffix;
  // Without a lock (a folder that takes no file) the copies fail too, and that is said then.
  r.fdLock = LockFile(r.strLock);
  r.schedule.Settled(DocumentChangeCount());
  r.nSettled = DocumentSettledCount();
  r.bTold = false;
}

const std::string& RecoveryFilePath() { return TheRecovery().strPath; }

bool OfferRecovery(const std::function<void()>& fnBeforeAsking) {
  Recovery& r = TheRecovery();
  LeftBehind claim;
  if (r.strDir.empty() || !ClaimLeftBehind(r, claim)) return false;
  if (fnBeforeAsking) fnBeforeAsking();
  const MsgResult eAnswer =
      ThePlatform().MessageBox(kszMsgRecoveryQuestion, kszCapRecovery, MsgButtons::RestoreDiscard);
  // A file that cannot be read says so with the work file's messages; once the user has seen
  // them it goes, like a discarded one.
  if (eAnswer != MsgResult::Restore || !OpenRecoveredWorkFile(claim.strPath)) {
    Release(claim, true);
    return false;
  }
  // The file holds the work as it now is: it becomes this program's copy, so a crash before
  // the next change still leaves it.
  RemoveCopy(r);
  const bool bAdopted = ::rename(claim.strPath.c_str(), r.strPath.c_str()) == 0;
  Release(claim, !bAdopted);
  r.nSettled = DocumentSettledCount();
  // Not adopted: the restored work is copied again a few seconds from now.
  r.schedule.Settled(bAdopted ? DocumentChangeCount() : DocumentChangeCount() - 1);
  return true;
}

void RecoveryTick(std::int64_t nNowMs) {
  Recovery& r = TheRecovery();
  if (r.strDir.empty() || r.bInTick) return;  // a message below runs the timer again
  r.bInTick = true;
  CollectWriter(r, false);
  const bool bModified = DocumentModified();  // also notes settings changed outside commands
  if (DocumentSettledCount() != r.nSettled) {
    // Saved, loaded or left: the copy is not needed. A change made since is still copied.
    r.nSettled = DocumentSettledCount();
    RemoveCopy(r);
    r.schedule.Settled(bModified ? DocumentChangeCount() - 1 : DocumentChangeCount());
  }
  r.schedule.NoteChanges(DocumentChangeCount(), nNowMs);
  if (bModified && HasData() && !r.writer.joinable() && r.schedule.Due(nNowMs)) {
    StartWriter(r, nNowMs);
  }
  r.bInTick = false;
}

void WaitForRecoveryWriter() { CollectWriter(TheRecovery(), true); }

void StopRecovery() {
  Recovery& r = TheRecovery();
  if (r.strDir.empty()) return;
  RemoveCopy(r);
  if (r.fdLock >= 0) {
    ::unlink(r.strLock.c_str());
    ::close(r.fdLock);
    r.fdLock = -1;
  }
  r.strDir.clear();
  r.strPath.clear();
  r.strLock.clear();
}
