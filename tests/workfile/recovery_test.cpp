// The recovery file: when copies are taken, that a copy is the state of the moment it was taken
// with every section, and the offer at start (restore, discard, a damaged file, a file another
// running program holds, a folder that takes no file).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/document.h"
#include "core/text_format.h"
#include "support/scene_dir.h"
#include "workfile/messages.h"
#include "workfile/recovery.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

// Hand-worked times in milliseconds: quiet 3 s, at most one copy a minute.
TEST(RecoveryScheduleTest, CopiesAfterAPauseAndAtMostOnceAMinute) {
  CRecoverySchedule s;
  s.Settled(0);
  EXPECT_FALSE(s.Due(100000));  // nothing changed
  s.NoteChanges(1, 0);
  EXPECT_FALSE(s.Due(2999));
  EXPECT_TRUE(s.Due(3000));
  s.Written(3000);
  EXPECT_FALSE(s.Due(3500));
  // A change 1 s after the copy: quiet by 8 s, but the next copy waits for the minute.
  s.NoteChanges(2, 4000);
  EXPECT_FALSE(s.Due(8000));
  EXPECT_FALSE(s.Due(62999));
  EXPECT_TRUE(s.Due(63000));
  s.Written(63000);
  // Changes every half second without a pause: copied once the first of them is a minute old.
  for (std::int64_t t = 64000, n = 3; t <= 124000; t += 500, ++n) {
    s.NoteChanges(static_cast<std::uint64_t>(n), t);
    EXPECT_EQ(s.Due(t), t >= 124000) << t;
  }
  s.Written(124000);
  // A copy that could not be written is due again, a minute after the attempt.
  s.WriteFailed();
  EXPECT_TRUE(s.Pending());
  EXPECT_FALSE(s.Due(183999));
  EXPECT_TRUE(s.Due(184000));
  // Saved: nothing is due; the next change is copied 3 s after it, however recent the last copy.
  s.Settled(500);
  EXPECT_FALSE(s.Due(300000));
  s.NoteChanges(501, 184500);
  EXPECT_FALSE(s.Due(187499));
  EXPECT_TRUE(s.Due(187500));
}

// The plain expectations the copies are checked against.
std::uint8_t BandValue(int x, int y, int b) { return static_cast<std::uint8_t>(x * 3 + y * 5 + b * 40); }
bool Marked(int x, int y, int c) { return (x + 2 * y + c) % 7 == 0; }

class RecoveryTest : public SceneDirTest {
 protected:
  void MakeWork(int nWidth, int nHeight) {
    MakeScene(nWidth, nHeight, 4, Sensor::TmFloppy, BandValue);
    for (int x = 0; x < nWidth; ++x) {
      for (int y = 0; y < nHeight; ++y) {
        for (int c = 1; c <= 8; c += 2) g_aPixel[x][y].abTrainMark[c - 1] = Marked(x, y, c);
      }
    }
    SetDocumentScene(PathOf("scene"));
  }
  // The file at strPath holds the work of MakeWork, every record compared.
  void ExpectWork(const std::string& strPath, int nWidth, int nHeight) {
    ByteBuffer ab;
    std::string strReason;
    ASSERT_TRUE(ReadWorkFileBytes(strPath, ab, strReason)) << strReason;
    WorkFile file;
    ASSERT_EQ(DecodeWorkFile(ab, file, strReason), DecodeError::None) << strReason;
    ASSERT_EQ(file.Pixels(), nWidth * nHeight);
    for (int k = 0; k < SaveSectionCount(); ++k) EXPECT_EQ(file.abSection[k], 1) << k;
    int nWrong = 0;
    for (int x = 0; x < nWidth; ++x) {
      for (int y = 0; y < nHeight; ++y) {
        const std::size_t i = static_cast<std::size_t>(x * nHeight + y);
        for (int b = 1; b <= 4; ++b) nWrong += file.abPixels[i * 4 + static_cast<std::size_t>(b - 1)] != BandValue(x, y, b);
        for (int c = 1; c <= 8; ++c) nWrong += (file.aabMarks[c - 1][i] != 0) != (c % 2 == 1 && Marked(x, y, c));
      }
    }
    EXPECT_EQ(nWrong, 0);
  }
  std::string Dir() const { return m_dir.string(); }
  void TearDown() override {
    StopRecovery();
    SceneDirTest::TearDown();
  }
};

