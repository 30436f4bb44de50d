// "シーン全体を分類": the whole raster scene classified with the model of the last generation,
// into a GeoTIFF the user names, on a worker thread behind a progress dialog that can cancel.
#pragma once

#include <QObject>
#include <atomic>

#include "output/scene_classifier.h"

class QProgressDialog;
class QWidget;

// One run: the worker thread, the progress dialog it reports to and the cancel flag the
// dialog's button sets. Run() returns when the worker has finished; the window keeps
// repainting meanwhile.
class CSceneClassifyRun : public QObject {
  Q_OBJECT
 public:
  CSceneClassifyRun(SceneClassifyRequest request, QWidget* pParent);
  ~CSceneClassifyRun() override;
  SceneClassifyResult Run();
  QProgressDialog* ProgressDialog() const { return m_pDialog; }
  bool CancelRequested() const { return m_bCancel.load(); }

 private:
  SceneClassifyRequest m_request;
  QProgressDialog* m_pDialog = nullptr;
  std::atomic<bool> m_bCancel{false};
};

// The request for the scene on show: its raster files and the last generation's model.
SceneClassifyRequest SceneRequestForShownScene(const std::string& strOutPath);

// The command: asks for the output file, runs, and says how it ended.
void OnClassifySceneDialog();
