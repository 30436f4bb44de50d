#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/text_format.h"

const char* SpecialFileKind(const std::string& strPath) {
  struct stat st = {};
  if (::stat(strPath.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return nullptr;
  if (S_ISFIFO(st.st_mode)) return "a named pipe";
  if (S_ISDIR(st.st_mode)) return "a folder";
  if (S_ISSOCK(st.st_mode)) return "a socket";
  return "a device";
}

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

CFileBeside::~CFileBeside() { Discard(); }

bool CFileBeside::Create(const std::string& strPath, std::string& strReason) {
  Discard();
  // A FIFO or a device in the target's place is not replaced (nor opened: a FIFO without a
  // reader would wait for one).
  struct stat stTarget = {};
  if (::stat(strPath.c_str(), &stTarget) == 0 && !S_ISREG(stTarget.st_mode)) {
    strReason = "not a regular file";
    return false;
  }
  m_strTarget = strPath;
  if (::lstat(strPath.c_str(), &stTarget) == 0 && S_ISLNK(stTarget.st_mode)) {
    if (char* szReal = ::realpath(strPath.c_str(), nullptr)) {
      m_strTarget = szReal;
      std::free(szReal);
    }
  }
  m_strTemp = m_strTarget + ".saving-XXXXXX";
  m_fd = ::mkstemp(m_strTemp.data());
  if (m_fd < 0) {
    strReason = std::strerror(errno);
    m_strTemp.clear();
    return false;
  }
  return true;
}

bool CFileBeside::ReserveName(const std::string& strPath, std::string& strReason) {
  if (!Create(strPath, strReason)) return false;
  ::close(m_fd);
  m_fd = -1;
  ::unlink(m_strTemp.c_str());
  m_bReserved = true;
  return true;
}

bool CFileBeside::Commit(std::string& strReason) {
  // A file the writer created by name is taken up now, never through a link put in its place.
  if (m_fd < 0 && m_bReserved) m_fd = ::open(m_strTemp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (m_fd < 0) {
    strReason = m_bReserved ? std::strerror(errno) : "no file to commit";
    Discard();
    return false;
  }
  // The new file gets the old one's permissions, or the usual ones for a new file.
  struct stat st = {};
  mode_t nMode = 0;
  if (::stat(m_strTarget.c_str(), &st) == 0) {
    nMode = st.st_mode & 07777;
  } else {
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    nMode = 0666 & ~nMask;
  }
  bool bOk = ::fchmod(m_fd, nMode) == 0 && ::fsync(m_fd) == 0;
  if (!bOk) strReason = std::strerror(errno);
  if (::close(m_fd) != 0 && bOk) {
    strReason = std::strerror(errno);
    bOk = false;
  }
  m_fd = -1;
  if (bOk && ::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) {
    strReason = std::strerror(errno);
    bOk = false;
  }
  if (bOk) m_strTemp.clear();
  Discard();
  return bOk;
}

void CFileBeside::Discard() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (!m_strTemp.empty()) ::unlink(m_strTemp.c_str());
  m_strTemp.clear();
  m_bReserved = false;
}

bool WriteFileAtomically(const std::string& strPath, const std::function<bool(int)>& fnWrite,
                         std::string& strReason) {
  CFileBeside file;
  if (!file.Create(strPath, strReason)) return false;
  if (!fnWrite(file.Descriptor())) {
    strReason = std::strerror(errno);
    return false;
  }
  return file.Commit(strReason);
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

std::string FileExtension(const std::string& strPath) {
  const std::string strName = FileName(strPath);
  const std::size_t n = strName.find_last_of('.');
  std::string str = n == std::string::npos ? std::string() : strName.substr(n);
  std::transform(str.begin(), str.end(), str.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return str;
}