// Large enough for the copy to be made on both cores; the save options ask for the data alone.
TEST_F(RecoveryTest, ACopyIsTheWorkWhenTakenWithEverySection) {
  MakeWork(400, 380);
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 0);
  g_abSaveSection[kSectionData] = 1;
  CRecoveryCopy copy;
  std::string strReason;
  ASSERT_TRUE(copy.Take(strReason)) << strReason;
  // Painting goes on while the copy is written: the file still holds the work as taken.
  for (auto& column : g_aPixel) {
    for (PixelRecord& px : column) px = PixelRecord{};
  }
  ASSERT_TRUE(copy.Write(PathOf("copy.glw"), nullptr, strReason)) << strReason;
  ExpectWork(PathOf("copy.glw"), 400, 380);

  // A write stopped half-way leaves the file that was there.
  const std::atomic<bool> bCancel{true};
  EXPECT_FALSE(copy.Write(PathOf("copy.glw"), &bCancel, strReason));
  ExpectWork(PathOf("copy.glw"), 400, 380);
}

// One program copies its work, "crashes" (its file stays), and the next one restores it.
TEST_F(RecoveryTest, WorkLeftBehindIsRestoredUntitledAndTheCopyGoesOnceSaved) {
  StartRecovery(Dir());
  MakeWork(60, 45);
  RecoveryTick(1000);
  RecoveryTick(3999);
  WaitForRecoveryWriter();
  EXPECT_FALSE(std::filesystem::exists(RecoveryFilePath()));
  RecoveryTick(4000);
  WaitForRecoveryWriter();
  ASSERT_TRUE(std::filesystem::exists(RecoveryFilePath()));
  const std::string strLeft = Dir() + "/recovery-99-1.glw";
  std::filesystem::copy_file(RecoveryFilePath(), strLeft);

  // The next program: fresh state, its own file name.
  ResetProgramState();
  StartRecovery(Dir());
  m_platform.m_qAnswers = {MsgResult::Restore};
  ASSERT_TRUE(OfferRecovery());
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0],
            (RecordedMessage{kszMsgRecoveryQuestion, kszCapRecovery}));
  EXPECT_EQ(m_platform.m_aMessageButtons[0], MsgButtons::RestoreDiscard);
  EXPECT_TRUE(m_platform.m_aFileInformation.empty());  // no second question
  ExpectWork(RecoveryFilePath(), 60, 45);  // the file left behind is now this program's copy
  EXPECT_FALSE(std::filesystem::exists(strLeft));
  EXPECT_FALSE(std::filesystem::exists(Dir() + "/recovery-99-1.lock"));
  EXPECT_TRUE(DocumentPath().empty());
  EXPECT_TRUE(DocumentModified());
  EXPECT_EQ(g_aPixel[3][0].abTrainMark[0], Marked(3, 0, 1) ? 1 : 0);

  // Saved: the copy goes at the next tick; nothing is offered at the next start.
  ASSERT_TRUE(SaveWorkFile(PathOf("saved.glw")));
  RecoveryTick(5000);
  EXPECT_FALSE(std::filesystem::exists(RecoveryFilePath()));
  ExpectWork(PathOf("saved.glw"), 60, 45);
  StartRecovery(Dir());
  EXPECT_FALSE(OfferRecovery());
  EXPECT_EQ(m_platform.m_aMessages.size(), 1u);

  // Changed again, copied, then a normal end: the copy and its lock go.
  MarkDocumentModified();
  RecoveryTick(6000);
  RecoveryTick(9000);
  WaitForRecoveryWriter();
  ASSERT_TRUE(std::filesystem::exists(RecoveryFilePath()));
  StopRecovery();
  for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
    EXPECT_NE(entry.path().filename().string().rfind("recovery-", 0), 0u) << entry.path();
  }
}

