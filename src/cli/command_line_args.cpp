#include "cli/command_line_args.h"

#include <algorithm>

#include "classification/classify_method.h"
#include "classification/signature.h"
#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "output/geotiff_writer.h"
#include "output/vector_areas.h"
#include "resources/resource.h"
#include "workfile/workfile.h"

namespace {

struct SensorOption {
  const char* szOption;
  Sensor eSensor;
};
const SensorOption g_aSensorOptions[] = {
    {"--mss", Sensor::Mss},         {"--tm", Sensor::TmFloppy},
    {"--ceos", Sensor::TmCeos},     {"--etm6921", Sensor::Etm6921},
    {"--etm6845", Sensor::Etm6845},
};

std::vector<std::string> SplitFields(const std::string& str) {
  std::vector<std::string> astr;
  std::size_t nStart = 0;
  for (;;) {
    const std::size_t nComma = str.find(',', nStart);
    astr.push_back(str.substr(nStart, nComma == std::string::npos ? nComma : nComma - nStart));
    if (nComma == std::string::npos) return astr;
    nStart = nComma + 1;
  }
}

bool IsOption(const std::string& str) { return str.size() > 2 && str.compare(0, 2, "--") == 0; }

// "--class-field FIELD" and "--as training|test" after "--areas FILE": the field that names
// each polygon's category, and the kind of marks they make. False with strError set.
bool ReadAreaModifier(const std::string& strArg, const std::string& strValue,
                      AreaReading& areas, std::string& strError) {
  if (strArg == "--class-field") {
    if (!areas.strField.empty()) {
      strError = "--class-field is given twice for one file";
      return false;
    }
    areas.strField = strValue;
    return true;
  }
  if (strValue != "training" && strValue != "test") {
    strError = "--as takes training or test";
    return false;
  }
  if (areas.eKind != AreaKind::FromFile) {
    strError = "--as is given twice for one file";
    return false;
  }
  areas.eKind = strValue == "test" ? AreaKind::Test : AreaKind::Training;
  return true;
}

// "1,2,5" into numbers from 1 to nMost, or "none"; false for anything else.
bool ParseNumberList(const std::string& str, int nMost, std::vector<int>& anNumbers) {
  anNumbers.clear();
  if (str == "none") return true;
  for (const std::string& strField : SplitFields(str)) {
    int n = 0;
    if (!ParseInteger(strField, n) || n < 1 || n > nMost) return false;
    anNumbers.push_back(n);
  }
  return true;
}

// "X,Y" or "X0,Y0,X1,Y1" into integers.
bool ParseIntegers(const std::string& str, std::size_t nCount, std::vector<int>& an) {
  const std::vector<std::string> astr = SplitFields(str);
  if (astr.size() != nCount) return false;
  an.resize(nCount);
  for (std::size_t i = 0; i < nCount; ++i) {
    if (!ParseInteger(astr[i], an[i])) return false;
  }
  return true;
}

// The settings that stand for what the desktop does with the mouse, the colour picker and the
// option dialogs, with the command whose rule allows them (clicks: only while the training
// area is shown, as the update command is).
struct SpecialOption {
  const char* szOption;
  int nCommandId;
  bool bNoValue = false;  // a switch: no value follows
};
const SpecialOption g_aSpecialOptions[] = {
    {"--paint", ID_TRAINING_UPDATE},          {"--erase", ID_TRAINING_UPDATE},
    {"--paint-rect", ID_TRAINING_UPDATE},     {"--category-colour", ID_CATEGORY_COLOUR},
    {"--use-bands", ID_CATEGORY_OPTIONS},     {"--category-name", ID_CATEGORY_OPTIONS},
    {"--classify-categories", ID_CLASSIFY_OPTIONS},
    {"--hist-line-colour", ID_HIST_LINE_COLOUR1},  // the band picks the row
    {"--hist-line-width", ID_HIST_LINE_WIDTH1},
    {"--hist-cursor", 0},
    {"--open-workfile", ID_FILE_OPEN},
    {"--save", ID_FILE_SAVE},
    {"--signatures", ID_SIGNATURE_LOAD},
    {"--save-signatures", ID_SIGNATURE_SAVE},
    {"--areas", ID_AREAS_LOAD},
    {"--save-areas", ID_AREAS_SAVE},
    {"--area", ID_TEST_AREA},
    {"--scatter-boundaries", ID_SCATTER_BOUNDARIES},
    {"--method", ID_CLASSIFY_METHOD},
    {"--reject-distance", ID_CLASSIFY_METHOD},
    {"--reject-probability", ID_CLASSIFY_METHOD},
    {"--reject-off", ID_CLASSIFY_METHOD, true},
    {"--save-sections", ID_SAVE_OPTIONS},
    {"--user-name", ID_HEADER_PROPERTIES},
    {"--user-info", ID_HEADER_PROPERTIES},
    {"--data-info", ID_HEADER_PROPERTIES},
    {"--date-info", ID_HEADER_PROPERTIES},
};

const SpecialOption* FindSpecialOption(const std::string& strOption) {
  for (const SpecialOption& option : g_aSpecialOptions) {
    if (strOption == option.szOption) return &option;
  }
  return nullptr;
}

// Reads a special setting's value; false with strError set when it is wrong.
bool ReadSpecialSetting(const std::string& strArg, const std::string& strValue,
                        CliSetting& setting, std::string& strError) {
  std::vector<int> an;
  if (strArg == "--paint" || strArg == "--erase") {
    if (!ParseIntegers(strValue, 2, an)) {
      strError = strArg + " takes X,Y";
      return false;
    }
    setting.eAction = CliAction::Clicks;
    setting.aClicks = {{an[0], an[1]}};
    setting.bShift = strArg == "--erase";
  } else if (strArg == "--paint-rect") {
    if (!ParseIntegers(strValue, 4, an)) {
      strError = strArg + " takes X0,Y0,X1,Y1";
      return false;
    }
    setting.eAction = CliAction::Clicks;
    // Every point of the rectangle, corners included, line by line.
    const auto [nX0, nX1] = std::minmax(an[0], an[2]);
    const auto [nY0, nY1] = std::minmax(an[1], an[3]);
    if ((nX1 - nX0 + 1LL) * (nY1 - nY0 + 1LL) > 1024LL * 1024) {
      strError = strArg + " covers more than a whole window";
      return false;
    }
    for (int y = nY0; y <= nY1; ++y) {
      for (int x = nX0; x <= nX1; ++x) setting.aClicks.emplace_back(x, y);
    }
  } else if (strArg == "--category-colour") {
    if (!ParseIntegers(strValue, 3, an) ||
        std::any_of(an.begin(), an.end(), [](int n) { return n < 0 || n > 255; })) {
      strError = strArg + " takes R,G,B with three numbers from 0 to 255";
      return false;
    }
    setting.eAction = CliAction::Colour;
    setting.crColour = Rgb(an[0], an[1], an[2]);
  } else if (strArg == "--hist-line-colour") {
    if (!ParseIntegers(strValue, 4, an) || an[0] < 1 || an[0] > kMaxBands ||
        std::any_of(an.begin() + 1, an.end(), [](int n) { return n < 0 || n > 255; })) {
      strError = strArg + " takes B,R,G,B with a band from 1 to 8 and three numbers from 0 to 255";
      return false;
    }
    setting.pCommand = FindCommand(ID_HIST_LINE_COLOUR1 + an[0] - 1);
    setting.eAction = CliAction::Colour;
    setting.crColour = Rgb(an[1], an[2], an[3]);
  } else if (strArg == "--hist-line-width") {
    // The width goes to the dialog as typed, which refuses it as it would.
    const std::vector<std::string> astr = SplitFields(strValue);
    int nBand = 0;
    if (astr.size() != 2 || !ParseInteger(astr[0], nBand) || nBand < 1 || nBand > kMaxBands) {
      strError = strArg + " takes B,W with a band from 1 to 8 and a width";
      return false;
    }
    setting.pCommand = FindCommand(ID_HIST_LINE_WIDTH1 + nBand - 1);
    setting.astrFields = {astr[1]};
  } else if (strArg == "--hist-cursor") {
    int nValue = 0;
    if (!ParseInteger(strValue, nValue) || nValue < 0 || nValue > 255) {
      strError = strArg + " takes a value from 0 to 255";
      return false;
    }
    setting.eAction = CliAction::HistogramCursor;
    setting.aClicks = {{2 * nValue, 0}};
  } else if (strArg == "--area") {
    if (strValue != "training" && strValue != "test") {
      strError = strArg + " takes training or test";
      return false;
    }
    setting.eAction = CliAction::CheckTo;
    setting.bWanted = strValue == "test";
  } else if (strArg == "--scatter-boundaries") {
    if (strValue != "on" && strValue != "off") {
      strError = strArg + " takes on or off";
      return false;
    }
    setting.eAction = CliAction::CheckTo;
    setting.bWanted = strValue == "on";
  } else if (strArg == "--method") {
    // The method dialog's OK with one field changed; "" keeps a field as it stands.
    if (strValue != "min-distance" && strValue != "max-likelihood") {
      strError = strArg + " takes min-distance or max-likelihood";
      return false;
    }
    setting.astrFields = {strValue == "max-likelihood" ? "1" : "0", "", ""};
  } else if (strArg == "--reject-distance") {
    int n = 0;
    if (!ParseInteger(strValue, n) || n < 1 || n > kMaxRejectDistance) {
      strError = strArg + ": " + RangeMessage(1, kMaxRejectDistance);
      return false;
    }
    setting.astrFields = {"", std::to_string(n), ""};
  } else if (strArg == "--reject-probability") {
    const int nCode = RejectProbabilityCode(strValue);
    if (nCode == 0) {
      strError = strArg + " takes 0.1, 0.5, 1, 2.5, 5 or 10 (percent)";
      return false;
    }
    setting.astrFields = {"", "", std::to_string(nCode)};
  } else if (strArg == "--reject-off") {
    setting.astrFields = {"", "0", "0"};
  } else if (strArg == "--open-workfile" || strArg == "--signatures") {
    setting.eAction = CliAction::ReadFile;
    setting.pfnFile = strArg == "--signatures" ? LoadSignatures : OpenWorkFile;
  } else if (strArg == "--save" || strArg == "--save-signatures") {
    setting.eAction = CliAction::WriteFile;
    setting.pfnFile = strArg == "--save-signatures" ? SaveSignatures : SaveWorkFile;
  } else if (strArg == "--save-areas") {
    if (!IsGeoPackagePath(strValue)) {
      strError = strArg + " takes FILE.gpkg (it writes a GeoPackage)";
      return false;
    }
    setting.eAction = CliAction::WriteFile;
    setting.pfnFile = SaveVectorAreas;
  } else if (strArg == "--areas") {
    // --class-field and --as follow and complete it.
    setting.eAction = CliAction::ReadAreas;
    setting.areas.strPath = strValue;
  } else if (strArg == "--save-sections") {
    // The dialog's boxes by their field names; the ones not named are unchecked.
    const DialogSpec& dialog = *setting.pCommand->pDialog;
    setting.astrFields.assign(dialog.aFields.size(), "0");
    for (const std::string& strWord : SplitFields(strValue)) {
      const auto it = std::find_if(dialog.aFields.begin(), dialog.aFields.end(),
                                   [&](const DialogField& field) { return strWord == field.szName; });
      if (it == dialog.aFields.end()) {
        strError = strArg + " takes section names separated by commas: data, composite, coarse, "
                            "fine, cat1 .. cat8, histogram";
        return false;
      }
      setting.astrFields[static_cast<std::size_t>(it - dialog.aFields.begin())] = "1";
    }
  } else if (strArg == "--user-name" || strArg == "--user-info" || strArg == "--data-info" ||
             strArg == "--date-info") {
    setting.eAction = CliAction::UserText;
    setting.nUserText = strArg == "--user-name"   ? 0
                        : strArg == "--user-info" ? 1
                        : strArg == "--data-info" ? 2
                                                  : 3;
  } else if (strArg == "--use-bands") {
    setting.eAction = CliAction::CategoryOptions;
    if (!ParseNumberList(strValue, kMaxBands, setting.anNumbers)) {
      strError = strArg + " takes band numbers 1..8 separated by commas, or none";
      return false;
    }
  } else if (strArg == "--category-name") {
    setting.eAction = CliAction::CategoryOptions;
    const std::size_t nComma = strValue.find(',');
    int n = 0;
    if (nComma == std::string::npos || !ParseInteger(strValue.substr(0, nComma), n) || n < 1 ||
        n > 8) {
      strError = strArg + " takes K,TEXT with a category K from 1 to 8";
      return false;
    }
    setting.nCategory = n;
    setting.strName = strValue.substr(nComma + 1);
  } else if (strArg == "--classify-categories") {
    setting.eAction = CliAction::ClassifyOptions;
    if (!ParseNumberList(strValue, 8, setting.anNumbers)) {
      strError = strArg + " takes category numbers 1..8 separated by commas, or none";
      return false;
    }
  }
  return true;
}

// What the rows of a family take: their words, or "a number from 1 to n".
std::string FamilyValues(const std::vector<const CommandEntry*>& apRows) {
  if (!apRows.front()->szCliValue) return "a number from 1 to " + std::to_string(apRows.size());
  std::string str;
  for (std::size_t i = 0; i < apRows.size(); ++i) {
    if (i > 0) str += i + 1 == apRows.size() ? " or " : ", ";
    str += apRows[i]->szCliValue;
  }
  return str;
}

// The rows a setting option runs: one command, one dialog, or a numbered family (nArg 1..n).
std::vector<const CommandEntry*> RowsOfOption(const std::string& strOption) {
  std::vector<const CommandEntry*> apRows;
  for (const CommandEntry& cmd : CommandTable()) {
    if (cmd.szCliOption && strOption == cmd.szCliOption) apRows.push_back(&cmd);
  }
  return apRows;
}

// The fields the command line lists, as indices into the dialog's fields: the edited ones, in
// the dialog's command-line order.
std::vector<int> CliFields(const DialogSpec& dialog) {
  std::vector<int> anOrder;
  if (dialog.anCliOrder.empty()) {
    for (int i = 0; i < static_cast<int>(dialog.aFields.size()); ++i) anOrder.push_back(i);
  } else {
    anOrder.assign(dialog.anCliOrder.begin(), dialog.anCliOrder.end());
  }
  std::erase_if(anOrder, [&](int i) { return dialog.aFields[i].eKind == FieldKind::Fixed; });
  return anOrder;
}

// Reads "A,B,C" into the dialog's fields; check boxes at the end may be left out.
bool ReadDialogFields(const DialogSpec& dialog, CliSetting& setting, std::string& strError) {
  const std::vector<int> anOrder = CliFields(dialog);
  std::size_t nOptional = 0;
  while (nOptional < anOrder.size() &&
         dialog.aFields[anOrder[anOrder.size() - 1 - nOptional]].eKind == FieldKind::Check) {
    ++nOptional;
  }
  const std::vector<std::string> astrTyped = SplitFields(setting.strValue);
  const std::size_t nMost = anOrder.size(), nLeast = nMost - nOptional;
  if (astrTyped.size() < nLeast || astrTyped.size() > nMost) {
    strError = setting.strOption + " takes " +
               (nOptional ? std::to_string(nLeast) + " or " : std::string()) +
               std::to_string(nMost) + " comma-separated values";
    return false;
  }
  setting.astrFields.assign(dialog.aFields.size(), std::string());
  for (std::size_t i = 0; i < astrTyped.size(); ++i) {
    const DialogField& field = dialog.aFields[anOrder[i]];
    if (field.eKind == FieldKind::Check && astrTyped[i] != "0" && astrTyped[i] != "1") {
      strError = setting.strOption + ": " + field.szName + " must be 0 or 1";
      return false;
    }
    setting.astrFields[anOrder[i]] = astrTyped[i];
  }
  return true;
}

// The command-line names of the registered pictures: "a, b or c", or "a|b|c" with bBars.
std::string ProductNames(bool bBars = false) {
  std::vector<std::string> astr;
  for (const DisplayModeEntry& mode : DisplayModes()) {
    if (mode.szProduct) astr.emplace_back(mode.szProduct);
  }
  std::string str;
  for (std::size_t i = 0; i < astr.size(); ++i) {
    if (i > 0) str += bBars ? "|" : i + 1 == astr.size() ? " or " : ", ";
    str += astr[i];
  }
  return str;
}

const DisplayModeEntry* FindProduct(const std::string& strName) {
  for (const DisplayModeEntry& mode : DisplayModes()) {
    if (mode.szProduct && strName == mode.szProduct) return &mode;
  }
  return nullptr;
}

// The value after the option astrArgs[i]; i moves onto it.
bool NextValue(const std::vector<std::string>& astrArgs, std::size_t& i, std::string& strValue,
               std::string& strError) {
  if (i + 1 >= astrArgs.size()) {
    strError = astrArgs[i] + " needs a value";
    return false;
  }
  strValue = astrArgs[++i];
  return true;
}

// The band files after a scene option (astrArgs[i]), up to the next option; i ends on the last.
bool ReadBandFiles(const std::vector<std::string>& astrArgs, std::size_t& i, int nMostBands,
                   std::vector<std::string>& astrPaths, std::string& strError) {
  const std::string& strOption = astrArgs[i];
  while (i + 1 < astrArgs.size() && !IsOption(astrArgs[i + 1])) {
    if (static_cast<int>(astrPaths.size()) == nMostBands) {
      strError = strOption + " takes at most " + std::to_string(nMostBands) + " band files";
      return false;
    }
    astrPaths.push_back(astrArgs[++i]);
  }
  if (astrPaths.empty()) {
    strError = strOption + " needs at least one band file";
    return false;
  }
  return true;
}

// "classify --raster FILE... --signatures FILE.json --out FILE.tif [--window X,Y,W,H]
// [--progress|--no-progress]"
bool ParseClassifyArguments(const std::vector<std::string>& astrArgs, CliRequest& request,
                            std::string& strError) {
  for (std::size_t i = 1; i < astrArgs.size(); ++i) {
    const std::string& strArg = astrArgs[i];
    auto next = [&](std::string& strValue) { return NextValue(astrArgs, i, strValue, strError); };
    if (strArg == "--raster") {
      if (!request.raster.astrPaths.empty()) {
        strError = "only one scene can be given";
        return false;
      }
      if (!ReadBandFiles(astrArgs, i, kMaxBands, request.raster.astrPaths, strError)) return false;
    } else if (strArg == "--signatures") {
      if (!next(request.strSignatures)) return false;
    } else if (strArg == "--out") {
      if (!next(request.strOut)) return false;
    } else if (strArg == "--window") {
      std::string strValue;
      std::vector<int> an;
      if (!next(strValue)) return false;
      if (!ParseIntegers(strValue, 4, an) || an[0] < 0 || an[1] < 0 || an[2] < 1 || an[3] < 1) {
        strError =
            "--window must be X,Y,W,H: a corner of at least 0,0 and a size of at least 1 x 1";
        return false;
      }
      std::copy(an.begin(), an.end(), request.anWindow);
      request.bWindowGiven = true;
    } else if (strArg == "--progress" || strArg == "--no-progress") {
      request.eProgress = strArg == "--progress" ? CliProgress::On : CliProgress::Off;
    } else if (strArg == "--test-areas") {
      if (!next(request.testAreas.strPath)) return false;
    } else if (strArg == "--class-field") {
      std::string strValue;
      if (!next(strValue) || !ReadAreaModifier(strArg, strValue, request.testAreas, strError)) {
        return false;
      }
    } else if (strArg == "--accuracy") {
      if (!next(request.strAccuracy)) return false;
    } else {
      strError = "unknown option '" + strArg + "' (classify takes --raster, --signatures, --out, "
                 "--window, --test-areas, --class-field, --accuracy, --progress and "
                 "--no-progress)";
      return false;
    }
  }
  const bool bAreas = !request.testAreas.strPath.empty(),
             bField = !request.testAreas.strField.empty(), bJson = !request.strAccuracy.empty();
  if ((bAreas || bField || bJson) && !(bAreas && bField && bJson)) {
    strError = "the accuracy needs all three of --test-areas FILE, --class-field FIELD and "
               "--accuracy OUT.json";
    return false;
  }
  if (request.raster.astrPaths.empty()) {
    strError = "classify needs --raster with the scene's band files";
  } else if (request.strSignatures.empty()) {
    strError = "classify needs --signatures FILE.json";
  } else if (request.strOut.empty() || !IsGeoTiffPath(request.strOut)) {
    strError = "classify needs --out FILE.tif (it writes a GeoTIFF)";
  }
  return strError.empty();
}

}  // namespace

