// The document: which changes mark it, the question before changed work is left, and an import
// that never inherits the work file of the scene before.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classification/category_settings.h"
#include "core/commands.h"
#include "core/display_modes.h"
#include "core/document.h"
#include "core/view.h"
#include "import/bmp_import.h"
#include "import/bmp_files.h"
#include "import/ndvi.h"
#include "import/scene_files.h"
#include "products/composite_settings.h"
#include "resources/resource.h"
#include "workfile/workfile.h"

namespace {

constexpr const char* kszQuestion = "変更を保存しますか？";

class DocumentTest : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    // Seven bands, so the vegetation index can run.
    MakeScene(64, 40, 7, Sensor::TmFloppy, [](int x, int y, int b) { return (x * 3 + y + b * 20) % 256; });
    m_strWork = PathOf("mywork.glw");
  }
  void TearDown() override {
    SetCommandHandler(ID_FILE_SAVE, nullptr);
    ImportTest::TearDown();
  }

  std::vector<char> Bytes(const std::string& strPath) const {
    std::ifstream in(strPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The questions asked so far.
  int Questions() const {
    int n = 0;
    for (std::size_t i = 0; i < m_platform.m_aMessages.size(); ++i) {
      if (m_platform.m_aMessageButtons[i] == MsgButtons::SaveDiscardCancel) {
        EXPECT_EQ(m_platform.m_aMessages[i].strText, kszQuestion);
        ++n;
      }
    }
    return n;
  }

  std::string m_strWork;
};

// The shell's save: the document's file, or (while it has none) the name the user gives, here
// none: the name dialog was cancelled.
void SaveAsTheShellDoes() {
  if (!DocumentPath().empty()) SaveWorkFile(DocumentPath());
}

// Every picture there is a command for, shown one after the other; how many were shown.
int ShowEveryPicture() {
  int nShown = 0;
  for (const DisplayModeEntry& mode : DisplayModes()) {
    const int nCommand = mode.pfnViewCommand ? mode.pfnViewCommand() : mode.nViewCommand;
    if (nCommand && DispatchCommand(nCommand)) ++nShown;
  }
  return nShown;
}

TEST_F(DocumentTest, PicturesLeaveTheDocumentUnchangedAndEveryEditMarksIt) {
  // A picture's first showing computes what it needs (the composite's look-up tables, the
  // target category's ranges from its marks), which the work file keeps; showing the pictures
  // again, before or after the file is read back, changes nothing.
  // Category 1 alone, trained with enough marks to take part in a classification.
  for (int x = 5; x < 9; ++x) g_aPixel[x][5].abTrainMark[0] = 1;
  std::fill(std::begin(g_abClassify), std::end(g_abClassify), 0);
  g_abClassify[1] = 1;
  EXPECT_GE(ShowEveryPicture(), 5);
  ASSERT_TRUE(SaveWorkFile(m_strWork));
  EXPECT_FALSE(DocumentModified());
  EXPECT_EQ(m_platform.m_strTitle, "mywork.glw");
  EXPECT_FALSE(m_platform.m_bTitleModified);
  ShowEveryPicture();
  EXPECT_FALSE(DocumentModified());
  ASSERT_TRUE(OpenWorkFile(m_strWork));
  ShowEveryPicture();
  EXPECT_FALSE(DocumentModified());

  struct Edit {
    const char* szName;
    void (*pfnEdit)();
  };
  const Edit aEdits[] = {
      {"a classification generated", [] { ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE)); }},
      {"a training mark painted",
       [] {
         DispatchCommand(ID_TRAINING_SELECT);
         OnViewLButtonDown(10, 10, false);
       }},
      {"a category renamed",
       [] {
         g_astrCategoryName[2] = "水田";
         DispatchCommand(ID_COMPOSITE_VIEW);
       }},
      {"a stretch changed", [] {
         g_nRedUpper = 150;
         NoteDocumentChanges();
       }},
      {"a user text changed", [] {
         g_astrUserText[0] = "調査地";
         NoteDocumentChanges();
       }},
      {"the vegetation index made", [] { CreateNdviBand(); }},
      {"every mark cleared", [] { DispatchCommand(ID_CLEAR_ALL_CATEGORIES); }},
  };
  for (const Edit& edit : aEdits) {
    ASSERT_TRUE(SaveWorkFile(m_strWork)) << edit.szName;
    ASSERT_FALSE(DocumentModified()) << edit.szName;
    edit.pfnEdit();
    EXPECT_TRUE(DocumentModified()) << edit.szName;
    EXPECT_TRUE(m_platform.m_bTitleModified) << edit.szName;
  }
  // Reading the file back is the unchanged document again.
  ASSERT_TRUE(OpenWorkFile(m_strWork));
  EXPECT_FALSE(DocumentModified());
  EXPECT_FALSE(m_platform.m_bTitleModified);
}

