#include "shell/tavimo97_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "core/view.h"
#include "shell/main_frame.h"
#include "shell/qt_platform.h"

CTavimo97View::CTavimo97View(CQtPlatform& platform, CMainFrame& frame, QWidget* pParent)
    : QAbstractScrollArea(pParent), m_platform(platform), m_frame(frame) {
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setMinimumSize(10, 10);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  UpdateScrollSizes();
}

void CTavimo97View::UpdateScrollSizes() {
  const ScrollSizes sizes = ComputeScrollSizes();
  const QSize sizeView = viewport()->size();
  QScrollBar* pH = horizontalScrollBar();
  QScrollBar* pV = verticalScrollBar();
  pH->setRange(0, std::max(0, sizes.nTotalWidth - sizeView.width()));
  pV->setRange(0, std::max(0, sizes.nTotalHeight - sizeView.height()));
  pH->setPageStep(std::max(1, sizes.nPageWidth));
  pV->setPageStep(std::max(1, sizes.nPageHeight));
  pH->setSingleStep(std::max(1, sizes.nLineWidth));
  pV->setSingleStep(std::max(1, sizes.nLineHeight));
}

QPoint CTavimo97View::ScrollOffset() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CTavimo97View::SetScrollOffset(const QPoint& ptOffset) {
  horizontalScrollBar()->setValue(ptOffset.x());
  verticalScrollBar()->setValue(ptOffset.y());
}

QPoint CTavimo97View::ToLogical(const QPoint& ptDevice) const { return ptDevice + ScrollOffset(); }

void CTavimo97View::paintEvent(QPaintEvent* pEvent) {
  m_platform.PrepareSurfaceForPaint();
  QPainter p(viewport());
  const QRect rcDirty = pEvent->rect();
  p.fillRect(rcDirty, Qt::white);
  const QPoint ptOffset = ScrollOffset();
  p.drawImage(rcDirty.topLeft(), m_platform.Surface(), rcDirty.translated(ptOffset));
}

void CTavimo97View::resizeEvent(QResizeEvent* pEvent) {
  QAbstractScrollArea::resizeEvent(pEvent);
  UpdateScrollSizes();
}

void CTavimo97View::scrollContentsBy(int, int) { viewport()->update(); }

void CTavimo97View::mouseMoveEvent(QMouseEvent* pEvent) {
  const QPoint pt = ToLogical(pEvent->position().toPoint());
  if (pEvent->buttons() & Qt::LeftButton) {
    // Painting training areas follows the dragged mouse.
    OnViewLButtonDrag(pt.x(), pt.y(), (pEvent->modifiers() & Qt::ShiftModifier) != 0);
    m_frame.UpdateViews();
  } else {
    OnViewMouseMove(pt.x(), pt.y());
  }
}

void CTavimo97View::mousePressEvent(QMouseEvent* pEvent) {
  const QPoint pt = ToLogical(pEvent->position().toPoint());
  if (pEvent->button() == Qt::LeftButton) {
    OnViewLButtonDown(pt.x(), pt.y(), (pEvent->modifiers() & Qt::ShiftModifier) != 0);
    m_frame.RefreshCommandUi();
    m_frame.UpdateViews();
  } else if (pEvent->button() == Qt::RightButton) {
    const bool bCtrl = (pEvent->modifiers() & Qt::ControlModifier) != 0;
    m_frame.ShowContextMenu(ContextPopupForClick(bCtrl), pEvent->globalPosition().toPoint());
  }
}

void CTavimo97View::mouseReleaseEvent(QMouseEvent* pEvent) {
  if (pEvent->button() == Qt::LeftButton) OnViewLButtonUp();
}

bool CTavimo97View::viewportEvent(QEvent* pEvent) {
  // The scroll area passes the viewport's mouse events on, but not its leaving; onto a scroll
  // bar is out of the picture as well.
  if (pEvent->type() == QEvent::Leave) OnViewMouseLeave();
  return QAbstractScrollArea::viewportEvent(pEvent);
}

void CTavimo97View::mouseDoubleClickEvent(QMouseEvent* pEvent) {
  if (pEvent->button() == Qt::LeftButton) {
    mousePressEvent(pEvent);
  } else {
    QAbstractScrollArea::mouseDoubleClickEvent(pEvent);
  }
}

void CTavimo97View::keyPressEvent(QKeyEvent* pEvent) {
  ArrowKey key;
  switch (pEvent->key()) {
    case Qt::Key_Left: key = ArrowKey::Left; break;
    case Qt::Key_Right: key = ArrowKey::Right; break;
    case Qt::Key_Up: key = ArrowKey::Up; break;
    case Qt::Key_Down: key = ArrowKey::Down; break;
    default:
      // Page keys and the like still scroll.
      QAbstractScrollArea::keyPressEvent(pEvent);
      return;
  }
  OnViewArrowKey(key);
  m_frame.UpdateViews();
}
