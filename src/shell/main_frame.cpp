#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "core/commands.h"
#include "core/document.h"
#include "core/platform.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "shell/about_dlg.h"
#include "shell/artwork.h"
#include "shell/base/dialog_windows.h"
#include "shell/help_window.h"
#include "shell/key_indicators.h"
#include "shell/qt_platform.h"
#include "shell/tavimo97_view.h"
#include "shell/view_splitter.h"
#include "workfile/ui/workfile_dialogs.h"

namespace {

QPointer<CMainFrame> g_pMainFrame;

constexpr const char* kszRecentPlaceholder = "最新のファイル";
// ---- Framework commands carried out by the frame -------------------------------------------
void OnViewToolBar() {
  if (CMainFrame* pFrame = CMainFrame::Instance()) {
    pFrame->ToolBar()->setVisible(pFrame->ToolBar()->isHidden());
  }
}

void OnViewStatusBar() {
  if (CMainFrame* pFrame = CMainFrame::Instance()) {
    pFrame->statusBar()->setVisible(pFrame->statusBar()->isHidden());
  }
}

void OnWindowSplit() {
  if (CMainFrame* pFrame = CMainFrame::Instance()) pFrame->Splitter()->ToggleSplit();
}

void OnAppExit() {
  if (CMainFrame* pFrame = CMainFrame::Instance()) pFrame->close();
}

void OnAppAbout() {
  CAboutDlg dlg(CMainFrame::Instance());
  dlg.exec();
}

void OnHelpFinder() { ShowHelpWindow(CMainFrame::Instance()); }

// A work file opened or saved goes to the top of the list, the profile and the file menu.
void AddToRecentFiles(const QString& strPath) {
  if (CMainFrame* pFrame = CMainFrame::Instance()) {
    pFrame->RecentFiles().Add(strPath);
    pFrame->RecentFiles().Save();
    pFrame->UpdateRecentFileMenu();
  }
}

void OnFileMruFile1() {
  CMainFrame* pFrame = CMainFrame::Instance();
  if (pFrame && !pFrame->RecentFiles().Entries().isEmpty()) {
    pFrame->OpenDocumentFile(pFrame->RecentFiles().Entries().first());
  }
}

struct FrameCommand {
  int nId;
  CommandHandler pfnHandler;
};
constexpr FrameCommand kaFrameCommands[] = {
    {ID_VIEW_TOOLBAR, OnViewToolBar}, {ID_VIEW_STATUS_BAR, OnViewStatusBar},
    {ID_WINDOW_SPLIT, OnWindowSplit}, {ID_APP_EXIT, OnAppExit},
    {ID_APP_ABOUT, OnAppAbout},       {ID_HELP_FINDER, OnHelpFinder},
    {ID_FILE_MRU_FILE1, OnFileMruFile1},
};

// The tool tip of a button: the menu text without its mnemonic and dots.
QString ToolTipText(const QString& strMenuText) {
  QString str = strMenuText;
  str.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\( \\)|\\.\\.\\.$")));
  str.remove(QLatin1Char('&'));
  return str.trimmed();
}

}  // namespace

CMainFrame::CMainFrame(CQtPlatform& platform, QWidget* pParent)
    : QMainWindow(pParent), m_platform(platform) {
  g_pMainFrame = this;
  setWindowTitle(QStringLiteral("Geolumen"));
  SetDialogParent(this);
  SetRecentFileHandler(AddToRecentFiles);
  for (const FrameCommand& cmd : kaFrameCommands) SetCommandHandler(cmd.nId, cmd.pfnHandler);
  m_recentFiles.Load();

  BuildActions();
  BuildMenus();
  BuildContextMenus();
  BuildToolBar();
  BuildStatusBar();

  m_pSplitter = new CViewSplitter(platform, *this, this);
  setCentralWidget(m_pSplitter);

  // F6 and Shift+F6 move between the panes of the splitter.
  auto* pNext = new QShortcut(QKeySequence(Qt::Key_F6), this);
  connect(pNext, &QShortcut::activated, this, [this] { m_pSplitter->FocusNextPane(true); });
  auto* pPrev = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
  connect(pPrev, &QShortcut::activated, this, [this] { m_pSplitter->FocusNextPane(false); });

  m_platform.AttachFrame(this);
  m_platform.SetDocumentTitle(DocumentTitle(), DocumentModified());
  UpdateRecentFileMenu();
  RefreshCommandUi();
}

