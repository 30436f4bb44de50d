// The command line's arguments, read into a request before anything runs, so that a mistake
// anywhere in them is reported before the scene is touched.
#pragma once

#include <string>
#include <vector>

#include "import/import.h"

enum class CliCommand { Help, Export, Report };
enum class CliProduct { None, Composite, Coarse, Fine };

enum class SettingKind {
  Command,   // one menu command
  Numbered,  // one item of a numbered family (library, band, toggle), value 1..nCount
  Dialog,    // the values of a dialog, handed over as its OK would
};

enum class CliDialog { None, CutOff, BandValues, RankValues, PointValues };

struct SettingSpec {
  const char* szOption;
  SettingKind eKind;
  int nCommandId;              // Command, Dialog: the menu command
  const int* anIds = nullptr;  // Numbered: the commands of items 1..nCount
  int nCount = 0;
  CliDialog eDialog = CliDialog::None;
};

struct CliSetting {
  const SettingSpec* pSpec;
  std::string strValue;                // as typed, for messages
  std::vector<std::string> astrFields; // Dialog: the comma-separated fields
  int nNumber = 0;                     // Numbered: the item
};

struct CliRequest {
  CliCommand eCommand = CliCommand::Help;
  bool bSceneGiven = false;
  SatelliteDialogValues scene;
  bool bOffsetGiven = false;
  int nOffsetX = 0, nOffsetY = 0;
  std::vector<CliSetting> aSettings;
  CliProduct eProduct = CliProduct::None;
  std::string strOut;
  bool bPanel = false;
};

// False with a one-line reason when the arguments do not make a request.
bool ParseCommandLine(const std::vector<std::string>& astrArgs, CliRequest& request,
                      std::string& strError);

// The message the dialog would show for the first field it refuses, or "" when it takes them.
std::string DialogRefusal(const CliSetting& setting);


// A whole decimal integer with an optional sign, nothing around it.
bool ParseInteger(const std::string& str, int& nValue);