TEST_F(RecoveryTest, DiscardedDamagedAndHeldFiles) {
  StartRecovery(Dir());
  MakeWork(30, 20);
  RecoveryTick(0);
  RecoveryTick(3000);
  WaitForRecoveryWriter();
  ASSERT_TRUE(std::filesystem::exists(RecoveryFilePath()));
  const std::string strCopy = PathOf("spare.glw");  // this program's copy goes when it stops
  std::filesystem::copy_file(RecoveryFilePath(), strCopy);
  // Held: the lock of a running program (here this one's, taken through another descriptor).
  const std::string strHeld = Dir() + "/recovery-7-1.glw";
  std::filesystem::copy_file(strCopy, strHeld);
  const int fd = ::open((Dir() + "/recovery-7-1.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  // Locks without a copy: one an hour old (a program killed before its first copy) goes, one
  // just made (a program starting) stays.
  const std::string strOldLock = Dir() + "/recovery-5-1.lock", strNewLock = Dir() + "/recovery-6-1.lock";
  std::ofstream(strOldLock).close();
  std::ofstream(strNewLock).close();
  std::filesystem::last_write_time(strOldLock, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::hours(1));
  ResetProgramState();
  StartRecovery(Dir());
  EXPECT_FALSE(OfferRecovery());
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  EXPECT_TRUE(std::filesystem::exists(strHeld));
  EXPECT_FALSE(std::filesystem::exists(strOldLock));
  EXPECT_TRUE(std::filesystem::exists(strNewLock));
  ::close(fd);

  // Discarded: removed with its lock, nothing loaded.
  m_platform.m_qAnswers = {MsgResult::Discard};
  EXPECT_FALSE(OfferRecovery());
  EXPECT_FALSE(std::filesystem::exists(strHeld));
  EXPECT_FALSE(std::filesystem::exists(Dir() + "/recovery-7-1.lock"));
  EXPECT_FALSE(HasData());

  // Damaged: refused with the work file's message, removed once that was acknowledged.
  const std::string strDamaged = Dir() + "/recovery-8-1.glw";
  std::filesystem::copy_file(strCopy, strDamaged);
  std::filesystem::resize_file(strDamaged, 3000);
  m_platform.m_aMessages.clear();
  m_platform.m_qAnswers = {MsgResult::Restore, MsgResult::Ok};
  EXPECT_FALSE(OfferRecovery());
  ASSERT_EQ(m_platform.m_aMessages.size(), 2u);
  EXPECT_EQ(m_platform.m_aMessages[1].strCaption, kszCapWorkFile);
  EXPECT_EQ(m_platform.m_aMessages[1].strText,
            FormatText(kszMsgCannotRead, strDamaged.c_str(),
                       "the file ends early (3000 bytes, more needed after byte 72)"));
  EXPECT_FALSE(std::filesystem::exists(strDamaged));
  EXPECT_FALSE(HasData());
  EXPECT_FALSE(DocumentModified());
}

// A folder that takes no file: said once, the work untouched, tried again a minute later.
TEST_F(RecoveryTest, AFolderThatTakesNoFileIsReportedOnce) {
  std::ofstream(PathOf("plain")) << "x";
  StartRecovery(PathOf("plain") + "/data");
  MakeWork(30, 20);
  for (std::int64_t t : {0, 3000, 64000, 125000}) {
    RecoveryTick(t);
    WaitForRecoveryWriter();
    MarkDocumentModified();
  }
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapRecovery);
  EXPECT_NE(m_platform.m_aMessages[0].strText.find("作業の控えを書き込めません"), std::string::npos);
  EXPECT_EQ(g_aPixel[0][0].abBand[1], BandValue(0, 0, 2));
  EXPECT_TRUE(DocumentModified());
}

}  // namespace