CMainFrame::~CMainFrame() {
  // The handlers act on this frame; without it they are not available.
  for (const FrameCommand& cmd : kaFrameCommands) SetCommandHandler(cmd.nId, nullptr);
  m_platform.AttachFrame(nullptr);
  SetDialogParent(nullptr);
}

CMainFrame* CMainFrame::Instance() { return g_pMainFrame.data(); }

QAction* CMainFrame::CommandAction(int nId) const { return m_mapActions.value(nId, nullptr); }

void CMainFrame::BuildActions() {
  for (const CommandEntry& cmd : CommandTable()) {
    auto* pAction = new QAction(QString::fromUtf8(cmd.szText), this);
    pAction->setData(cmd.nId);
    pAction->setCheckable(cmd.pfnCheck != nullptr || cmd.nId == ID_VIEW_TOOLBAR ||
                          cmd.nId == ID_VIEW_STATUS_BAR);
    if (cmd.szShortcut) {
      QList<QKeySequence> aKeys;
      for (const QString& str : QString::fromUtf8(cmd.szShortcut).split(QLatin1Char(';'))) {
        aKeys.append(QKeySequence::fromString(str, QKeySequence::PortableText));
      }
      pAction->setShortcuts(aKeys);
    }
    const int nId = cmd.nId;
    connect(pAction, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
    m_mapActions.insert(nId, pAction);
  }
  for (QAction* pAction : std::as_const(m_mapActions)) {
    pAction->setShortcutContext(Qt::WindowShortcut);
  }
}

QAction* CMainFrame::AliasAction(int nId, const char* szText) {
  auto* pAction = new QAction(QString::fromUtf8(szText), this);
  pAction->setData(nId);
  if (QAction* pMain = CommandAction(nId)) pAction->setCheckable(pMain->isCheckable());
  connect(pAction, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
  m_aAliases.emplace_back(pAction, nId);
  return pAction;
}

void CMainFrame::BuildMenuTree(std::span<const MenuNode> aNodes,
                               const std::function<QMenu*(const char*)>& fnTopLevel) {
  std::vector<QMenu*> apStack;
  for (const MenuNode& node : aNodes) {
    switch (node.eKind) {
      case MenuKind::Popup: {
        QMenu* pMenu = apStack.empty() ? fnTopLevel(node.szText)
                                       : apStack.back()->addMenu(QString::fromUtf8(node.szText));
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::RefreshCommandUi);
        apStack.push_back(pMenu);
        break;
      }
      case MenuKind::End:
        if (!apStack.empty()) apStack.pop_back();
        break;
      case MenuKind::Separator:
        if (!apStack.empty()) apStack.back()->addSeparator();
        break;
      case MenuKind::Item: {
        if (apStack.empty()) break;
        QMenu* pMenu = apStack.back();
        pMenu->addAction(node.szText ? AliasAction(node.nId, node.szText)
                                     : CommandAction(node.nId));
        if (node.nId == ID_FILE_MRU_FILE1) AddRecentFileSlots(pMenu);
        break;
      }
    }
  }
}

// Room for entries 2..4 of the recent-file list right below the first.
void CMainFrame::AddRecentFileSlots(QMenu* pMenu) {
  for (int i = 0; i < CRecentFileList::kMaxEntries - 1; ++i) {
    auto* pAction = new QAction(this);
    const int nIndex = i + 1;
    connect(pAction, &QAction::triggered, this, [this, nIndex] {
      if (nIndex < m_recentFiles.Entries().size()) {
        OpenDocumentFile(m_recentFiles.Entries()[nIndex]);
      }
    });
    pAction->setVisible(false);
    pMenu->addAction(pAction);
    m_apRecentExtra[i] = pAction;
  }
  connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenu);
}

