#include "shell/splash_wnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "shell/artwork.h"

CSplashWnd::CSplashWnd()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bitmap(SplashBitmap()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(m_bitmap.size());
}

CSplashWnd* CSplashWnd::ShowSplashScreen(QWidget* pParentFrame) {
  auto* pSplash = new CSplashWnd;
  QRect rcCentre = pParentFrame && pParentFrame->isVisible()
                       ? pParentFrame->frameGeometry()
                       : QGuiApplication::primaryScreen()->availableGeometry();
  QRect rc(QPoint(0, 0), pSplash->size());
  rc.moveCenter(rcCentre.center());
  pSplash->move(rc.topLeft());
  // Any key or button anywhere in the program takes it away.
  qApp->installEventFilter(pSplash);
  QTimer::singleShot(kShowMs, pSplash, &CSplashWnd::HideSplashScreen);
  pSplash->show();
  return pSplash;
}

void CSplashWnd::HideSplashScreen() {
  if (m_bGone) return;
  m_bGone = true;
  qApp->removeEventFilter(this);
  close();
}

bool CSplashWnd::eventFilter(QObject* pWatched, QEvent* pEvent) {
  switch (pEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      HideSplashScreen();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(pWatched, pEvent);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, m_bitmap);
}
