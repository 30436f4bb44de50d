// The command line's arguments, read into a request before anything runs, so that a mistake
// anywhere in them is reported before the scene is touched. Settings are found in the command
// registry by their option; a dialog's values are read and checked by its description.
#pragma once

#include <string>
#include <vector>

#include <utility>

#include "import/import.h"
#include "import/raster.h"
#include "output/vector_areas.h"

struct CommandEntry;
struct DisplayModeEntry;

enum class CliCommand { Help, Export, Report, Stats, Print, Classify, Accuracy };

// classify's progress bar: on a terminal only, or always, or never.
enum class CliProgress { Auto, On, Off };

// What a setting does besides running its command as the menu would.
enum class CliAction {
  Command,          // the command (a dialog command with the typed values)
  Clicks,           // left clicks in the training area (Shift held to erase)
  Colour,           // the command, its colour picker answered with a colour
  CategoryOptions,  // the category options' OK with bands or one name changed
  ClassifyOptions,  // the classification options' OK with these categories checked
  HistogramCursor,  // a click on the detailed histogram (refused in any other picture)
  CheckTo,          // the check command, run when its check is not yet bWanted
  ReadFile,         // a file read now (a work file, signatures): pfnFile with the path
  WriteFile,        // a file written now (the work file, signatures, the areas)
  ReadAreas,        // polygons of a vector file burnt into the marks now
  UserText,         // the header sheet's OK with one user text changed
};

struct CliSetting {
  // The command it runs (a dialog's for its values); null for a click on the detailed histogram.
  const CommandEntry* pCommand = nullptr;
  std::string strOption{};                 // as typed, for messages
  std::string strValue{};
  // Dialog values as typed, one per field of the dialog ("" where the command line gave none:
  // the field keeps the value the dialog opens with).
  std::vector<std::string> astrFields{};
  CliAction eAction = CliAction::Command;
  bool (*pfnFile)(const std::string& strPath) = nullptr;  // ReadFile, WriteFile
  std::vector<std::pair<int, int>> aClicks{};  // Clicks: the points, in order
  bool bShift = false;                       // Clicks: erase
  bool bWanted = false;                      // CheckTo: the check wanted
  Colorref crColour = 0;                     // Colour
  int nCategory = 0;                         // CategoryOptions: the category named (else 0)
  std::string strName{};                     // CategoryOptions: its new name
  std::vector<int> anNumbers{};              // bands (CategoryOptions) or categories checked
  int nUserText = 0;                         // UserText: which of the four
  AreaReading areas{};                       // ReadAreas: the file, its field and the kind
};

struct CliRequest {
  CliCommand eCommand = CliCommand::Help;
  bool bSceneGiven = false;
  SatelliteDialogValues scene;
  bool bRaster = false;  // the scene is raster files, read through GDAL
  RasterValues raster;
  std::string strWorkFile;  // the scene is this work file
  std::string strBmpFile;   // the scene is this BMP picture
  bool bOffsetGiven = false;
  int nOffsetX = 0, nOffsetY = 0;
  std::vector<CliSetting> aSettings;
  const DisplayModeEntry* pProduct = nullptr;  // export: the picture to write
  std::string strOut;
  std::string strPdf;  // print: the PDF to write
  std::string strCsv;  // accuracy: the CSV to write as well ("" none)
  bool bPanel = false;
  // classify: the whole raster scene (raster.astrPaths) from a model into strOut.
  std::string strSignatures;
  bool bWindowGiven = false;
  int anWindow[4] = {};  // X, Y, W, H
  CliProgress eProgress = CliProgress::Auto;
  // classify: the accuracy against these test areas, written to strAccuracy as JSON.
  AreaReading testAreas{};
  std::string strAccuracy;
};

// False with a one-line reason when the arguments do not make a request.
bool ParseCommandLine(const std::vector<std::string>& astrArgs, CliRequest& request,
                      std::string& strError);

// The message the dialog would show for the first field it refuses, or "" when it takes them.
std::string DialogRefusal(const CliSetting& setting);