void CMainFrame::BuildMenus() {
  BuildMenuTree(MainMenu(),
                [this](const char* szText) { return menuBar()->addMenu(QString::fromUtf8(szText)); });
}

void CMainFrame::BuildContextMenus() {
  m_pContextMenu = new QMenu(this);
  BuildMenuTree(ContextMenu(), [this](const char* szText) {
    QMenu* pMenu = m_pContextMenu->addMenu(QString::fromUtf8(szText));
    m_mapContextPopups[szText] = pMenu;
    return pMenu;
  });
}

void CMainFrame::BuildToolBar() {
  m_pToolBar = new QToolBar(QString::fromUtf8("ツール バー"), this);
  m_pToolBar->setObjectName(QStringLiteral("ToolBar128"));
  m_pToolBar->setIconSize(QSize(kToolButtonWidth, kToolButtonHeight));
  m_pToolBar->setMovable(true);
  m_pToolBar->setFloatable(true);
  m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
  for (int nId : ToolBarButtons()) {
    if (nId == 0) {
      m_pToolBar->addSeparator();
      continue;
    }
    QAction* pAction = CommandAction(nId);
    if (!pAction) continue;
    const CommandEntry* pCmd = FindCommand(nId);
    pAction->setIcon(QIcon(ToolBarIcon(pCmd->szIcon)));
    pAction->setIconVisibleInMenu(false);
    pAction->setToolTip(ToolTipText(pAction->text()));
    m_pToolBar->addAction(pAction);
  }
  addToolBar(Qt::TopToolBarArea, m_pToolBar);
  // Closing a floating tool bar by its own button changes the check mark as well.
  connect(m_pToolBar, &QToolBar::visibilityChanged, this, &CMainFrame::RefreshCommandUi);
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* pBar = statusBar();
  // The two readout panes share one strip in proportion to their texts, so a narrow window
  // cuts both alike and neither is cut while both fit.
  auto* pPanes = new QWidget(pBar);
  m_pPaneLayout = new QHBoxLayout(pPanes);
  m_pPaneLayout->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 2; ++i) {
    m_apPane[i] = new QLabel(pPanes);
    m_apPane[i]->setTextFormat(Qt::PlainText);
    m_apPane[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pPaneLayout->addWidget(m_apPane[i], 1);
  }
  pBar->addWidget(pPanes, 1);
  const char* kaszIndicator[4] = {"KANA", "CAP", "NUM", "SCRL"};
  for (int i = 0; i < 4; ++i) {
    m_apIndicator[i] = new QLabel(QString::fromLatin1(kaszIndicator[i]), pBar);
    m_apIndicator[i]->setObjectName(QString::fromLatin1(kaszIndicator[i]));
    m_apIndicator[i]->setFrameShape(QFrame::Panel);
    m_apIndicator[i]->setFrameShadow(QFrame::Sunken);
    m_apIndicator[i]->setAlignment(Qt::AlignCenter);
    m_apIndicator[i]->setMinimumWidth(m_apIndicator[i]->fontMetrics().horizontalAdvance(
                                          QStringLiteral("KANA")) + 10);
    pBar->addPermanentWidget(m_apIndicator[i]);
  }
  RefreshIndicators();
  // The lock keys can change anywhere; a cheap poll keeps the panes right.
  auto* pTimer = new QTimer(this);
  connect(pTimer, &QTimer::timeout, this, &CMainFrame::RefreshIndicators);
  pTimer->start(300);
}

void CMainFrame::RefreshIndicators() {
  bool abOn[4] = {};
  ReadKeyIndicators(abOn);
  for (int i = 0; i < 4; ++i) m_apIndicator[i]->setEnabled(abOn[i]);
}

