#include "shell/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QTextEdit>

#include <cstdio>

#include "core/view.h"
#include "shell/base/dialog_windows.h"
#include "shell/main_frame.h"
#include "workfile/ui/workfile_dialogs.h"

namespace {
// Progress repaints closer together than this only cost time.
constexpr qint64 kProgressIntervalMs = 30;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The detail button's two states (Qt's own button would speak English).
constexpr const char* kszShowDetail = "詳細を表示...";
constexpr const char* kszHideDetail = "詳細を隠す...";
}  // namespace

CQtPlatform::CQtPlatform()
    : m_surface(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32), m_canvas(m_surface) {
  InstallFontSubstitutions();
  m_surface.fill(Qt::white);
}

MsgResult CQtPlatform::MessageBox(std::string_view text, std::string_view caption,
                                  MsgButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton,
                  DialogParent());
  switch (buttons) {
    case MsgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MsgButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MsgButtons::SaveDiscardCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
      box.button(QMessageBox::Save)->setText(QString::fromUtf8("保存"));
      box.button(QMessageBox::Discard)->setText(QString::fromUtf8("保存しない"));
      box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
      box.setDefaultButton(QMessageBox::Save);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MsgButtons::RestoreDiscard:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::Discard);
      box.button(QMessageBox::Yes)->setText(QString::fromUtf8("復元"));
      box.button(QMessageBox::Discard)->setText(QString::fromUtf8("破棄"));
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  // A question asked in the middle of a long operation still gets the normal pointer.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int nResult = box.exec();
  QApplication::restoreOverrideCursor();
  switch (nResult) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Save: return MsgResult::Save;
    case QMessageBox::Discard: return MsgResult::Discard;
    case QMessageBox::Yes: return MsgResult::Restore;
    default: return MsgResult::Cancel;
  }
}

void CQtPlatform::MessageWithDetail(std::string_view text, std::string_view caption,
                                    std::string_view detail) {
  if (detail.empty()) {
    MessageBox(text, caption, MsgButtons::Ok);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok,
                  DialogParent());
  box.setDefaultButton(QMessageBox::Ok);
  box.setDetailedText(FromUtf8(detail));
  // The detail button is the one that is not OK. Qt labels it itself, in English, whenever it
  // is clicked; our label follows once Qt is done, from whether the text is on show.
  auto* pText = box.findChild<QTextEdit*>();
  for (QAbstractButton* pButton : box.buttons()) {
    if (box.buttonRole(pButton) != QMessageBox::ActionRole) continue;
    pButton->setText(QString::fromUtf8(kszShowDetail));
    QObject::connect(
        pButton, &QAbstractButton::clicked, &box,
        [pButton, pText] {
          const bool bOpen = pText && pText->isVisible();
          pButton->setText(QString::fromUtf8(bOpen ? kszHideDetail : kszShowDetail));
        },
        Qt::QueuedConnection);
  }
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QApplication::restoreOverrideCursor();
}

void CQtPlatform::ShowNotice(std::string_view strLine) {
  std::fwrite(strLine.data(), 1, strLine.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void CQtPlatform::SetBusyCursor(BusyCursor cursor) {
  if (cursor == BusyCursor::Arrow) {
    for (; m_nCursorOverrides > 0; --m_nCursorOverrides) QApplication::restoreOverrideCursor();
    return;
  }
  const Qt::CursorShape eShape = cursor == BusyCursor::Wait ? Qt::WaitCursor : Qt::BusyCursor;
  if (m_nCursorOverrides > 0) {
    QApplication::changeOverrideCursor(eShape);
  } else {
    QApplication::setOverrideCursor(eShape);
    ++m_nCursorOverrides;
  }
}

void CQtPlatform::Beep() { QApplication::beep(); }

void CQtPlatform::RedrawSurface() {
  m_surface.fill(Qt::white);
  m_bSurfaceStale = false;
  PaintView();
}

void CQtPlatform::PrepareSurfaceForPaint() {
  if (m_bSurfaceStale && !m_bHoldSurface) RedrawSurface();
}

void CQtPlatform::RepaintNow() {
  RedrawSurface();
  if (m_pFrame) m_pFrame->RepaintViews();
}

void CQtPlatform::InitialUpdate() {
  // The picture is shown again at the next paint, as after an invalidation.
  InvalidateSurface();
  if (m_pFrame) m_pFrame->InitialUpdateViews();
}

void CQtPlatform::ShowProgress() {
  if (!m_pFrame) return;
  if (m_progressTimer.isValid() && m_progressTimer.elapsed() < kProgressIntervalMs) return;
  m_bHoldSurface = true;
  m_pFrame->RepaintViews();
  m_bHoldSurface = false;
  m_progressTimer.start();
}

bool CQtPlatform::ChooseColour(Colorref& crInOut) {
  const QColor crInitial(GetRValue(crInOut), GetGValue(crInOut), GetBValue(crInOut));
  const QColor crChosen = QColorDialog::getColor(crInitial, DialogParent());
  if (!crChosen.isValid()) return false;
  crInOut = Rgb(crChosen.red(), crChosen.green(), crChosen.blue());
  return true;
}

bool CQtPlatform::SetStatusText(std::string_view strPane0, std::string_view strPane1) {
  if (!m_pFrame) return false;
  return m_pFrame->SetStatusPanes(FromUtf8(strPane0), FromUtf8(strPane1));
}

bool CQtPlatform::RunDialog(const DialogSpec& dialog, int anValues[]) {
  return RunDialogWindow(dialog, anValues);
}

void CQtPlatform::ShowDiagnostics(std::span<const std::string> astrLines) {
  if (m_pFrame) m_pFrame->ShowDiagnostics(astrLines);
}

bool CQtPlatform::ShowFileInformation(const FileInformation& info) {
  CFileInformationDlg dlg(info, DialogParent());
  return dlg.exec() == QDialog::Accepted;
}

void CQtPlatform::SetDocumentTitle(std::string_view strTitle, bool bModified) {
  if (!m_pFrame) return;
  // "[*]" is where the frame shows its changed mark.
  QString str = FromUtf8(strTitle);
  str.replace(QStringLiteral("[*]"), QStringLiteral("[[*]]"));
  m_pFrame->setWindowTitle(str + QStringLiteral("[*] - Geolumen"));
  m_pFrame->setWindowModified(bModified);
}
