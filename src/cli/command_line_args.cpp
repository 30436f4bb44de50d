#include "cli/command_line_args.h"

#include <charconv>

#include "core/commands.h"
#include "core/dialog_texts.h"

namespace {

const SettingSpec g_aSettingSpecs[] = {
    {"--true-colour", SettingKind::Command, ID_TRUE_COLOUR},
    {"--natural-colour", SettingKind::Command, ID_NATURAL_COLOUR},
    {"--false-colour", SettingKind::Command, ID_FALSE_COLOUR},
    {"--rgb-library", SettingKind::Numbered, 0, kanRgbLibraryIds, 6},
    {"--red", SettingKind::Numbered, 0, kanRedBandIds, 8},
    {"--green", SettingKind::Numbered, 0, kanGreenBandIds, 8},
    {"--blue", SettingKind::Numbered, 0, kanBlueBandIds, 8},
    {"--cutoff", SettingKind::Dialog, ID_COMPOSITE_CUTOFF, nullptr, 0, CliDialog::CutOff},
    {"--release-cutoff", SettingKind::Command, ID_COMPOSITE_RELEASE},
    {"--band-values", SettingKind::Dialog, ID_COMPOSITE_BAND_VALUE, nullptr, 0,
     CliDialog::BandValues},
    {"--coarse-band", SettingKind::Numbered, 0, kanCoarseBandIds, 8},
    {"--rank-library", SettingKind::Numbered, 0, kanRankLibraryIds, 8},
    {"--rank-colours", SettingKind::Numbered, 0, kanCoarseColourIds, 8},
    {"--rank-values", SettingKind::Dialog, ID_COARSE_BAND_VALUE, nullptr, 0,
     CliDialog::RankValues},
    {"--rank-toggle", SettingKind::Numbered, 0, kanRankToggleIds, 8},
    {"--ranks-on", SettingKind::Command, ID_RANKS_ON},
    {"--ranks-off", SettingKind::Command, ID_RANKS_OFF},
    {"--ranks-invert", SettingKind::Command, ID_RANKS_INVERT},
    {"--fine-band", SettingKind::Numbered, 0, kanFineBandIds, 8},
    {"--point-library", SettingKind::Numbered, 0, kanPointLibraryIds, 4},
    {"--point-colours", SettingKind::Numbered, 0, kanFineColourIds, 8},
    {"--point-values", SettingKind::Dialog, ID_FINE_BAND_VALUE, nullptr, 0,
     CliDialog::PointValues},
    {"--span-toggle", SettingKind::Numbered, 0, kanSpanToggleIds, 8},
    {"--spans-on", SettingKind::Command, ID_SPANS_ON},
    {"--spans-off", SettingKind::Command, ID_SPANS_OFF},
    {"--spans-invert", SettingKind::Command, ID_SPANS_INVERT},
};

const SettingSpec* FindSettingSpec(const std::string& strOption) {
  for (const SettingSpec& entry : g_aSettingSpecs) {
    if (strOption == entry.szOption) return &entry;
  }
  return nullptr;
}

struct SensorOption {
  const char* szOption;
  int nSensor;
};
const SensorOption g_aSensorOptions[] = {
    {"--mss", kSensorMss},           {"--tm", kSensorTmFloppy},
    {"--ceos", kSensorTmCeos},       {"--etm6921", kSensorEtm6921},
    {"--etm6845", kSensorEtm6845},
};

// Fields of each dialog as the command line lists them.
int DialogFieldCount(CliDialog eDialog, bool& bOptionalLast) {
  bOptionalLast = false;
  switch (eDialog) {
    case CliDialog::CutOff: return 1;
    case CliDialog::BandValues: bOptionalLast = true; return 10;
    case CliDialog::RankValues: return 8;
    case CliDialog::PointValues: return 8;
    case CliDialog::None: break;
  }
  return 0;
}

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

}  // namespace

bool ParseInteger(const std::string& strIn, int& nValue) {
  std::size_t nBegin = strIn.find_first_not_of(" \t");
  std::size_t nEnd = strIn.find_last_not_of(" \t");
  if (nBegin == std::string::npos) return false;
  const char* pBegin = strIn.data() + nBegin;
  const char* pEnd = strIn.data() + nEnd + 1;
  if (*pBegin == '+') ++pBegin;  // from_chars takes a minus sign only
  if (pBegin == pEnd) return false;
  const auto result = std::from_chars(pBegin, pEnd, nValue);
  return result.ec == std::errc() && result.ptr == pEnd;
}