void CMainFrame::RefreshCommandUi() {
  for (auto it = m_mapActions.cbegin(); it != m_mapActions.cend(); ++it) {
    QAction* pAction = it.value();
    pAction->setEnabled(IsCommandEnabled(it.key()));
    if (pAction->isCheckable()) pAction->setChecked(IsCommandChecked(it.key()));
  }
  for (const auto& [pAction, nId] : m_aAliases) {
    pAction->setEnabled(IsCommandEnabled(nId));
    if (pAction->isCheckable()) pAction->setChecked(IsCommandChecked(nId));
  }
  // The bars are the frame's own: checked while shown.
  CommandAction(ID_VIEW_TOOLBAR)->setChecked(!m_pToolBar->isHidden());
  CommandAction(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
  if (m_recentFiles.Entries().isEmpty()) CommandAction(ID_FILE_MRU_FILE1)->setEnabled(false);
}

void CMainFrame::OnCommand(int nId) {
  DispatchCommand(nId);
  // The command may have closed the window.
  if (!g_pMainFrame) return;
  RefreshCommandUi();
  UpdateViews();
}

void CMainFrame::UpdateRecentFileMenu() {
  const QStringList& astrPaths = m_recentFiles.Entries();
  QAction* pFirst = CommandAction(ID_FILE_MRU_FILE1);
  pFirst->setText(astrPaths.isEmpty() ? QString::fromUtf8(kszRecentPlaceholder)
                                      : m_recentFiles.MenuText(0));
  for (int i = 0; i < CRecentFileList::kMaxEntries - 1; ++i) {
    const bool bUsed = i + 1 < astrPaths.size();
    m_apRecentExtra[i]->setVisible(bUsed);
    if (bUsed) m_apRecentExtra[i]->setText(m_recentFiles.MenuText(i + 1));
  }
  RefreshCommandUi();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
  if (ConfirmSaveChanges()) {
    pEvent->accept();
  } else {
    pEvent->ignore();
  }
}

void CMainFrame::OpenDocumentFile(const QString& strPath) { OpenWorkFileFromShell(strPath); }

void CMainFrame::RepaintViews() {
  for (CTavimo97View* pView : m_pSplitter->Views()) pView->viewport()->repaint();
}

void CMainFrame::UpdateViews() {
  for (CTavimo97View* pView : m_pSplitter->Views()) pView->viewport()->update();
}

void CMainFrame::InitialUpdateViews() {
  for (CTavimo97View* pView : m_pSplitter->Views()) pView->UpdateScrollSizes();
  UpdateViews();
}

bool CMainFrame::SetStatusPanes(const QString& strPane0, const QString& strPane1) {
  const QString astrText[2] = {strPane0, strPane1};
  for (int i = 0; i < 2; ++i) {
    m_apPane[i]->setText(astrText[i]);
    const int nWidth = m_apPane[i]->fontMetrics().horizontalAdvance(astrText[i]);
    m_pPaneLayout->setStretch(i, std::max(nWidth, 1));
  }
  return true;
}

void CMainFrame::ShowDiagnostics(std::span<const std::string> astrLines) {
  QStringList astr;
  for (const std::string& strLine : astrLines) astr.append(QString::fromStdString(strLine));
  if (astr.isEmpty()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(astr.join(QStringLiteral("   ")), 60000);
  }
}

QString CMainFrame::StatusPaneText(int nPane) const {
  return nPane >= 0 && nPane < 2 ? m_apPane[nPane]->text() : QString();
}

QMenu* CMainFrame::ContextPopup(const std::string& strName) const {
  const auto it = m_mapContextPopups.find(strName);
  return it == m_mapContextPopups.end() ? nullptr : it->second;
}

void CMainFrame::ShowContextMenu(const char* szPopup, const QPoint& ptGlobal) {
  if (!szPopup) return;
  if (QMenu* pMenu = ContextPopup(szPopup)) pMenu->exec(ptGlobal);
}
