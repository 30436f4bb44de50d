// Whole files in and out: reading only regular files without waiting on a FIFO, and writing
// through a temporary file renamed over the target, so that a failed write never destroys the
// file that was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// Allocates without value-initialising: a buffer that is about to be written whole need not be
// zeroed first (for a 17 MB work file that is a pass over memory saved).
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// The bytes of a whole file.
using ByteBuffer = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

// The last part of a path: the file's own name.
std::string FileName(const std::string& strPath);
// The file name's last dot and what follows, in lower case (".tif"); "" without a dot.
std::string FileExtension(const std::string& strPath);

// What stands at strPath when it is there but is not a regular file ("a named pipe", "a
// folder", "a device", "a socket"), for readers that must not hand it to a library (a FIFO
// would keep the open waiting for a writer); nullptr for a regular file or nothing at all.
const char* SpecialFileKind(const std::string& strPath);

// The whole file at strPath, read at once; false with the reason for anything that is not a
// readable regular file of at most nMaxBytes (szKind names what such a file would be).
bool ReadWholeFile(const std::string& strPath, std::size_t nMaxBytes, const char* szKind,
                   ByteBuffer& ab, std::string& strReason);

// Writes n bytes at nOffset of an open file; false with errno set when the file takes no more.
bool WriteAt(int fd, const std::uint8_t* p, std::size_t n, std::size_t nOffset);

// A file written beside its target (NAME.saving-XXXXXX in the same folder) and renamed over it
// once complete, for writers that need the file by its name (GDAL) as well as by descriptor.
// Whatever is not committed is removed when the object goes.
class CFileBeside {
 public:
  CFileBeside() = default;
  ~CFileBeside();
  CFileBeside(const CFileBeside&) = delete;
  CFileBeside& operator=(const CFileBeside&) = delete;

  // Makes the temporary file; false with the reason when the folder takes none, or when the
  // target exists and is not a regular file (a FIFO, a device, a folder). A symbolic link
  // as target is written through: the file it names is replaced, the link stays.
  bool Create(const std::string& strPath, std::string& strReason);
  // The same name, but the file is left for the writer to create under TemporaryPath(): for
  // a writer that will not take a file that exists already (SQLite's GeoPackage).
  bool ReserveName(const std::string& strPath, std::string& strReason);
  const std::string& TemporaryPath() const { return m_strTemp; }
  // The file that will be replaced (a link's target resolved).
  const std::string& TargetPath() const { return m_strTarget; }
  int Descriptor() const { return m_fd; }
  // Flushes the file to the device, gives it the target's permissions (or the usual ones of a
  // new file) and renames it over the target; false with the reason, the temporary file
  // removed, when a step fails.
  bool Commit(std::string& strReason);
  // Removes the temporary file now.
  void Discard();

 private:
  std::string m_strTarget, m_strTemp;
  int m_fd = -1;
  bool m_bReserved = false;  // the writer creates the file
};

// Writes ab to strPath through a temporary file in the same folder, flushed and renamed over the
// target; false with the reason, the target untouched, when any step fails. A target that
// exists and is not a regular file (a FIFO, a device, a folder) is refused.
bool WriteFileAtomically(const std::string& strPath, std::span<const std::uint8_t> ab,
                         std::string& strReason);
// The same with the bytes written by fnWrite(fd), which sets errno when it returns false.
bool WriteFileAtomically(const std::string& strPath, const std::function<bool(int)>& fnWrite,
                         std::string& strReason);
