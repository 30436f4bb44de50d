#include "output/ui/scene_classify_dlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <thread>

#include "core/platform.h"
#include "core/text_format.h"
#include "output/messages.h"
#include "shell/base/dialog_windows.h"

CSceneClassifyRun::CSceneClassifyRun(SceneClassifyRequest request, QWidget* pParent)
    : QObject(pParent), m_request(std::move(request)) {
  m_pDialog = new QProgressDialog(QString::fromUtf8(kszClassifySceneProgress),
                                  QString::fromUtf8("キャンセル"), 0, 1, pParent);
  m_pDialog->setWindowTitle(QString::fromUtf8(kszCapClassifyScene));
  m_pDialog->setWindowModality(Qt::WindowModal);
  m_pDialog->setMinimumDuration(0);
  m_pDialog->setAutoClose(false);
  m_pDialog->setAutoReset(false);
  connect(m_pDialog, &QProgressDialog::canceled, this, [this] { m_bCancel = true; });
}

CSceneClassifyRun::~CSceneClassifyRun() { delete m_pDialog; }

SceneClassifyResult CSceneClassifyRun::Run() {
  SceneClassifyResult result;
  QEventLoop loop;
  m_pDialog->setValue(0);
  m_pDialog->show();
  std::thread worker([&] {
    result = ClassifyScene(
        m_request,
        [this](int nDone, int nTotal) {
          // Handed to the window's thread; the worker never waits for it.
          QMetaObject::invokeMethod(
              m_pDialog,
              [this, nDone, nTotal] {
                m_pDialog->setMaximum(nTotal);
                m_pDialog->setValue(nDone);
              },
              Qt::QueuedConnection);
        },
        m_bCancel);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  // Progress still queued for the dialog goes before it closes.
  QCoreApplication::sendPostedEvents(m_pDialog);
  m_pDialog->hide();
  return result;
}

SceneClassifyRequest SceneRequestForShownScene(const std::string& strOutPath) {
  SceneClassifyRequest request;
  request.signature = GeneratedSignature();
  request.strOutPath = strOutPath;
  // One file holding every band, or one file a band.
  const int nBands = BandCount();
  bool bOneFile = true;
  for (int b = 1; b < nBands; ++b) bOneFile &= g_astrBandPath[b] == g_astrBandPath[0];
  for (int b = 0; b < (bOneFile ? 1 : nBands); ++b) request.astrRasterPaths.push_back(g_astrBandPath[b]);
  return request;
}

void OnClassifySceneDialog() {
  const QString strOut =
      AskFilePath(true, QString::fromUtf8("GeoTIFF (*.tif *.tiff)"), QStringLiteral("classes.tif"));
  if (strOut.isEmpty()) return;
  CSceneClassifyRun run(SceneRequestForShownScene(strOut.toStdString()), DialogParent());
  const SceneClassifyResult result = run.Run();
  switch (result.eOutcome) {
    case SceneClassifyOutcome::Done:
      ShowMessage(FormatText(kszMsgClassifySceneDone, strOut.toStdString().c_str(), result.nWidth,
                             result.nHeight),
                  kszCapClassifyScene);
      break;
    case SceneClassifyOutcome::InputRefused:
    case SceneClassifyOutcome::OutputFailed:
      ShowMessage(FormatText(kszMsgClassifySceneFailed, result.strMessage.c_str()),
                  kszCapClassifyScene);
      break;
    case SceneClassifyOutcome::Cancelled: break;  // nothing was left behind
  }
}
