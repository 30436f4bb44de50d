// The command line's arguments, read into a request before anything runs, so that a mistake
// anywhere in them is reported before the scene is touched. Settings are found in the command
// registry by their option; a dialog's values are read and checked by its description.
#pragma once

#include <string>
#include <vector>

#include "import/import.h"

struct CommandEntry;
struct DisplayModeEntry;

enum class CliCommand { Help, Export, Report };

struct CliSetting {
  const CommandEntry* pCommand;  // the command it runs (a dialog command for dialog values)
  std::string strOption;         // as typed, for messages
  std::string strValue;
  // Dialog values as typed, one per field of the dialog ("" where the command line gave none:
  // the field keeps the value the dialog opens with).
  std::vector<std::string> astrFields;
};

struct CliRequest {
  CliCommand eCommand = CliCommand::Help;
  bool bSceneGiven = false;
  SatelliteDialogValues scene;
  bool bOffsetGiven = false;
  int nOffsetX = 0, nOffsetY = 0;
  std::vector<CliSetting> aSettings;
  const DisplayModeEntry* pProduct = nullptr;  // export: the picture to write
  std::string strOut;
  bool bPanel = false;
};

// False with a one-line reason when the arguments do not make a request.
bool ParseCommandLine(const std::vector<std::string>& astrArgs, CliRequest& request,
                      std::string& strError);

// The message the dialog would show for the first field it refuses, or "" when it takes them.
std::string DialogRefusal(const CliSetting& setting);
