#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/text_format.h"

bool ReadWholeFile(const std::string& strPath, std::size_t nMaxBytes, const char* szKind,
                   ByteBuffer& ab, std::string& strReason) {
  // Non-blocking, so that a FIFO does not wait for a writer; only regular files are read.
  const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    strReason = std::strerror(errno);
    return false;
  }
  struct stat st = {};
  bool bOk = ::fstat(fd, &st) == 0;
  if (!bOk) {
    strReason = std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    strReason = "not a regular file";
    bOk = false;
  } else if (static_cast<std::size_t>(st.st_size) > nMaxBytes) {
    strReason = FormatText("%lld bytes, larger than any %s", static_cast<long long>(st.st_size), szKind);
    bOk = false;
  }
  if (bOk) {
    ab.resize(static_cast<std::size_t>(st.st_size));
    std::size_t nDone = 0;
    while (bOk && nDone < ab.size()) {
      const ssize_t n = ::read(fd, ab.data() + nDone, ab.size() - nDone);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        strReason = n < 0 ? std::strerror(errno) : "the file became shorter while it was read";
        bOk = false;
      } else {
        nDone += static_cast<std::size_t>(n);
      }
    }
  }
  ::close(fd);
  return bOk;
}

// Writes n bytes at nOffset; false with errno set when the file takes no more.
bool WriteAt(int fd, const std::uint8_t* p, std::size_t n, std::size_t nOffset) {
  while (n > 0) {
    const ssize_t nDone = ::pwrite(fd, p, n, static_cast<off_t>(nOffset));
    if (nDone < 0 && errno == EINTR) continue;
    if (nDone <= 0) {
      if (nDone == 0) errno = ENOSPC;
      return false;
    }
    p += nDone;
    n -= static_cast<std::size_t>(nDone);
    nOffset += static_cast<std::size_t>(nDone);
  }
  return true;
}

bool WriteFileAtomically(const std::string& strPathGiven, const std::function<bool(int)>& fnWrite,
                         std::string& strReason) {
  // A FIFO or a device in the target's place is not replaced (nor opened: a FIFO without a
  // reader would wait for one). A symbolic link is written through: the file it names is
  // replaced, the link stays.
  struct stat stTarget = {};
  if (::stat(strPathGiven.c_str(), &stTarget) == 0 && !S_ISREG(stTarget.st_mode)) {
    strReason = "not a regular file";
    return false;
  }
  std::string strPath = strPathGiven;
  if (::lstat(strPathGiven.c_str(), &stTarget) == 0 && S_ISLNK(stTarget.st_mode)) {
    if (char* szReal = ::realpath(strPathGiven.c_str(), nullptr)) {
      strPath = szReal;
      std::free(szReal);
    }
  }
  std::string strTemp = strPath + ".saving-XXXXXX";
  const int fd = ::mkstemp(strTemp.data());
  if (fd < 0) {
    strReason = std::strerror(errno);
    return false;
  }
  // The new file gets the old one's permissions, or the usual ones for a new file.
  struct stat st = {};
  mode_t nMode = 0;
  if (::stat(strPath.c_str(), &st) == 0) {
    nMode = st.st_mode & 07777;
  } else {
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    nMode = 0666 & ~nMask;
  }
  bool bOk = ::fchmod(fd, nMode) == 0 && fnWrite(fd) && ::fsync(fd) == 0;
  if (!bOk) strReason = std::strerror(errno);
  if (::close(fd) != 0 && bOk) {
    strReason = std::strerror(errno);
    bOk = false;
  }
  if (bOk && ::rename(strTemp.c_str(), strPath.c_str()) != 0) {
    strReason = std::strerror(errno);
    bOk = false;
  }
  if (!bOk) ::unlink(strTemp.c_str());
  return bOk;
}

bool WriteFileAtomically(const std::string& strPath, std::span<const std::uint8_t> ab,
                         std::string& strReason) {
  return WriteFileAtomically(
      strPath, [&](int fd) { return WriteAt(fd, ab.data(), ab.size(), 0); }, strReason);
}

std::string FileName(const std::string& strPath) {
  const std::size_t n = strPath.find_last_of('/');
  return n == std::string::npos ? strPath : strPath.substr(n + 1);
}