TEST_F(DocumentTest, EachAnswerToTheQuestionDoesWhatItSays) {
  SetCommandHandler(ID_FILE_SAVE, SaveAsTheShellDoes);
  ASSERT_TRUE(SaveWorkFile(m_strWork));
  // Unchanged: nobody is asked.
  EXPECT_TRUE(ConfirmSaveChanges());
  EXPECT_EQ(Questions(), 0);

  g_aPixel[3][4].abTrainMark[0] = 1;
  MarkDocumentModified();
  const std::vector<char> abSaved = Bytes(m_strWork);

  m_platform.m_qAnswers = {MsgResult::Cancel};
  EXPECT_FALSE(ConfirmSaveChanges());
  m_platform.m_qAnswers = {MsgResult::Discard};
  EXPECT_TRUE(ConfirmSaveChanges());
  EXPECT_EQ(Questions(), 2);
  EXPECT_EQ(Bytes(m_strWork), abSaved) << "neither answer writes";
  EXPECT_TRUE(DocumentModified());

  m_platform.m_qAnswers = {MsgResult::Save};
  EXPECT_TRUE(ConfirmSaveChanges());
  EXPECT_NE(Bytes(m_strWork), abSaved) << "the mark is in the file now";
  EXPECT_FALSE(DocumentModified());

  // "新規作成": cancelled, the document stays; declined, it becomes untitled and unchanged with
  // the data still on show.
  MarkDocumentModified();
  m_platform.m_qAnswers = {MsgResult::Cancel};
  DispatchCommand(ID_FILE_NEW);
  EXPECT_EQ(DocumentPath(), m_strWork);
  m_platform.m_qAnswers = {MsgResult::Discard};
  DispatchCommand(ID_FILE_NEW);
  EXPECT_EQ(DocumentPath(), "");
  EXPECT_EQ(m_platform.m_strTitle, "無題");
  EXPECT_FALSE(DocumentModified());
  EXPECT_EQ(g_aPixel[3][4].abTrainMark[0], 1);
  EXPECT_EQ(Questions(), 5);

  // Untitled and changed, "保存" with the name dialog cancelled: nothing was saved, so stop.
  MarkDocumentModified();
  m_platform.m_qAnswers = {MsgResult::Save};
  EXPECT_FALSE(ConfirmSaveChanges());
  EXPECT_TRUE(DocumentModified());
}

// After a save, an import is a new document named after its scene, with no work file: the next
// save asks for a name instead of writing over the work file of the scene before.
TEST_F(DocumentTest, AnImportNeverInheritsTheWorkFile) {
  ASSERT_TRUE(SaveWorkFile(m_strWork));
  const std::string strBmp = PathOf("aerial.bmp");
  {
    const auto ab = MakeBmp(8, 6, 24, false, [](int x, int y) { return static_cast<std::uint32_t>(x * 9 + y); });
    std::ofstream(strBmp, std::ios::binary).write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
  }
  ASSERT_TRUE(ImportBmpFile(strBmp));
  EXPECT_EQ(DocumentPath(), "");
  EXPECT_EQ(m_platform.m_strTitle, "aerial.bmp");
  EXPECT_TRUE(m_platform.m_bTitleModified) << "an imported scene is not saved anywhere yet";

  ASSERT_TRUE(SaveWorkFile(m_strWork));
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::TmFloppy, 1, {FloppyBand(1), FloppyBand(2)})));
  EXPECT_EQ(DocumentPath(), "");
  EXPECT_EQ(m_platform.m_strTitle, "fd1") << "the first band file names the scene";
  EXPECT_TRUE(DocumentModified());
}

}  // namespace
