#include "workfile/ui/recovery_ui.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <chrono>

#include "workfile/recovery.h"

namespace {
// Often enough that "a few seconds after a change" holds to half a second; each tick without
// a change costs a digest of the settings.
constexpr int kTickMs = 500;
}  // namespace

QString RecoveryFolder() {
  QString strDir = qEnvironmentVariable("GEOLUMEN_DATA_DIR");
  if (strDir.isEmpty()) strDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  // A folder that cannot be made is found out at the first copy, and said then.
  if (!strDir.isEmpty()) QDir().mkpath(strDir);
  return strDir;
}

void StartRecoveryOnDesktop(QObject* pOwner) {
  StartRecovery(RecoveryFolder().toStdString());
  auto* pTimer = new QTimer(pOwner);
  QObject::connect(pTimer, &QTimer::timeout, pOwner, [] {
    // Not while a dialog or message box is open: a command may be half-way through.
    if (QApplication::activeModalWidget()) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    RecoveryTick(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  });
  pTimer->start(kTickMs);
}
