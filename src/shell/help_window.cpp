#include "shell/help_window.h"

#include <QPointer>
#include <QRect>
#include <algorithm>
#include <QTextBrowser>
#include <QUrl>

namespace {
QPointer<QTextBrowser> g_pHelpWindow;
}  // namespace

void ShowHelpWindow(QWidget* pParent) {
  // The resources live in a static library: nothing registers them unless asked to.
  Q_INIT_RESOURCE(geolumen);
  if (!g_pHelpWindow) {
    // A window of its own beside the frame, not a modal dialog.
    g_pHelpWindow = new QTextBrowser(pParent);
    g_pHelpWindow->setWindowFlag(Qt::Window);
    g_pHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    g_pHelpWindow->setWindowTitle(QString::fromUtf8("Geolumen ヘルプ"));
    g_pHelpWindow->setOpenExternalLinks(false);
    g_pHelpWindow->setSource(QUrl(QStringLiteral("qrc:/help/geolumen_help.html")));
    g_pHelpWindow->resize(640, 600);
    // Beside the frame rather than over its menus.
    if (pParent) {
      const QRect rcFrame = pParent->frameGeometry();
      g_pHelpWindow->move(std::max(0, rcFrame.right() - 640), rcFrame.top() + 80);
    }
  }
  g_pHelpWindow->show();
  g_pHelpWindow->raise();
  g_pHelpWindow->activateWindow();
}
