// Bringing a satellite scene in: the values of the scene dialog and the import driver.
#pragma once

#include <string>

#include "core/state.h"

struct SatelliteDialogValues {
  int nSensor = kSensorNone;
  int nDisplaySize = -1;
  int abBandSelected[kMaxBands] = {};
  std::string astrBandPath[kMaxBands];
};

// What the dialog opens with: the values of the previous run.
SatelliteDialogValues CurrentSatelliteDialogValues();

// Everything after OK: the values are stored, the bands are read and checked, and on success
// the scene replaces the one loaded (defaults restored, display mode 10). On failure every
// problem has been reported and the previous scene stays as it was. Returns success.
bool ApplyOpenSatellite(const SatelliteDialogValues& values);
