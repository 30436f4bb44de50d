#include "output/ui/print_commands.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <cerrno>

#include "core/dialogs.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/state.h"
#include "output/output.h"
#include "output/report.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

constexpr int kPageDotsPerInch = 300;

// The device's default font at 10 points; a face with Japanese glyphs where the default has
// none, so that the report's text comes out rather than boxes.
QFont ReportFont(QPaintDevice* pDevice) {
  QFont font = QGuiApplication::font();
  if (!QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese)) {
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAPMincho")});
  }
  font.setPointSizeF(10.0);
  return QFont(font, pDevice);
}

// Text only: the report draws nothing else on the page.
class CPageCanvas final : public Canvas {
 public:
  explicit CPageCanvas(QPainter& painter)
      : m_painter(painter), m_font(ReportFont(painter.device())) {}

  void SetPixel(int, int, Colorref) override {}
  Colorref GetPixel(int, int) override { return 0; }
  void FillRect(int, int, int, int, Colorref, Colorref) override {}
  void Polyline(const Point*, int, Colorref, int) override {}
  void TextOut(int x, int y, int, std::string_view text) override {
    // y is the top of the text, as a printer's text origin is.
    m_painter.setFont(m_font);
    m_painter.setPen(Qt::black);
    const QFontMetrics fm(m_font, m_painter.device());
    m_painter.drawText(QPoint(x, y + fm.ascent()),
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  void DrawIcon(int, int, int) override {}
  void CopyOffscreenImage() override {}

 private:
  QPainter& m_painter;
  QFont m_font;
};

}  // namespace

CPrintStepDlg::CPrintStepDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kPrintStepDialog, anValues, Text("印刷ステップの設定"), pParent) {
  auto* pRow = new QHBoxLayout;
  pRow->addWidget(new QLabel(Text("行間隔："), this));
  pRow->addWidget(FieldWidget(0));
  auto* pHints = new QVBoxLayout;
  pHints->addWidget(new QLabel(Text("高解像度プリンタ（ 50 ）"), this));
  pHints->addWidget(new QLabel(Text("～ 低解像度プリンタ（ 5 ）"), this));
  pRow->addLayout(pHints);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pRow);
  pLayout->addWidget(OkCancelButtons());
}

void PaintReportPage(QPainter& painter) {
  CPageCanvas canvas(painter);
  DrawReportPage(canvas);
}

QPrinter& ReportPrinter() {
  static QPrinter* s_pPrinter = [] {
    auto* pPrinter = new QPrinter(QPrinter::HighResolution);
    pPrinter->setResolution(kPageDotsPerInch);
    pPrinter->setPageSize(QPageSize(QPageSize::A4));
    return pPrinter;
  }();
  return *s_pPrinter;
}

bool WriteReportPdf(const std::string& strPath, std::string& strReason) {
  return WriteFileAtomically(
      strPath,
      [](int fd) {
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) return false;
        {
          QPdfWriter writer(&file);
          writer.setResolution(kPageDotsPerInch);
          writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(0, 0, 0, 0)));
          writer.setCreator(QStringLiteral("Geolumen"));
          QPainter painter;
          if (!painter.begin(&writer)) return false;
          PaintReportPage(painter);
          painter.end();
        }
        file.flush();
        // The writer reports no write errors of its own: ask the file.
        if (file.error() != QFileDevice::NoError) {
          errno = EIO;
          return false;
        }
        return true;
      },
      strReason);
}

void OnFilePrint() {
  QPrintDialog dialog(&ReportPrinter(), DialogParent());
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter;
  if (!painter.begin(&ReportPrinter())) {
    ShowMessage("印刷を開始できません。", kszAppCaption);
    return;
  }
  PaintReportPage(painter);
}

void OnFilePrintPreview() {
  QPrintPreviewDialog dialog(&ReportPrinter(), DialogParent());
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [](QPrinter* pPrinter) {
    QPainter painter(pPrinter);
    PaintReportPage(painter);
  });
  dialog.resize(900, 1000);
  dialog.exec();
}

void OnFilePrintSetup() {
  QPageSetupDialog dialog(&ReportPrinter(), DialogParent());
  dialog.exec();
}

void OnEditCopy() {
  // A copy: later drawing must not change what is on the clipboard.
  const QImage image(reinterpret_cast<const uchar*>(g_anOffscreen), WindowWidth(), WindowHeight(),
                     kMaxColumns * 4, QImage::Format_RGB32);
  QGuiApplication::clipboard()->setImage(image.copy());
}

void OnEditEmptyClipboard() { QGuiApplication::clipboard()->clear(); }