std::string DialogRefusal(const CliSetting& setting) {
  // Each field in the dialog's order: a ranged field refuses anything outside its range (a
  // non-number included), a plain field only what is no integer.
  struct Field {
    int nMin, nMax;
    bool bRange;
  };
  std::vector<Field> aFields;
  switch (setting.pSpec->eDialog) {
    case CliDialog::CutOff: aFields = {{0, 49, true}}; break;
    case CliDialog::BandValues:
      aFields = {{1, 8, true},   {1, 8, true},   {1, 8, true},
                 {0, 254, true}, {1, 255, true}, {0, 254, true},
                 {1, 255, true}, {0, 254, true}, {1, 255, true}};
      break;
    case CliDialog::RankValues:
    case CliDialog::PointValues:
      aFields = {{1, 8, true}};
      aFields.resize(8, Field{0, 0, false});
      break;
    case CliDialog::None: return "";
  }
  for (std::size_t i = 0; i < aFields.size() && i < setting.astrFields.size(); ++i) {
    int nValue = 0;
    const bool bInteger = ParseInteger(setting.astrFields[i], nValue);
    if (aFields[i].bRange && (!bInteger || nValue < aFields[i].nMin || nValue > aFields[i].nMax)) {
      return RangeMessage(aFields[i].nMin, aFields[i].nMax);
    }
    if (!bInteger) return kszIntegerMessage;
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
  } else {
    strError = "unknown command '" + strCommand + "'";
    return false;
  }

  bool bSizeGiven = false;
  for (std::size_t i = 1; i < astrArgs.size(); ++i) {
    const std::string& strArg = astrArgs[i];
    auto next = [&](std::string& strValue) {
      if (i + 1 >= astrArgs.size()) {
        strError = strArg + " needs a value";
        return false;
      }
      strValue = astrArgs[++i];
      return true;
    };

    const SensorOption* pSensor = nullptr;
    for (const SensorOption& option : g_aSensorOptions) {
      if (strArg == option.szOption) pSensor = &option;
    }
    if (pSensor) {
      if (request.bSceneGiven) {
        strError = "only one scene can be given";
        return false;
      }
      request.bSceneGiven = true;
      request.scene.nSensor = pSensor->nSensor;
      int nBand = 0;
      while (i + 1 < astrArgs.size() && !IsOption(astrArgs[i + 1])) {
        if (nBand == kMaxBands) {
          strError = strArg + " takes at most 8 band files";
          return false;
        }
        request.scene.abBandSelected[nBand] = 1;
        request.scene.astrBandPath[nBand] = astrArgs[++i];
        ++nBand;
      }
      if (nBand == 0) {
        strError = strArg + " needs at least one band file";
        return false;
      }
      continue;
    }

    std::string strValue;
    if (strArg == "--size") {
      if (!next(strValue)) return false;
      if (strValue == "512x400") request.scene.nDisplaySize = 0;
      else if (strValue == "800x600") request.scene.nDisplaySize = 1;
      else if (strValue == "1024x1024") request.scene.nDisplaySize = 2;
      else {
        strError = "--size must be 512x400, 800x600 or 1024x1024";
        return false;
      }
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
    } else if (strArg == "--product" && request.eCommand == CliCommand::Export) {
      if (!next(strValue)) return false;
      if (strValue == "composite") request.eProduct = CliProduct::Composite;
      else if (strValue == "coarse") request.eProduct = CliProduct::Coarse;
      else if (strValue == "fine") request.eProduct = CliProduct::Fine;
      else {
        strError = "--product must be composite, coarse or fine";
        return false;
      }
    } else if (strArg == "--out" && request.eCommand == CliCommand::Export) {
      if (!next(request.strOut)) return false;
    } else if (strArg == "--panel" && request.eCommand == CliCommand::Export) {
      request.bPanel = true;
    } else if (const SettingSpec* pSpec = FindSettingSpec(strArg)) {
      CliSetting setting{pSpec, "", {}, 0};
      if (pSpec->eKind != SettingKind::Command) {
        if (!next(setting.strValue)) return false;
      }
      if (pSpec->eKind == SettingKind::Numbered) {
        if (!ParseInteger(setting.strValue, setting.nNumber) || setting.nNumber < 1 ||
            setting.nNumber > pSpec->nCount) {
          strError = strArg + " takes a number from 1 to " + std::to_string(pSpec->nCount);
          return false;
        }
      } else if (pSpec->eKind == SettingKind::Dialog) {
        setting.astrFields = SplitFields(setting.strValue);
        bool bOptionalLast = false;
        const std::size_t nFields = DialogFieldCount(pSpec->eDialog, bOptionalLast);
        if (setting.astrFields.size() != nFields &&
            !(bOptionalLast && setting.astrFields.size() == nFields - 1)) {
          strError = strArg + " takes " +
                     (bOptionalLast ? std::to_string(nFields - 1) + " or " : std::string()) +
                     std::to_string(nFields) + " comma-separated values";
          return false;
        }
        if (pSpec->eDialog == CliDialog::BandValues && setting.astrFields.size() == 10 &&
            setting.astrFields[9] != "0" && setting.astrFields[9] != "1") {
          strError = "--band-values: LINK must be 0 or 1";
          return false;
        }
      }
      request.aSettings.push_back(setting);
    } else {
      strError = "unknown option '" + strArg + "'";
      return false;
    }
  }

  if (!request.bSceneGiven) {
    strError = "no scene given (--mss, --tm, --ceos, --etm6921 or --etm6845 with band files)";
    return false;
  }
  // The floppy scenes have one window size; a CD-ROM scene without a size goes to the import,
  // which says so as the dialog would.
  if (!bSizeGiven && (request.scene.nSensor == kSensorMss ||
                      request.scene.nSensor == kSensorTmFloppy)) {
    request.scene.nDisplaySize = 0;
  }
  if (request.eCommand == CliCommand::Export) {
    if (request.eProduct == CliProduct::None) {
      strError = "export needs --product composite|coarse|fine";
      return false;
    }
    if (request.strOut.empty()) {
      strError = "export needs --out FILE.png";
      return false;
    }
  }
  return true;
}
