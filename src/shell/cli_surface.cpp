#include "shell/cli_surface.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "output/ui/print_commands.h"
#include "shell/qt_canvas.h"

namespace {

// The image and the desktop canvas on it; GetPixel reads the painting back.
class CCliSurface final : public Canvas {
 public:
  CCliSurface(int nWidth, int nHeight)
      : m_image(nWidth, nHeight, QImage::Format_RGB32), m_canvas(m_image) {
    m_image.fill(Qt::white);
  }

  void SetPixel(int x, int y, Colorref cr) override { m_canvas.SetPixel(x, y, cr); }
  Colorref GetPixel(int x, int y) override { return m_canvas.GetPixel(x, y); }
  void FillRect(int left, int top, int right, int bottom, Colorref crPen,
                Colorref crBrush) override {
    m_canvas.FillRect(left, top, right, bottom, crPen, crBrush);
  }
  void Polyline(const Point* pPoints, int nCount, Colorref crPen, int nWidth) override {
    m_canvas.Polyline(pPoints, nCount, crPen, nWidth);
  }
  void TextOut(int x, int y, int nHeight, std::string_view text) override {
    m_canvas.TextOut(x, y, nHeight, text);
  }
  int TextWidth(int nHeight, std::string_view text) override {
    return m_canvas.TextWidth(nHeight, text);
  }
  void DrawIcon(int x, int y, int nIconId) override { m_canvas.DrawIcon(x, y, nIconId); }
  void CopyOffscreenImage() override { m_canvas.CopyOffscreenImage(); }

 private:
  QImage m_image;
  CQtCanvas m_canvas;
};

// The error stream carries the program's messages, one per line; Qt's chatter about the
// session it runs in (no runtime folder and the like) is not among them.
void KeepSeriousQtMessages(QtMsgType eType, const QMessageLogContext& context,
                           const QString& strMessage) {
  if (eType == QtCriticalMsg || eType == QtFatalMsg) {
    const QByteArray ab = qFormatLogMessage(eType, context, strMessage).toLocal8Bit();
    std::fprintf(stderr, "%s\n", ab.constData());
  }
}

// Text needs a GUI application; the command line has none until a panel is asked for.
void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  qInstallMessageHandler(KeepSeriousQtMessages);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int s_nArgc = 1;
  static char s_szName[] = "geolumen";
  static char* s_apArgv[] = {s_szName, nullptr};
  static QGuiApplication s_app(s_nArgc, s_apArgv);
  InstallFontSubstitutions();
}

}  // namespace

bool WriteCliReportPdf(const std::string& strPath, std::string& strReason) {
  EnsureGuiApplication();
  return WriteReportPdf(strPath, strReason);
}

std::unique_ptr<Canvas> MakeCliSurface(int nWidth, int nHeight) {
  EnsureGuiApplication();
  return std::make_unique<CCliSurface>(nWidth, nHeight);
}