std::string DialogRefusal(const CliSetting& setting) {
  const DialogSpec* pSpec = setting.pCommand ? setting.pCommand->pDialog : nullptr;
  if (!pSpec) return "";
  // Every field in the dialog's own order; a field the command line left out keeps the value
  // the dialog opens with, which it takes.
  for (std::size_t i = 0; i < pSpec->aFields.size() && i < setting.astrFields.size(); ++i) {
    if (setting.astrFields[i].empty()) continue;
    std::string strRefusal = FieldRefusal(pSpec->aFields[i], setting.astrFields[i]);
    if (!strRefusal.empty()) return strRefusal;
  }
  return "";
}

bool ParseCommandLine(const std::vector<std::string>& astrArgs, CliRequest& request,
                      std::string& strError) {
  request = CliRequest{};
  if (astrArgs.empty()) {
    strError = "no command given";
    return false;
  }
  const std::string& strCommand = astrArgs[0];
  if (strCommand == "--help" || strCommand == "-h" || strCommand == "help") {
    request.eCommand = CliCommand::Help;
    return true;
  }
  if (strCommand == "export") {
    request.eCommand = CliCommand::Export;
  } else if (strCommand == "report") {
    request.eCommand = CliCommand::Report;
  } else if (strCommand == "stats") {
    request.eCommand = CliCommand::Stats;
  } else if (strCommand == "print") {
    request.eCommand = CliCommand::Print;
  } else if (strCommand == "accuracy") {
    request.eCommand = CliCommand::Accuracy;
  } else if (strCommand == "classify") {
    request.eCommand = CliCommand::Classify;
    return ParseClassifyArguments(astrArgs, request, strError);
  } else {
    strError = "unknown command '" + strCommand + "'";
    return false;
  }

  bool bSizeGiven = false;
  for (std::size_t i = 1; i < astrArgs.size(); ++i) {
    const std::string& strArg = astrArgs[i];
    auto next = [&](std::string& strValue) { return NextValue(astrArgs, i, strValue, strError); };

    const SensorOption* pSensor = nullptr;
    for (const SensorOption& option : g_aSensorOptions) {
      if (strArg == option.szOption) pSensor = &option;
    }
    if (pSensor || strArg == "--raster") {
      if (request.bSceneGiven) {
        strError = "only one scene can be given";
        return false;
      }
      request.bSceneGiven = true;
      request.bRaster = !pSensor;
      request.scene.nSensor = pSensor ? pSensor->eSensor : Sensor::Raster;
      // A CEOS scene has seven bands: the scene dialog has no box for an eighth file.
      const int nMostBands = request.scene.nSensor == Sensor::TmCeos ? 7 : kMaxBands;
      if (!ReadBandFiles(astrArgs, i, nMostBands, request.raster.astrPaths, strError)) {
        return false;
      }
      for (std::size_t b = 0; b < request.raster.astrPaths.size(); ++b) {
        request.scene.abBandSelected[b] = 1;
        request.scene.astrBandPath[b] = request.raster.astrPaths[b];
      }
      continue;
    }

    std::string strValue;
    if (strArg == "--workfile" || strArg == "--bmp") {
      if (request.bSceneGiven) {
        strError = "only one scene can be given";
        return false;
      }
      if (!next(strArg == "--bmp" ? request.strBmpFile : request.strWorkFile)) return false;
      request.bSceneGiven = true;
      continue;
    }
    if (strArg == "--size") {
      if (!next(strValue)) return false;
      // Raster scenes also take "whole": the whole scene when it fits in 1024 x 1024.
      static const struct {
        const char* szSize;
        int nCode, nWidth, nHeight;
      } kaSizes[] = {{"512x400", 0, 512, 400}, {"800x600", 1, 800, 600},
                     {"1024x1024", 2, 1024, 1024}, {"whole", -1, 0, 0}};
      const auto* it = std::find_if(std::begin(kaSizes), std::end(kaSizes),
                                    [&](const auto& size) { return strValue == size.szSize; });
      if (it == std::end(kaSizes)) {
        strError = "--size must be 512x400, 800x600, 1024x1024 or (for --raster) whole";
        return false;
      }
      request.scene.nDisplaySize = it->nCode;
      request.raster.nWidth = it->nWidth;
      request.raster.nHeight = it->nHeight;
      bSizeGiven = true;
    } else if (strArg == "--offset") {
      if (!next(strValue)) return false;
      const std::vector<std::string> astr = SplitFields(strValue);
      if (astr.size() != 2 || !ParseInteger(astr[0], request.nOffsetX) ||
          !ParseInteger(astr[1], request.nOffsetY) || request.nOffsetX < 0 ||
          request.nOffsetY < 0) {
        strError = "--offset must be X,Y with two whole numbers of at least 0";
        return false;
      }
      request.bOffsetGiven = true;
      request.raster.nOffsetX = request.nOffsetX;
      request.raster.nOffsetY = request.nOffsetY;
    } else if (strArg == "--product" && request.eCommand == CliCommand::Export) {
      if (!next(strValue)) return false;
      request.pProduct = FindProduct(strValue);
      if (!request.pProduct) {
        strError = "--product must be " + ProductNames();
        return false;
      }
    } else if (strArg == "--csv" && request.eCommand == CliCommand::Accuracy) {
      if (!next(request.strCsv)) return false;
    } else if (strArg == "--pdf" && request.eCommand == CliCommand::Print) {
      if (!next(request.strPdf)) return false;
    } else if (strArg == "--out" && request.eCommand == CliCommand::Export) {
      if (!next(request.strOut)) return false;
    } else if (strArg == "--panel" && request.eCommand == CliCommand::Export) {
      request.bPanel = true;
    } else if (strArg == "--class-field" || strArg == "--as") {
      if (request.aSettings.empty() || request.aSettings.back().eAction != CliAction::ReadAreas) {
        strError = strArg + " belongs after --areas FILE";
        return false;
      }
      if (!next(strValue) ||
          !ReadAreaModifier(strArg, strValue, request.aSettings.back().areas, strError)) {
        return false;
      }
    } else if (const std::vector<const CommandEntry*> apRows = RowsOfOption(strArg);
               !apRows.empty()) {
      CliSetting setting{.pCommand = apRows.front(), .strOption = strArg};
      if (apRows.size() > 1) {
        // A family: the number (or the word) picks the row.
        int nNumber = 0;
        if (!next(setting.strValue)) return false;
        const auto it = std::find_if(apRows.begin(), apRows.end(), [&](const CommandEntry* p) {
          if (p->szCliValue) return setting.strValue == p->szCliValue;
          return ParseInteger(setting.strValue, nNumber) && p->nArg == nNumber;
        });
        if (it == apRows.end()) {
          strError = strArg + " takes " + FamilyValues(apRows);
          return false;
        }
        setting.pCommand = *it;
      } else if (const DialogSpec* pSpec = setting.pCommand->pDialog; pSpec && !pSpec->aFields.empty()) {
        if (!next(setting.strValue) || !ReadDialogFields(*pSpec, setting, strError)) return false;
      }
      request.aSettings.push_back(setting);
    } else if (const SpecialOption* pSpecial = FindSpecialOption(strArg)) {
      CliSetting special{.pCommand = FindCommand(pSpecial->nCommandId), .strOption = strArg};
      if ((pSpecial->nCommandId != 0 && !special.pCommand) ||
          (!pSpecial->bNoValue && !next(special.strValue)) ||
          !ReadSpecialSetting(strArg, special.strValue, special, strError)) {
        return false;
      }
      request.aSettings.push_back(special);
    } else {
      strError = "unknown option '" + strArg + "'";
      return false;
    }
  }

  for (const CliSetting& setting : request.aSettings) {
    if (setting.eAction == CliAction::ReadAreas && setting.areas.strField.empty()) {
      strError = "--areas " + setting.areas.strPath +
                 " needs --class-field FIELD (the field naming each polygon's category)";
      return false;
    }
  }
  if (request.bOffsetGiven && (!request.strBmpFile.empty() || !request.strWorkFile.empty())) {
    strError = "--offset places the window of band files or a raster scene; a BMP picture or a "
               "work file brings its own";
    return false;
  }
  if (!request.bSceneGiven) {
    strError = "no scene given (--mss, --tm, --ceos, --etm6921, --etm6845 or --raster with "
               "band files, --bmp or --workfile)";
    return false;
  }
  // The floppy scenes have one window size; a CD-ROM scene without a size goes to the import,
  // which says so as the dialog would.
  if (!bSizeGiven && (request.scene.nSensor == Sensor::Mss ||
                      request.scene.nSensor == Sensor::TmFloppy)) {
    request.scene.nDisplaySize = 0;
  }
  if (request.eCommand == CliCommand::Print && request.strPdf.empty()) {
    strError = "print needs --pdf FILE.pdf";
    return false;
  }
  if (request.eCommand == CliCommand::Export) {
    if (!request.pProduct) {
      strError = "export needs --product " + ProductNames(true);
      return false;
    }
    if (request.strOut.empty()) {
      strError = "export needs --out FILE.png";
      return false;
    }
  }
  return true;
}
