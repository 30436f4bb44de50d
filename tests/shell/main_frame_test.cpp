// The real main window: menus, tool bar, enabling and check marks, context pop-ups and the
// recent-file list, all built from the command table.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QMouseEvent>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolBar>
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include "classification/categories.h"
#include "core/commands.h"
#include "core/dialogs.h"
#include "import/bmp_files.h"
#include "import/bmp_import.h"
#include "core/document.h"
#include "workfile/workfile.h"
#include "core/view.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "workfile/messages.h"
#include "workfile/ui/recovery_ui.h"
#include "shell/base/dialog_windows.h"
#include "shell/desktop.h"
#include "shell/main_frame.h"
#include "shell/qt_platform.h"
#include "shell/tavimo97_view.h"
#include "shell/view_splitter.h"
#include "support/recording_platform.h"
#include "products/coarse_settings.h"

namespace {

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(m_profileDir.isValid());
    // A profile of our own, so the user's recent files never show up here.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_profileDir.path());
    SetPlatform(&m_platform);
  }
  void TearDown() override {
    m_pFrame.reset();
    SetPlatform(nullptr);
  }
  CMainFrame& Frame() {
    if (!m_pFrame) m_pFrame = std::make_unique<CMainFrame>(m_platform);
    return *m_pFrame;
  }

  QTemporaryDir m_profileDir;
  CQtPlatform m_platform;
  std::unique_ptr<CMainFrame> m_pFrame;
};

// Walks a menu's visible actions against the flat table from position i, up to its End.
void ExpectMenuMatches(const QList<QAction*>& apActions, std::span<const MenuNode> aNodes,
                       size_t& i, std::set<int>& setSeen) {
  int nAction = 0;
  for (; i < aNodes.size(); ++i) {
    const MenuNode& node = aNodes[i];
    if (node.eKind == MenuKind::End) return;
    while (nAction < apActions.size() && !apActions[nAction]->isVisible()) ++nAction;
    ASSERT_LT(nAction, apActions.size()) << "menu ends early at node " << i;
    QAction* pAction = apActions[nAction++];
    switch (node.eKind) {
      case MenuKind::Separator:
        EXPECT_TRUE(pAction->isSeparator()) << "node " << i;
        break;
      case MenuKind::Popup:
        ASSERT_NE(pAction->menu(), nullptr) << node.szText;
        EXPECT_EQ(pAction->text().toStdString(), node.szText);
        ++i;
        ExpectMenuMatches(pAction->menu()->actions(), aNodes, i, setSeen);
        break;
      case MenuKind::Item: {
        EXPECT_EQ(pAction->data().toInt(), node.nId);
        const CommandEntry* pCmd = FindCommand(node.nId);
        ASSERT_NE(pCmd, nullptr);
        EXPECT_EQ(pAction->text().toStdString(), node.szText ? node.szText : pCmd->szText);
        setSeen.insert(node.nId);
        break;
      }
      case MenuKind::End:
        break;
    }
  }
}

