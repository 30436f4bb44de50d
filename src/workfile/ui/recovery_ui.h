// The recovery file on the desktop: its folder and the timer that keeps it.
#pragma once

class QObject;
class QString;

// The user's data folder for recovery files: GEOLUMEN_DATA_DIR when set (tests point it
// elsewhere), else the application's data location. Made if missing.
QString RecoveryFolder();
// Starts this program's recovery file in that folder and the timer (owned by pOwner) that
// writes it; between ticks the logic decides.
void StartRecoveryOnDesktop(QObject* pOwner);
