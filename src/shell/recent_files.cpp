#include "shell/recent_files.h"

#include <QSettings>

namespace {
constexpr const char* kszGroup = "Recent File List";

// The profile of the program: ~/.config/Geolumen/Geolumen.ini on Linux.
#define GEOLUMEN_PROFILE QSettings::IniFormat, QSettings::UserScope, "Geolumen", "Geolumen"
}  // namespace

void CRecentFileList::Load() {
  QSettings settings(GEOLUMEN_PROFILE);
  settings.beginGroup(kszGroup);
  m_astrPaths.clear();
  for (int i = 1; i <= kMaxEntries; ++i) {
    const QString strPath = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!strPath.isEmpty() && !m_astrPaths.contains(strPath)) m_astrPaths.append(strPath);
  }
}

void CRecentFileList::Save() const {
  QSettings settings(GEOLUMEN_PROFILE);
  settings.beginGroup(kszGroup);
  for (int i = 1; i <= kMaxEntries; ++i) {
    const QString strKey = QStringLiteral("File%1").arg(i);
    if (i <= m_astrPaths.size()) {
      settings.setValue(strKey, m_astrPaths[i - 1]);
    } else {
      settings.remove(strKey);
    }
  }
}

void CRecentFileList::Add(const QString& strPath) {
  if (strPath.isEmpty()) return;
  m_astrPaths.removeAll(strPath);
  m_astrPaths.prepend(strPath);
  while (m_astrPaths.size() > kMaxEntries) m_astrPaths.removeLast();
  Save();
}

QString CRecentFileList::MenuText(int nIndex) const {
  QString strPath = m_astrPaths.value(nIndex);
  strPath.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(strPath);
}
