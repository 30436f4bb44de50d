// The recent-file list of the profile file: four work files, newest first, kept in the
// program's own INI file (group "Recent File List", keys File1..File4).
#pragma once

#include <QString>
#include <QStringList>

class CRecentFileList {
 public:
  static constexpr int kMaxEntries = 4;

  // Reads the list from the profile file.
  void Load();
  // Writes the list back to the profile file.
  void Save() const;
  // Puts a path at the top (moving it if it is already listed) and saves the list.
  void Add(const QString& strPath);

  const QStringList& Entries() const { return m_astrPaths; }
  // The menu text of entry nIndex (0-based): "&1 path", ampersands in the path doubled.
  QString MenuText(int nIndex) const;

 private:
  QStringList m_astrPaths;
};
