#include "shell/about_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>
#include <cstdio>
#include <sys/sysinfo.h>

#include "core/version.h"

bool ReadPhysicalMemory(long& nAvailable, long& nTotal) {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return false;
  nTotal = static_cast<long>(info.totalram) * static_cast<long>(info.mem_unit);
  nAvailable = static_cast<long>(info.freeram) * static_cast<long>(info.mem_unit);
  // What programs can still get includes the reclaimable caches: take MemAvailable if known.
  QFile file(QStringLiteral("/proc/meminfo"));
  if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    while (!file.atEnd()) {
      const QByteArray line = file.readLine();
      long nKb = 0;
      if (std::sscanf(line.constData(), "MemAvailable: %ld kB", &nKb) == 1) {
        nAvailable = nKb * 1024;
        break;
      }
    }
  }
  return true;
}

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(QString::fromUtf8("バージョン情報"));
  auto* pLayout = new QVBoxLayout(this);

  auto* pTop = new QHBoxLayout;
  auto* pIcon = new QLabel(this);
  pIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  pTop->addWidget(pIcon, 0, Qt::AlignTop);
  auto* pTexts = new QVBoxLayout;
  pTexts->addWidget(new QLabel(QString::fromUtf8("衛星データ表示 ジオルーメン Ver ") +
                                   QString::fromUtf8(kszVersion),
                               this));
  pTexts->addWidget(new QLabel(QString::fromUtf8("衛星データから衛星画像を作成・表示"), this));
  pTexts->addWidget(new QLabel(QStringLiteral("BuildDate  2008/07/06"), this));
  pTop->addLayout(pTexts, 1);
  pLayout->addLayout(pTop);

  long nAvailable = 0, nTotal = 0;
  ReadPhysicalMemory(nAvailable, nTotal);
  auto* pGroup = new QGroupBox(QStringLiteral("SystemInfo"), this);
  auto* pGrid = new QGridLayout(pGroup);
  char sz[32];
  std::snprintf(sz, sizeof sz, "%ld", nAvailable);
  m_pFreeMemory = new QLabel(QString::fromLatin1(sz), pGroup);
  std::snprintf(sz, sizeof sz, "%ld", nTotal);
  m_pTotalMemory = new QLabel(QString::fromLatin1(sz), pGroup);
  m_pFreeMemory->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_pTotalMemory->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  pGrid->addWidget(new QLabel(QStringLiteral("FreeSystemMemory:"), pGroup), 0, 0);
  pGrid->addWidget(m_pFreeMemory, 0, 1);
  pGrid->addWidget(new QLabel(QStringLiteral("Byte"), pGroup), 0, 2);
  pGrid->addWidget(new QLabel(QStringLiteral("TotalSystemMemory:"), pGroup), 1, 0);
  pGrid->addWidget(m_pTotalMemory, 1, 1);
  pGrid->addWidget(new QLabel(QStringLiteral("Byte"), pGroup), 1, 2);
  pLayout->addWidget(pGroup);

  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  pLayout->addWidget(pButtons);
}