TEST_F(MainFrameTest, MenuBarAndToolBarFollowTheTables) {
  const auto aMenu = MainMenu();
  size_t i = 0;
  std::set<int> setSeen;
  ExpectMenuMatches(Frame().menuBar()->actions(), aMenu, i, setSeen);
  EXPECT_EQ(i, aMenu.size());
  // Every command of the table has its item, with the table's text.
  for (const CommandEntry& cmd : CommandTable()) EXPECT_TRUE(setSeen.count(cmd.nId)) << cmd.nId;

  const QList<QAction*> apButtons = Frame().ToolBar()->actions();
  const auto anIds = ToolBarButtons();
  ASSERT_EQ(apButtons.size(), static_cast<qsizetype>(anIds.size()));
  for (size_t b = 0; b < anIds.size(); ++b) {
    if (anIds[b] == 0) {
      EXPECT_TRUE(apButtons[b]->isSeparator()) << b;
    } else {
      // The very action of the menu, with a picture of its own.
      EXPECT_EQ(apButtons[b], Frame().CommandAction(anIds[b]));
      EXPECT_FALSE(apButtons[b]->icon().isNull()) << anIds[b];
    }
  }
  // The accelerators the program documents.
  EXPECT_TRUE(Frame().CommandAction(ID_EDIT_COPY)->shortcuts().contains(
      QKeySequence(Qt::CTRL | Qt::Key_Insert)));
  EXPECT_EQ(Frame().CommandAction(ID_FILE_OPEN)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  // Every dialog the logic describes has its window on the desktop.
  for (const CommandEntry& cmd : CommandTable()) {
    if (cmd.pDialog) {
      EXPECT_NE(FindDialogWindow(cmd.pDialog->nId), nullptr) << cmd.nId;
    }
  }
}

TEST_F(MainFrameTest, WithoutDataOnlyHandledAlwaysEnabledCommandsAreEnabled) {
  CMainFrame& frame = Frame();
  for (int nId : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_WINDOW_SPLIT, ID_APP_EXIT, ID_APP_ABOUT,
                  ID_HELP_FINDER, ID_ALWAYS_REDRAW}) {
    EXPECT_TRUE(frame.CommandAction(nId)->isEnabled()) << nId;
  }
  for (const CommandEntry& cmd : CommandTable()) {
    const bool bAlways = cmd.eRule == Rule::Always || cmd.eRule == Rule::R;
    // The recent-file item is only a disabled placeholder while the list is empty.
    const bool bExpected = bAlways && (cmd.pfnHandler || cmd.pDialog) && cmd.nId != ID_FILE_MRU_FILE1;
    EXPECT_EQ(frame.CommandAction(cmd.nId)->isEnabled(), bExpected) << cmd.nId;
  }
  EXPECT_EQ(frame.CommandAction(ID_FILE_MRU_FILE1)->text().toStdString(), "最新のファイル");

  QAction* pRedraw = frame.CommandAction(ID_ALWAYS_REDRAW);
  EXPECT_TRUE(pRedraw->isChecked());
  pRedraw->trigger();
  EXPECT_EQ(g_bAlwaysRedraw, 0);
  EXPECT_FALSE(pRedraw->isChecked());
  pRedraw->trigger();
  EXPECT_EQ(g_bAlwaysRedraw, 1);
  EXPECT_TRUE(pRedraw->isChecked());

  QAction* pStatusBar = frame.CommandAction(ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(pStatusBar->isChecked());
  pStatusBar->trigger();
  EXPECT_TRUE(frame.statusBar()->isHidden());
  EXPECT_FALSE(pStatusBar->isChecked());
}

TEST_F(MainFrameTest, CtrlRightClickOnCoarseImageOffersTheCoarseBands) {
  MakeScene(16, 8, 3, Sensor::TmFloppy, [](int x, int, int b) { return x * b; });
  g_nDisplayMode = DisplayMode::Coarse;
  g_nCoarseBand = 2;
  QMenu* pPopup = Frame().ContextPopup(ContextPopupForClick(true));
  ASSERT_NE(pPopup, nullptr);
  EXPECT_EQ(pPopup->title().toStdString(), "粗画像バンド");
  emit pPopup->aboutToShow();
  const QList<QAction*> apItems = pPopup->actions();
  ASSERT_EQ(apItems.size(), 8);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(apItems[n - 1], Frame().CommandAction(kanCoarseBandIds[n - 1]));
    EXPECT_EQ(apItems[n - 1]->isEnabled(), n <= 3) << n;
    EXPECT_EQ(apItems[n - 1]->isChecked(), n == 2) << n;
  }
  // Without Ctrl the rank colouring.
  EXPECT_NE(Frame().ContextPopup(ContextPopupForClick(false)), nullptr);
  EXPECT_NE(Frame().ContextPopup(ContextPopupForClick(false)), pPopup);
}

