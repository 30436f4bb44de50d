#include "shell/help_window.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace {
QPointer<QTextBrowser> g_pHelpWindow;
}  // namespace

void ShowHelpWindow(QWidget* pParent) {
  if (!g_pHelpWindow) {
    // A window of its own beside the frame, not a modal dialog.
    g_pHelpWindow = new QTextBrowser(pParent);
    g_pHelpWindow->setWindowFlag(Qt::Window);
    g_pHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    g_pHelpWindow->setWindowTitle(QString::fromUtf8("Geolumen ヘルプ"));
    g_pHelpWindow->setOpenExternalLinks(false);
    g_pHelpWindow->setSource(QUrl(QStringLiteral("qrc:/help/geolumen_help.html")));
    g_pHelpWindow->resize(640, 600);
  }
  g_pHelpWindow->show();
  g_pHelpWindow->raise();
  g_pHelpWindow->activateWindow();
}
