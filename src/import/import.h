// Bringing a satellite scene in: the values of the scene dialog and the import driver.
#pragma once

#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/state.h"

struct SatelliteDialogValues {
  Sensor nSensor = Sensor::None;
  int nDisplaySize = -1;
  int abBandSelected[kMaxBands] = {};
  std::string astrBandPath[kMaxBands];
};

// What the dialog opens with: the values of the previous run.
SatelliteDialogValues CurrentSatelliteDialogValues();

// Everything after OK: the values are stored, the bands are read and checked, and on success
// the scene replaces the one loaded (defaults restored, DisplayMode::Prompt). On failure every
// problem has been reported and the previous scene stays as it was. Returns success.
bool ApplyOpenSatellite(const SatelliteDialogValues& values);

// What every import does once the new scene is in the plane: histograms, every settings group
// back to its defaults, the prompt, the view's initial update and a fresh readout.
void FinishSceneImport();

// Dialog IDD_BAND_ARITHMETIC: the vegetation index, created on its "作成".
extern const DialogSpec kBandArithmeticDialog;

// Registers the scene commands (open, scrolling, BMP, band arithmetic) and the BMP picture's
// display mode. The scene dialog itself is the desktop's: it gives the open command its handler.
void RegisterImport();

// Forgets the values of a failed run, so that the dialog opens with the loaded scene's values
// (a fresh program, tests).
void ForgetSatelliteDialogValues();

struct SceneWindow;

// The band chain over the flags and paths given: each selected band of the run is read into the
// staging area with the format's reader, every problem is reported as it is found, and the
// flags of bands that the chain cannot reach are cleared. bError is set on any problem (it is
// never cleared here); nLastBand becomes the index of the last band whose file was tried;
// nLoadedMask gets bit N-1 for each band read completely.
// Each file refused for its size or contents adds a line to astrDiagnostics.
void RunBandChain(Sensor eSensor, int abBandSelected[kMaxBands],
                  const std::string astrBandPath[kMaxBands], const SceneWindow& window,
                  bool& bError, int& nLastBand, unsigned& nLoadedMask,
                  std::vector<std::string>& astrDiagnostics);

// Last column and line of the window of a display-size code (0, 1, 2); false for no size.
bool WindowOfDisplaySize(int nDisplaySize, int& nMaxX, int& nMaxY);

// Brings scene offsets into the range the scene of the sensor allows for a window whose last column
// and line are nMaxX, nMaxY (0 .. last column - nMaxX, 0 .. last line - nMaxY). Floppy and other
// sensors leave them alone.
void ClampSceneOffsets(Sensor eSensor, int nMaxX, int nMaxY, int& nOffsetX, int& nOffsetY);
