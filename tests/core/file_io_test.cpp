// Whole-file reads and safe writes, and the integers the dialogs and the command line take.
#include "core/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/dialogs.h"
#include "support/scene_dir.h"

namespace {

class FileIoTest : public SceneDirTest {
 protected:
  std::string Contents(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int FilesInFolder() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) n += !entry.is_directory();
    return n;
  }
};

}  // namespace

TEST_F(FileIoTest, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  const std::string strPath = PathOf("out.dat");
  std::ofstream(strPath) << "old contents";
  std::string strReason;
  // A writer that fails half way (a full disk): the old file stays byte for byte.
  EXPECT_FALSE(WriteFileAtomically(
      strPath,
      [](int fd) {
        const std::uint8_t ab[4] = {1, 2, 3, 4};
        (void)WriteAt(fd, ab, 4, 0);
        errno = ENOSPC;
        return false;
      },
      strReason));
  EXPECT_EQ(strReason, "No space left on device");
  EXPECT_EQ(Contents(strPath), "old contents");
  EXPECT_EQ(FilesInFolder(), 1);

  // A FIFO in the target's place is refused at once (no wait for a reader), a folder too.
  const std::string strFifo = PathOf("pipe.png");
  ASSERT_EQ(::mkfifo(strFifo.c_str(), 0600), 0);
  const std::uint8_t ab[1] = {7};
  EXPECT_FALSE(WriteFileAtomically(strFifo, ab, strReason));
  EXPECT_EQ(strReason, "not a regular file");
  EXPECT_FALSE(WriteFileAtomically(m_dir.string(), ab, strReason));

  // A symbolic link is written through: the file it names changes, the link stays.
  const std::string strLink = PathOf("link.dat");
  ASSERT_EQ(::symlink(strPath.c_str(), strLink.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(strLink, ab, strReason)) << strReason;
  EXPECT_TRUE(std::filesystem::is_symlink(strLink));
  EXPECT_EQ(Contents(strPath), "\x07");
}

TEST_F(FileIoTest, AReservedNameIsLeftForTheWriterAndTakenUpOnlyWhenItWrote) {
  const std::string strPath = PathOf("areas.gpkg");
  std::ofstream(strPath) << "old";
  std::string strReason;
  {
    // The writer never made the file: the commit fails, the old file stays.
    CFileBeside file;
    ASSERT_TRUE(file.ReserveName(strPath, strReason)) << strReason;
    EXPECT_FALSE(std::filesystem::exists(file.TemporaryPath()));
    EXPECT_FALSE(file.Commit(strReason));
    EXPECT_EQ(Contents(strPath), "old");
  }
  {
    // A link planted under the name is not followed.
    CFileBeside file;
    ASSERT_TRUE(file.ReserveName(strPath, strReason));
    ASSERT_EQ(::symlink(strPath.c_str(), file.TemporaryPath().c_str()), 0);
    EXPECT_FALSE(file.Commit(strReason));
    EXPECT_EQ(Contents(strPath), "old");
  }
  EXPECT_EQ(FilesInFolder(), 1);
  CFileBeside file;
  ASSERT_TRUE(file.ReserveName(strPath, strReason));
  std::ofstream(file.TemporaryPath()) << "new";
  ASSERT_TRUE(file.Commit(strReason)) << strReason;
  EXPECT_EQ(Contents(strPath), "new");
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FileIoTest, ReadingTakesRegularFilesUpToTheirLimit) {
  ByteBuffer ab;
  std::string strReason;
  const std::string strPath = PathOf("in.dat");
  std::ofstream(strPath) << "0123456789";
  ASSERT_TRUE(ReadWholeFile(strPath, 10, "test file", ab, strReason));
  EXPECT_EQ(ab.size(), 10u);
  EXPECT_FALSE(ReadWholeFile(strPath, 9, "test file", ab, strReason));
  EXPECT_EQ(strReason, "10 bytes, larger than any test file");
  const std::string strFifo = PathOf("pipe");
  ASSERT_EQ(::mkfifo(strFifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadWholeFile(strFifo, 10, "test file", ab, strReason));  // returns at once
  EXPECT_EQ(strReason, "not a regular file");
}

TEST(ParseIntegerTest, OneOptionalSignOnly) {
  int n = 0;
  for (const char* sz : {"+-5", "-+5", "--5", "++5", "+", "-", "", " ", "5-", "1 2"}) {
    EXPECT_FALSE(ParseInteger(sz, n)) << '"' << sz << '"';
  }
  ASSERT_TRUE(ParseInteger(" +5 ", n));
  EXPECT_EQ(n, 5);
  ASSERT_TRUE(ParseInteger("-5", n));
  EXPECT_EQ(n, -5);
}
