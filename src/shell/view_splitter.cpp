#include "shell/view_splitter.h"

#include <QApplication>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/tavimo97_view.h"

CViewSplitter::CViewSplitter(CQtPlatform& platform, CMainFrame& frame, QWidget* pParent)
    : QWidget(pParent), m_platform(platform), m_frame(frame) {
  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  const QPoint aptOrigin[2][2] = {};
  Rebuild(1, 1, aptOrigin, {}, {});
}

CTavimo97View* CViewSplitter::View(int nRow, int nCol) const {
  if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return nullptr;
  return m_apView[nRow][nCol];
}

std::vector<CTavimo97View*> CViewSplitter::Views() const {
  std::vector<CTavimo97View*> apViews;
  for (int r = 0; r < m_nRows; ++r) {
    for (int c = 0; c < m_nCols; ++c) apViews.push_back(m_apView[r][c]);
  }
  return apViews;
}

void CViewSplitter::Rebuild(int nRows, int nCols, const QPoint aptOffset[2][2],
                            const QList<int>& anRowSizes, const QList<int>& anColSizes) {
  // The old panes may be the sender of the signal that got us here: let them go later.
  if (m_pRows) {
    layout()->removeWidget(m_pRows);
    m_pRows->hide();
    m_pRows->deleteLater();
  }
  m_nRows = nRows;
  m_nCols = nCols;
  m_pRows = new QSplitter(Qt::Vertical, this);
  m_pRows->setChildrenCollapsible(true);
  layout()->addWidget(m_pRows);
  for (int r = 0; r < 2; ++r) {
    m_apRow[r] = nullptr;
    for (int c = 0; c < 2; ++c) m_apView[r][c] = nullptr;
  }
  for (int r = 0; r < nRows; ++r) {
    m_apRow[r] = new QSplitter(Qt::Horizontal, m_pRows);
    m_apRow[r]->setChildrenCollapsible(true);
    for (int c = 0; c < nCols; ++c) {
      auto* pView = new CTavimo97View(m_platform, m_frame, m_apRow[r]);
      m_apView[r][c] = pView;
    }
    connect(m_apRow[r], &QSplitter::splitterMoved, this, [this, r] { OnColumnsMoved(r); });
  }
  connect(m_pRows, &QSplitter::splitterMoved, this, &CViewSplitter::OnRowsMoved);
  if (nRows > 1 && anRowSizes.size() == nRows) m_pRows->setSizes(anRowSizes);
  for (int r = 0; r < nRows; ++r) {
    if (nCols > 1 && anColSizes.size() == nCols) m_apRow[r]->setSizes(anColSizes);
  }

  // Scroll together: a row shares its vertical position, a column its horizontal one.
  for (int r = 0; r < nRows; ++r) {
    for (int c = 0; c < nCols; ++c) {
      CTavimo97View* pView = m_apView[r][c];
      pView->UpdateScrollSizes();
      pView->SetScrollOffset(aptOffset[r][c]);
      if (CTavimo97View* pRowMate = View(r, 1 - c)) {
        connect(pView->verticalScrollBar(), &QScrollBar::valueChanged,
                pRowMate->verticalScrollBar(), &QScrollBar::setValue);
      }
      if (CTavimo97View* pColumnMate = View(1 - r, c)) {
        connect(pView->horizontalScrollBar(), &QScrollBar::valueChanged,
                pColumnMate->horizontalScrollBar(), &QScrollBar::setValue);
      }
    }
  }
}

void CViewSplitter::ToggleSplit() {
  QPoint aptOffset[2][2];
  const QPoint ptFirst = m_apView[0][0]->ScrollOffset();
  if (m_nRows == 2 && m_nCols == 2) {
    aptOffset[0][0] = ptFirst;
    Rebuild(1, 1, aptOffset, {}, {});
    m_apView[0][0]->setFocus();
    return;
  }
  for (auto& aRow : aptOffset) {
    for (QPoint& pt : aRow) pt = ptFirst;
  }
  const int nHeight = std::max(2 * kMinPane, height());
  const int nWidth = std::max(2 * kMinPane, width());
  Rebuild(2, 2, aptOffset, {nHeight / 2, nHeight - nHeight / 2},
          {nWidth / 2, nWidth - nWidth / 2});
  m_apView[0][0]->setFocus();
}

void CViewSplitter::OnRowsMoved() {
  const QList<int> anSizes = m_pRows->sizes();
  for (int r = 0; r < m_nRows && m_nRows > 1; ++r) {
    if (anSizes.value(r) >= kMinPane) continue;
    // Row r was dragged away: the other row stays with its scroll positions.
    const int nKeep = 1 - r;
    QPoint aptOffset[2][2];
    for (int c = 0; c < m_nCols; ++c) aptOffset[0][c] = m_apView[nKeep][c]->ScrollOffset();
    const QList<int> anCols = m_apRow[nKeep]->sizes();
    Rebuild(1, m_nCols, aptOffset, {}, anCols);
    return;
  }
}

void CViewSplitter::OnColumnsMoved(int nRow) {
  const QList<int> anSizes = m_apRow[nRow]->sizes();
  for (int c = 0; c < m_nCols && m_nCols > 1; ++c) {
    if (anSizes.value(c) >= kMinPane) continue;
    const int nKeep = 1 - c;
    QPoint aptOffset[2][2];
    for (int r = 0; r < m_nRows; ++r) aptOffset[r][0] = m_apView[r][nKeep]->ScrollOffset();
    const QList<int> anRows = m_pRows->sizes();
    Rebuild(m_nRows, 1, aptOffset, anRows, {});
    return;
  }
  // The columns line up across the rows, as in one grid.
  for (int r = 0; r < m_nRows; ++r) {
    if (r != nRow) m_apRow[r]->setSizes(anSizes);
  }
}

void CViewSplitter::FocusNextPane(bool bForward) {
  const std::vector<CTavimo97View*> apViews = Views();
  const int nCount = static_cast<int>(apViews.size());
  int nCurrent = 0;
  for (int i = 0; i < nCount; ++i) {
    if (apViews[i]->hasFocus() || apViews[i]->isAncestorOf(QApplication::focusWidget())) {
      nCurrent = i;
    }
  }
  const int nNext = (nCurrent + (bForward ? 1 : nCount - 1)) % nCount;
  apViews[nNext]->setFocus(Qt::ShortcutFocusReason);
}
