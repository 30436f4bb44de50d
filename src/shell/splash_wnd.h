// The splash screen: a borderless pop-up with bitmap 102, gone after 750 ms or at once on any
// key or mouse press anywhere in the program.
#pragma once

#include <QWidget>

class CSplashWnd final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShowMs = 750;

  // Shows the splash screen centred over pParentFrame (or the screen) and returns it; it
  // deletes itself when it goes.
  static CSplashWnd* ShowSplashScreen(QWidget* pParentFrame);
  // Takes it away now (before a question at start, which it would cover).
  void HideSplashScreen();

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void paintEvent(QPaintEvent* pEvent) override;

 private:
  CSplashWnd();

  QPixmap m_bitmap;
  bool m_bGone = false;
};
