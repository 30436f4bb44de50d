#include "import/ui/open_raster_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "import/messages.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

// The window sizes offered: width and height, 0 for the whole scene up to 1024 x 1024.
struct SizeChoice {
  const char* szText;
  int nWidth, nHeight;
};
constexpr SizeChoice kaSizes[] = {{"シーン全体（1024×1024まで）", 0, 0},
                                  {"512×400", 512, 400},
                                  {"800×600", 800, 600},
                                  {"1024×1024", 1024, 1024}};

}  // namespace

COpenRasterDlg::COpenRasterDlg(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(Text(kszOpenRasterTitle));
  m_pFiles = new QListWidget(this);
  m_pFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* pAdd = new QPushButton(Text("追加..."), this);
  auto* pRemove = new QPushButton(Text("削除"), this);
  connect(pAdd, &QPushButton::clicked, this, &COpenRasterDlg::OnAddFiles);
  connect(pRemove, &QPushButton::clicked, this, [this] { qDeleteAll(m_pFiles->selectedItems()); });
  auto* pButtons = new QVBoxLayout;
  pButtons->addWidget(pAdd);
  pButtons->addWidget(pRemove);
  pButtons->addStretch();
  auto* pFileRow = new QHBoxLayout;
  pFileRow->addWidget(m_pFiles);
  pFileRow->addLayout(pButtons);

  m_pSize = new QComboBox(this);
  for (const SizeChoice& size : kaSizes) m_pSize->addItem(Text(size.szText));
  auto* pSizeRow = new QHBoxLayout;
  pSizeRow->addWidget(new QLabel(Text("表示サイズ"), this));
  pSizeRow->addWidget(m_pSize, 1);

  auto* pBox = new QDialogButtonBox(this);
  pBox->addButton(Text("開く"), QDialogButtonBox::AcceptRole)->setDefault(true);
  pBox->addButton(Text("キャンセル"), QDialogButtonBox::RejectRole);
  connect(pBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(new QLabel(Text("マルチバンドのファイル１つ、またはバンド順の１バンドのファイル（８つまで）"), this));
  pLayout->addLayout(pFileRow);
  pLayout->addLayout(pSizeRow);
  pLayout->addWidget(pBox);
}

void COpenRasterDlg::OnAddFiles() {
  const QStringList astr = QFileDialog::getOpenFileNames(
      this, Text(kszOpenRasterTitle), QString(),
      Text("ラスターファイル (*.tif *.tiff *.TIF *.TIFF *.img *.jp2 *.vrt);;全てのファイル (*)"));
  m_pFiles->addItems(astr);
}

RasterValues COpenRasterDlg::Values() const {
  RasterValues values;
  for (int i = 0; i < m_pFiles->count(); ++i) {
    values.astrPaths.push_back(m_pFiles->item(i)->text().toStdString());
  }
  const SizeChoice& size = kaSizes[std::max(m_pSize->currentIndex(), 0)];
  values.nWidth = size.nWidth;
  values.nHeight = size.nHeight;
  return values;
}

void OnFileOpenRaster() {
  COpenRasterDlg dlg(DialogParent());
  if (dlg.exec() == QDialog::Accepted && ConfirmSaveChanges()) ApplyOpenRaster(dlg.Values());
}
