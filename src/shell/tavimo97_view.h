// One pane of the scrolling view: shows the shared window surface at its scroll position and
// hands mouse clicks and arrow keys to the view logic in logical (scrolled) coordinates.
#pragma once

#include <QAbstractScrollArea>
#include <QPoint>

class CMainFrame;
class CQtPlatform;

class CTavimo97View final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  CTavimo97View(CQtPlatform& platform, CMainFrame& frame, QWidget* pParent = nullptr);

  // Scroll ranges, pages and lines from the loaded window's size.
  void UpdateScrollSizes();
  QPoint ScrollOffset() const;
  void SetScrollOffset(const QPoint& ptOffset);
  // A point of the pane in logical view coordinates.
  QPoint ToLogical(const QPoint& ptDevice) const;

 protected:
  void paintEvent(QPaintEvent* pEvent) override;
  void resizeEvent(QResizeEvent* pEvent) override;
  void scrollContentsBy(int dx, int dy) override;
  void mouseMoveEvent(QMouseEvent* pEvent) override;
  void mousePressEvent(QMouseEvent* pEvent) override;
  // The end of a stroke of the left button.
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
  // The readout of the last pixel goes when the mouse leaves the pane's picture area.
  bool viewportEvent(QEvent* pEvent) override;
  // The second press of a quick pair arrives as a double-click: it is a press all the same.
  void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
  void keyPressEvent(QKeyEvent* pEvent) override;

 private:
  CQtPlatform& m_platform;
  CMainFrame& m_frame;
};
