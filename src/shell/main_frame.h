// The main window: menus, tool bar and context menus built from the command table, one QAction
// per command shared by all three, the status bar with the readout panes and the key
// indicators, and the splitter of view panes.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/commands.h"
#include "shell/recent_files.h"

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QToolBar;
class CQtPlatform;
class CViewSplitter;

class CMainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CQtPlatform& platform, QWidget* pParent = nullptr);
  ~CMainFrame() override;

  // The frame that exists now (the framework commands act on it), or nullptr.
  static CMainFrame* Instance();

  // The shared action of a command id, or nullptr.
  QAction* CommandAction(int nId) const;
  // Enabled and checked state of every action from the command table's rules.
  void RefreshCommandUi();
  // Runs a command as the menus and buttons do: dispatch, then refresh the menus and panes.
  void OnCommand(int nId);

  // Repaint every pane now (the surface as it is) or at the next chance.
  void RepaintViews();
  void UpdateViews();
  // The loaded window changed: new scroll ranges for every pane, repaint later.
  void InitialUpdateViews();

  bool SetStatusPanes(const QString& strPane0, const QString& strPane1);
  // The import's lines about refused files, across the status bar for a minute (none: cleared).
  void ShowDiagnostics(std::span<const std::string> astrLines);
  QString StatusPaneText(int nPane) const;

  // The pop-up of the context menu with that name, or nullptr.
  QMenu* ContextPopup(const std::string& strName) const;
  void ShowContextMenu(const char* szPopup, const QPoint& ptGlobal);

  CViewSplitter* Splitter() const { return m_pSplitter; }
  QToolBar* ToolBar() const { return m_pToolBar; }
  CRecentFileList& RecentFiles() { return m_recentFiles; }
  // The recent-file entries into the file menu (the placeholder when there are none).
  void UpdateRecentFileMenu();

  // Opens a work file named on the command line or in the recent-file list.
  void OpenDocumentFile(const QString& strPath);

 protected:
  // Quitting with unsaved changes asks first; "キャンセル" keeps the window open.
  void closeEvent(QCloseEvent* pEvent) override;

 private:
  void BuildActions();
  // Walks a flat menu list; fnTopLevel makes each top-level pop-up, the rest nest below it.
  void BuildMenuTree(std::span<const MenuNode> aNodes,
                     const std::function<QMenu*(const char*)>& fnTopLevel);
  void AddRecentFileSlots(QMenu* pMenu);
  void BuildMenus();
  void BuildContextMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void RefreshIndicators();
  QAction* AliasAction(int nId, const char* szText);

  CQtPlatform& m_platform;
  CViewSplitter* m_pSplitter = nullptr;
  QToolBar* m_pToolBar = nullptr;
  QLabel* m_apPane[2] = {};
  QHBoxLayout* m_pPaneLayout = nullptr;  // the two readout panes share its width
  QLabel* m_apIndicator[4] = {};
  QHash<int, QAction*> m_mapActions;
  // Actions that show a command under another text in one menu.
  std::vector<std::pair<QAction*, int>> m_aAliases;
  std::map<std::string, QMenu*> m_mapContextPopups;
  QMenu* m_pContextMenu = nullptr;
  // Entries 2..4 of the recent-file list (entry 1 is the command's own action).
  QAction* m_apRecentExtra[CRecentFileList::kMaxEntries - 1] = {};
  CRecentFileList m_recentFiles;
};