TEST_F(MainFrameTest, EveryPressOfTheLeftButtonCountsEvenAsADoubleClick) {
  MakeScene(512, 400, 1, Sensor::Mss, [](int x, int, int) { return x % 256; });
  ASSERT_TRUE(DispatchCommand(ID_COARSE_HISTOGRAM));
  CTavimo97View* pView = Frame().Splitter()->View(0, 0);
  // The right arrow of rank 1's upper value, as the panel draws it.
  const QPointF pt(g_nMaxX + 224 + 20, 160 + 5);
  auto send = [&](QEvent::Type eType) {
    QMouseEvent event(eType, pt, pView->viewport()->mapToGlobal(pt), Qt::LeftButton,
                      eType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(pView->viewport(), &event);
  };
  const int nBefore = g_anRankUpper[1][1];
  // Four quick clicks arrive as press, release, double-click, release, twice over.
  for (int nPair = 0; nPair < 2; ++nPair) {
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
  }
  EXPECT_EQ(g_anRankUpper[1][1], nBefore + 4);
}

TEST_F(MainFrameTest, ADragIsOneStrokeFromPressToRelease) {
  MakeScene(100, 80, 3, Sensor::TmFloppy, [](int x, int y, int b) { return x + y + b; });
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  SetDotSize(0);
  QWidget* pViewport = Frame().Splitter()->View(0, 0)->viewport();
  auto send = [&](QEvent::Type eType, int x, int y, Qt::MouseButtons buttons) {
    const QPointF pt(x, y);
    QMouseEvent event(eType, pt, pViewport->mapToGlobal(pt),
                      eType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(pViewport, &event);
  };
  // Press, one move far along, release: every point between is marked, (10,10) to (40,25)
  // rising one line every second column.
  send(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  send(QEvent::MouseMove, 40, 25, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, 40, 25, Qt::NoButton);
  int nMarked = 0;
  for (int x = 0; x < 100; ++x) {
    for (int y = 0; y < 80; ++y) nMarked += g_aPixel[x][y].abTrainMark[0];
  }
  EXPECT_EQ(nMarked, 31);
  EXPECT_EQ(g_aPixel[25][18].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[26][18].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[27][19].abTrainMark[0], 1);
  // After the release a move with the button (pressed elsewhere) starts a stroke of its own.
  send(QEvent::MouseMove, 60, 25, Qt::LeftButton);
  EXPECT_EQ(g_aPixel[60][25].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[50][25].abTrainMark[0], 0);
}

TEST_F(MainFrameTest, LeavingTheViewClearsTheReadout) {
  MakeScene(100, 80, 3, Sensor::TmFloppy, [](int x, int y, int b) { return x + y + b; });
  g_nDisplayMode = DisplayMode::Composite;
  QWidget* pViewport = Frame().Splitter()->View(0, 0)->viewport();
  const QPointF pt(5, 6);
  QMouseEvent move(QEvent::MouseMove, pt, pViewport->mapToGlobal(pt), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(pViewport, &move);
  ASSERT_NE(Frame().StatusPaneText(0).toStdString(), "");
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(pViewport, &leave);
  EXPECT_EQ(Frame().StatusPaneText(0).toStdString(), "");
  EXPECT_EQ(Frame().StatusPaneText(1).toStdString(), "");
}

TEST_F(MainFrameTest, ReadoutPanesShareTheWidthByTheirTexts) {
  CMainFrame& frame = Frame();
  const QString str0 = QStringLiteral(
      "[X=0,Y=0] (x,y)=(10,10) Band(1,2,3,4,5,6,7,8)=( 10, 20, 30, 40, 50, 60, 70, 80 )");
  const QString str1 = QStringLiteral("(R,G,B)=( 255, 255, 255 )");
  frame.SetStatusPanes(str0, str1);
  QList<QLabel*> apPanes;
  for (QLabel* pLabel : frame.statusBar()->findChildren<QLabel*>()) {
    if (pLabel->text() == str0 || pLabel->text() == str1) apPanes.append(pLabel);
  }
  ASSERT_EQ(apPanes.size(), 2);
  const int nNeeded = apPanes[0]->fontMetrics().horizontalAdvance(str0) +
                      apPanes[1]->fontMetrics().horizontalAdvance(str1);
  frame.show();
  for (int nWidth : {nNeeded + 400, nNeeded + 260}) {
    frame.resize(nWidth, 400);
    QApplication::processEvents();
    for (QLabel* pLabel : apPanes) {
      EXPECT_GE(pLabel->width(), pLabel->fontMetrics().horizontalAdvance(pLabel->text()))
          << pLabel->text().toStdString() << " in a window of " << nWidth;
    }
  }
  // Too narrow for both: they shrink alike, side by side, clear of the indicators.
  frame.resize(420, 400);
  QApplication::processEvents();
  const QRect rc0 = apPanes[0]->geometry(), rc1 = apPanes[1]->geometry();
  EXPECT_LT(rc0.right(), rc1.left());
  EXPECT_LT(apPanes[1]->mapTo(frame.statusBar(), QPoint(rc1.width(), 0)).x(),
            frame.statusBar()->findChild<QLabel*>(QStringLiteral("KANA"))
                ->mapTo(frame.statusBar(), QPoint(0, 0)).x());
  EXPECT_GT(rc1.width(), 0);
  EXPECT_GT(rc0.width(), rc1.width());
  frame.hide();
}

TEST(DesktopTest, StandardDialogsSpeakJapanese) {
  ASSERT_TRUE(InstallQtTranslations()) << "Qt's Japanese catalogue (qt6-translations-l10n)";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "キャンセル");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "アドレス:");
}

TEST_F(MainFrameTest, SplitCommandMakesFourPanesThatScrollByRowAndColumn) {
  MakeScene(1024, 1024, 3, Sensor::TmCeos, [](int x, int y, int) { return (x + y) & 0xFF; });
  InitialUpdateView();
  CMainFrame& frame = Frame();
  frame.resize(600, 500);
  CViewSplitter* pSplitter = frame.Splitter();
  ASSERT_EQ(pSplitter->Views().size(), 1u);
  frame.CommandAction(ID_WINDOW_SPLIT)->trigger();
  ASSERT_EQ(pSplitter->Views().size(), 4u);
  // Scrolling one pane sideways moves its column, not its row mate.
  pSplitter->View(0, 0)->SetScrollOffset({120, 0});
  EXPECT_EQ(pSplitter->View(1, 0)->ScrollOffset().x(), 120);
  EXPECT_EQ(pSplitter->View(0, 1)->ScrollOffset().x(), 0);
  pSplitter->View(0, 1)->SetScrollOffset({0, 70});
  EXPECT_EQ(pSplitter->View(0, 0)->ScrollOffset(), QPoint(120, 70));
  EXPECT_EQ(pSplitter->View(0, 0)->ToLogical({5, 6}), QPoint(125, 76));
  frame.CommandAction(ID_WINDOW_SPLIT)->trigger();
  EXPECT_EQ(pSplitter->Views().size(), 1u);
  EXPECT_EQ(pSplitter->View(0, 0)->ScrollOffset(), QPoint(120, 70));
}

TEST_F(MainFrameTest, RecentFilesComeFromTheProfileAndOpenAsWorkFiles) {
  {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Geolumen", "Geolumen");
    settings.setValue("Recent File List/File1", "/data/a&b.wrk");
    settings.setValue("Recent File List/File2", "/data/second.wrk");
  }
  CRecordingPlatform recorder;
  CMainFrame& frame = Frame();
  SetPlatform(&recorder);
  QAction* pFirst = frame.CommandAction(ID_FILE_MRU_FILE1);
  EXPECT_EQ(pFirst->text().toStdString(), "&1 /data/a&&b.wrk");
  EXPECT_TRUE(pFirst->isEnabled());
  pFirst->trigger();  // a file that is not there: the work file's message names it
  ASSERT_EQ(recorder.m_aMessages.size(), 1u);
  EXPECT_NE(recorder.m_aMessages[0].strText.find("/data/a&b.wrk"), std::string::npos);
  EXPECT_EQ(recorder.m_aMessages[0].strCaption, kszCapWorkFile);

  frame.RecentFiles().Add("/data/third.wrk");
  CRecentFileList reread;
  reread.Load();
  EXPECT_EQ(reread.Entries(),
            QStringList({"/data/third.wrk", "/data/a&b.wrk", "/data/second.wrk"}));
}

// The modal window open next, handed to fnAnswer once it is running (a dialog's exec()).
void AnswerNextModal(std::function<void(QWidget*)> fnAnswer) {
  QTimer::singleShot(0, [fnAnswer = std::move(fnAnswer)] {
    QWidget* pModal = QApplication::activeModalWidget();
    ASSERT_NE(pModal, nullptr);
    fnAnswer(pModal);
  });
}

// Clicks the message box's button with that text; the box's text goes to strText.
std::function<void(QWidget*)> ClickButton(const char* szButton, QString& strText) {
  return [szButton, &strText](QWidget* pModal) {
    auto* pBox = qobject_cast<QMessageBox*>(pModal);
    ASSERT_NE(pBox, nullptr);
    strText = pBox->text();
    for (QAbstractButton* pButton : pBox->buttons()) {
      if (pButton->text() == QString::fromUtf8(szButton)) return pButton->click();
    }
    ADD_FAILURE() << "no button " << szButton;
    pBox->reject();
  };
}

TEST_F(MainFrameTest, ChangedWorkIsNeitherQuitNorOverwrittenWithoutAsking) {
  QTemporaryDir dir;
  const std::string strWork = (dir.path() + "/mywork.glw").toStdString();
  MakeScene(64, 40, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) % 256; });
  CMainFrame& frame = Frame();
  frame.show();
  ASSERT_TRUE(SaveWorkFile(strWork));
  EXPECT_EQ(frame.windowTitle().toStdString(), "mywork.glw[*] - Geolumen");
  EXPECT_FALSE(frame.isWindowModified());

  g_aPixel[1][1].abTrainMark[0] = 1;
  MarkDocumentModified();
  EXPECT_TRUE(frame.isWindowModified());
  QString strQuestion;
  AnswerNextModal(ClickButton("キャンセル", strQuestion));
  EXPECT_FALSE(frame.close());
  EXPECT_EQ(strQuestion.toStdString(), "変更を保存しますか？");
  EXPECT_TRUE(frame.isVisible());

  // Another scene after the save: named after its file, and "上書き保存" asks for a name (the
  // name dialog cancelled here) instead of writing over the work file.
  QFile work(QString::fromStdString(strWork));
  ASSERT_TRUE(work.open(QIODevice::ReadOnly));
  const QByteArray abSaved = work.readAll();
  work.close();
  const std::string strBmp = (dir.path() + "/aerial.bmp").toStdString();
  {
    const auto ab = MakeBmp(8, 6, 24, false, [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
    std::ofstream(strBmp, std::ios::binary)
        .write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
  }
  ASSERT_TRUE(ImportBmpFile(strBmp));
  EXPECT_EQ(frame.windowTitle().toStdString(), "aerial.bmp[*] - Geolumen");
  EXPECT_TRUE(frame.isWindowModified());
  bool bAskedName = false;
  AnswerNextModal([&bAskedName](QWidget* pModal) {
    auto* pDialog = qobject_cast<QFileDialog*>(pModal);
    ASSERT_NE(pDialog, nullptr);
    bAskedName = pDialog->acceptMode() == QFileDialog::AcceptSave;
    pDialog->reject();
  });
  frame.CommandAction(ID_FILE_SAVE)->trigger();
  EXPECT_TRUE(bAskedName);
  ASSERT_TRUE(work.open(QIODevice::ReadOnly));
  EXPECT_EQ(work.readAll(), abSaved) << "the work file of the scene before is untouched";
  work.close();

  AnswerNextModal(ClickButton("保存しない", strQuestion));
  EXPECT_TRUE(frame.close());
}

// The question at start: "復元" (the default, so Enter restores) and "破棄"; the data folder
// where the tests put it.
TEST_F(MainFrameTest, TheRestoreQuestionAndTheDataFolder) {
  CMainFrame& frame = Frame();
  frame.show();
  for (const char* szButton : {"復元", "破棄"}) {
    QString strText;
    bool bDefault = false;
    AnswerNextModal([&, szButton](QWidget* pModal) {
      auto* pBox = qobject_cast<QMessageBox*>(pModal);
      ASSERT_NE(pBox, nullptr);
      bDefault = pBox->defaultButton() && pBox->defaultButton()->text() == QString::fromUtf8("復元");
      ClickButton(szButton, strText)(pModal);
    });
    const MsgResult eAnswer =
        ThePlatform().MessageBox(kszMsgRecoveryQuestion, kszCapRecovery, MsgButtons::RestoreDiscard);
    EXPECT_EQ(eAnswer, std::string(szButton) == "復元" ? MsgResult::Restore : MsgResult::Discard);
    EXPECT_EQ(strText.toStdString(), "前回の作業が保存されずに終了しました。復元しますか？");
    EXPECT_TRUE(bDefault);
  }
  QTemporaryDir dir;
  const QString strFolder = dir.path() + "/data/geolumen";
  qputenv("GEOLUMEN_DATA_DIR", strFolder.toUtf8());
  EXPECT_EQ(RecoveryFolder(), strFolder);
  EXPECT_TRUE(QFileInfo(strFolder).isDir());
  qunsetenv("GEOLUMEN_DATA_DIR");
}

}  // namespace

// A refusal with GDAL's lines behind it: the message alone at first, the lines behind a
// "詳細を表示..." button that turns into "詳細を隠す..." once they show.
TEST_F(MainFrameTest, AMessageWithDetailKeepsItBehindAButton) {
  Frame().show();
  QString strText, strFirstLabel, strOpenLabel, strDetailShown;
  bool bDetailHiddenAtFirst = false;
  AnswerNextModal([&](QWidget* pModal) {
    auto* pBox = qobject_cast<QMessageBox*>(pModal);
    ASSERT_NE(pBox, nullptr);
    strText = pBox->text();
    QAbstractButton* pDetail = nullptr;
    for (QAbstractButton* pButton : pBox->buttons()) {
      if (pBox->buttonRole(pButton) == QMessageBox::ActionRole) pDetail = pButton;
    }
    ASSERT_NE(pDetail, nullptr);
    strFirstLabel = pDetail->text();
    QTextEdit* pEdit = pBox->findChild<QTextEdit*>();
    ASSERT_NE(pEdit, nullptr);
    bDetailHiddenAtFirst = !pEdit->isVisible();
    pDetail->click();
    QApplication::processEvents();  // the label follows once Qt has set its own
    strOpenLabel = pDetail->text();
    if (pEdit->isVisible()) strDetailShown = pEdit->toPlainText();
    pBox->button(QMessageBox::Ok)->click();
  });
  m_platform.MessageWithDetail("ラスターファイルを開くことができません\n/data/x.tif", "Error in Raster",
                               "GDAL, /data/x.tif: TIFFReadDirectory: Failed to read directory");
  EXPECT_EQ(strText.toStdString(), "ラスターファイルを開くことができません\n/data/x.tif");
  EXPECT_EQ(strFirstLabel.toStdString(), "詳細を表示...");
  EXPECT_TRUE(bDetailHiddenAtFirst);
  EXPECT_EQ(strOpenLabel.toStdString(), "詳細を隠す...");
  EXPECT_EQ(strDetailShown.toStdString(),
            "GDAL, /data/x.tif: TIFFReadDirectory: Failed to read directory");
}
