// The dynamic splitter of the main frame: one to 2 x 2 panes, each a view of the same picture.
// Panes in a row scroll together vertically, panes in a column horizontally; dragging a split
// bar until a pane is smaller than 10 x 10 removes that row or column.
#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

class QSplitter;
class CMainFrame;
class CQtPlatform;
class CTavimo97View;

class CViewSplitter final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinPane = 10;

  CViewSplitter(CQtPlatform& platform, CMainFrame& frame, QWidget* pParent = nullptr);

  int RowCount() const { return m_nRows; }
  int ColumnCount() const { return m_nCols; }
  CTavimo97View* View(int nRow, int nCol) const;
  // Every pane, row by row.
  std::vector<CTavimo97View*> Views() const;

  // The "split" command: a single or half-split window becomes 2 x 2 with the bars in the
  // middle; a 2 x 2 window goes back to one pane.
  void ToggleSplit();
  // F6 / Shift+F6: the focus to the next or previous pane.
  void FocusNextPane(bool bForward);

 private:
  void Rebuild(int nRows, int nCols, const QPoint aptOffset[2][2], const QList<int>& anRowSizes,
               const QList<int>& anColSizes);
  void OnRowsMoved();
  void OnColumnsMoved(int nRow);

  CQtPlatform& m_platform;
  CMainFrame& m_frame;
  QSplitter* m_pRows = nullptr;
  QSplitter* m_apRow[2] = {};
  CTavimo97View* m_apView[2][2] = {};
  int m_nRows = 0;
  int m_nCols = 0;
};
