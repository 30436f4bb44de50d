#include "cli/cli.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "cli/classify_command.h"
#include "cli/command_line_args.h"
#include "cli/headless_platform.h"
#include "cli/png_writer.h"
#include "cli/stats.h"
#include "classification/accuracy.h"
#include "classification/categories.h"
#include "classification/category_settings.h"
#include "core/file_io.h"
#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/view.h"
#include "import/bmp_import.h"
#include "import/import.h"
#include "import/raster.h"
#include "import/scrolling.h"
#include "output/geotiff_writer.h"
#include "histograms/detailed_histogram.h"
#include "output/report.h"
#include "output/vector_areas.h"
#include "resources/resource.h"
#include "workfile/workfile.h"

namespace {

const char kszUsage[] =
    "usage:\n"
    "  geolumen [WORKFILE]          start the desktop program\n"
    "  geolumen export SCENE [SETTING ...] --product PICTURE --out FILE.png [--panel]\n"
    "  geolumen report SCENE [SETTING ...]\n"
    "  geolumen stats SCENE [SETTING ...]\n"
    "  geolumen print SCENE [SETTING ...] --pdf FILE.pdf\n"
    "  geolumen accuracy SCENE [SETTING ...] [--csv FILE.csv]\n"
    "  geolumen classify --raster FILE... --signatures FILE.json --out CLASSES.tif\n"
    "                    [--window X,Y,W,H] [--progress|--no-progress]\n"
    "                    [--test-areas FILE --class-field FIELD --accuracy OUT.json]\n"
    "  geolumen --help\n"
    "\n"
    "SCENE, band files in band order 1..n:\n"
    "  --mss FILE... | --tm FILE...                          floppy scenes (512 x 400)\n"
    "  --ceos FILE... | --etm6921 FILE... | --etm6845 FILE... CD-ROM scenes, with\n"
    "      --size 512x400|800x600|1024x1024 [--offset X,Y]\n"
    "  --raster FILE...   one multi-band raster file (GeoTIFF, ...) or single-band files,\n"
    "      with [--size 512x400|800x600|1024x1024|whole] [--offset X,Y]\n"
    "  --workfile FILE    a work file with its data\n"
    "  --bmp FILE         a BMP picture (blue, green, red as bands 1, 2, 3; up to 1024 x 1024)\n"
    "\n"
    "SETTING, applied in the order given, each as its menu command or dialog OK:\n"
    "  --true-colour | --natural-colour | --false-colour | --rgb-library N (1..6)\n"
    "  --red B | --green B | --blue B\n"
    "  --cutoff N | --release-cutoff\n"
    "  --band-values R,G,B,RL,RU,GL,GU,BL,BU[,LINK]\n"
    "  --coarse-band B | --rank-library N (1..8) | --rank-colours N (1..8)\n"
    "  --rank-values B,T1,T2,T3,T4,T5,T6,T7 | --rank-toggle K\n"
    "  --ranks-on | --ranks-off | --ranks-invert\n"
    "  --fine-band B | --point-library N (1..4) | --point-colours N (1..8)\n"
    "  --point-values B,P2,P3,P4,P5,P6,P7,P8 | --span-toggle K\n"
    "  --spans-on | --spans-off | --spans-invert\n"
    "  --category K (1..8) | --dot-size 1|4|9|16 | --train-select | --train-update\n"
    "  --train-update-all (every category with training pixels)\n"
    "  --train-background composite|previous\n"
    "  --paint X,Y | --erase X,Y | --paint-rect X0,Y0,X1,Y1   (in the training area)\n"
    "  --area training|test   (what painting marks from then on)\n"
    "  --areas FILE --class-field FIELD [--as training|test]   (polygons of a vector file\n"
    "      burnt into the marks of the category FIELD names, by number 1..8 or by name;\n"
    "      without --as, a file's kind field decides, else training)\n"
    "  --save-areas FILE.gpkg   (the training and test areas as polygons)\n"
    "  --clear-category | --clear-all | --category-values K,L1,U1,...,L8,U8\n"
    "  --category-colour R,G,B | --use-bands B,B,...|none | --category-name K,TEXT\n"
    "  --classify-categories K,K,...|none | --classify | --class-colour-toggle K\n"
    "  --class-colours-on | --class-colours-off | --class-colours-invert\n"
    "  --scroll left|right|up|down|left100|right100|up100|down100|centre|top-left|\n"
    "           bottom-left|top-right|bottom-right   (CD-ROM and raster scenes)\n"
    "  --hist-kind composite|coarse|fine|category|classification (shows its detailed\n"
    "      histogram) | --hist-type double|all|area | --hist-scale same|single\n"
    "  --hist-line-colour B,R,G,B | --hist-line-width B,W (1..3)\n"
    "  --hist-cursor V (0..255; while the detailed histogram is shown)\n"
    "  --scatter-bands X,Y (the feature-space plot's bands, 1..8, both in the scene) |\n"
    "  --scatter-boundaries on|off (its minimum-distance decision boundaries)\n"
    "  --open-workfile FILE | --save FILE | --reset-query | --reset-palette\n"
    "  --method min-distance|max-likelihood | --reject-distance D (1..721) |\n"
    "  --reject-probability 0.1|0.5|1|2.5|5|10 (percent) | --reject-off\n"
    "  --save-signatures FILE.json (after --classify) | --signatures FILE.json (a trained\n"
    "           model: names, colours, ranges, bands and the categories to classify)\n"
    "  --save-sections data,composite,coarse,fine,cat1..cat8,histogram (the ones to save)\n"
    "  --user-name TEXT | --user-info TEXT | --data-info TEXT | --date-info TEXT\n"
    "  --ndvi   band 8 = (B4 - B3) / (B4 + B3) x 100 + 100 (a scene of exactly 7 bands)\n"
    "  --print-step N (5..50; the report's line height is N x 10 dots)\n"
    "\n"
    "PICTURE: composite, coarse, fine, category, training, classification, distance (each\n"
    "classified pixel in grey by its distance to its category, unclassified ones red),\n"
    "histogram (the detailed histogram of the kind last chosen, the window area W + 260 by\n"
    "max(H, 420)), signatures (each valid category's mean, one deviation either side and\n"
    "range over the bands in use) or scatter (the feature space of the two scatter bands with\n"
    "the training pixels, centres and two-deviation ellipses); these three are PNG only and\n"
    "always carry their legend, as with --panel.\n"
    "\n"
    "export writes the picture, W x H, as an RGB PNG (with --panel also the panel beside it),\n"
    "or with --out FILE.tif as a GeoTIFF placed like the window (the classification as its\n"
    "category numbers 1..8 with their colours and names, 0 where a pixel is unclassified);\n"
    "report prints the lines of the printed report; print writes the printed page as a PDF\n"
    "(A4, 300 dots per inch, the text at 10 points); stats prints the state as one JSON\n"
    "object.\n"
    "classify assigns every pixel of a whole raster scene of any size (or of the window X,Y\n"
    "of W x H pixels) to a category of a signature file by the file's method and reject\n"
    "threshold, as the window's classification does, reading the scene a few blocks at a time;\n"
    "it writes a tiled GeoTIFF of category numbers (0 where a band in use holds nodata or the\n"
    "pixel lies beyond the threshold) with the categories' colours and names and their pixel\n"
    "counts and hectares. A progress bar shows on a terminal (--progress shows it anyway,\n"
    "--no-progress never). With --test-areas it also writes the accuracy of the classes\n"
    "against the test polygons (a file with a kind field: those of kind test) as the JSON\n"
    "\"geolumen accuracy\" prints.\n"
    "Message boxes go to stderr as\n"
    "\"caption: text\" and are answered OK. Exit status: 0 done, 1 the PNG, PDF, GeoTIFF,\n"
    "GeoPackage or JSON could not be written (or classify was interrupted), 2 bad arguments or\n"
    "a value a dialog refuses, 3 the import failed (or a work file, a signature file, a vector\n"
    "file of areas or a scene that does not fit the signatures was refused).\n";

// Installs a platform for the length of a run and puts the previous one back.
class CPlatformScope {
 public:
  explicit CPlatformScope(Platform* pPlatform) : m_pOld(&ThePlatform()) { SetPlatform(pPlatform); }
  ~CPlatformScope() { SetPlatform(m_pOld); }
  CPlatformScope(const CPlatformScope&) = delete;
  CPlatformScope& operator=(const CPlatformScope&) = delete;

 private:
  Platform* m_pOld;
};

// The option dialogs' OK with what the setting changes.
void ApplyOptionsSetting(const CliSetting& setting) {
  CategoryOptions options = CurrentCategoryOptions();
  if (setting.eAction == CliAction::ClassifyOptions) {
    for (int c = 1; c <= 8; ++c) options.abClassify[c] = 0;
    for (int c : setting.anNumbers) options.abClassify[c] = 1;
    ApplyClassifyOptions(options);
  } else if (setting.nCategory != 0) {
    options.astrName[setting.nCategory] = setting.strName;
    ApplyCategoryOptions(options);
  } else {
    for (int b = 1; b <= kMaxBands; ++b) options.abUseBand[b] = 0;
    for (int b : setting.anNumbers) options.abUseBand[b] = 1;
    ApplyCategoryOptions(options);
  }
}

// Runs one setting as its menu command, dialog OK, colour choice or clicks would; false when the
// command is disabled now.
bool ApplySetting(const CliSetting& setting, CHeadlessPlatform& platform) {
  const int nId = setting.pCommand ? setting.pCommand->nId : 0;
  switch (setting.eAction) {
    case CliAction::Command:
    case CliAction::Colour: {
      if (setting.pCommand->pDialog) platform.AnswerNextDialog(setting.astrFields);
      if (setting.eAction == CliAction::Colour) platform.AnswerNextColour(setting.crColour);
      const bool bRun = DispatchCommand(nId);
      platform.AnswerNextDialog(std::nullopt);
      platform.AnswerNextColour(std::nullopt);
      return bRun;
    }
    case CliAction::CheckTo:
      if (!CommandRuleAllows(nId)) return false;
      return IsCommandChecked(nId) == setting.bWanted || DispatchCommand(nId);
    case CliAction::Clicks:
      // Clicks paint only while the training area is shown.
      if (!CommandRuleAllows(nId)) return false;
      // Each a press and a release: separate clicks, never one stroke through them all.
      for (const auto& [x, y] : setting.aClicks) {
        OnViewLButtonDown(x, y, setting.bShift);
        OnViewLButtonUp();
      }
      return true;
    case CliAction::UserText:
      if (!CommandRuleAllows(nId)) return false;
      g_astrUserText[setting.nUserText] = setting.strValue;
      return true;
    case CliAction::ReadFile:
    case CliAction::WriteFile:
    case CliAction::ReadAreas:
      return false;  // the run's loop carries these out
    case CliAction::HistogramCursor:
      // A click on the chart: only while the detailed histogram is shown.
      if (g_nDisplayMode != DisplayMode::DetailedHistogram) return false;
      for (const auto& [x, y] : setting.aClicks) {
        OnViewLButtonDown(x, y, false);
        OnViewLButtonUp();
      }
      return true;
    case CliAction::CategoryOptions:
    case CliAction::ClassifyOptions:
      if (!CommandRuleAllows(nId)) return false;
      ApplyOptionsSetting(setting);
      return true;
  }
  return false;
}

// The picture and its panel as the view paints them, read back from the surface.
bool WritePanelPicture(const std::string& strPath, CHeadlessPlatform& platform,
                       SurfaceFactory pfnSurface, int nPictureWidth, std::string& strReason) {
  const int nWidth = nPictureWidth + kPanelExportExtraColumns;
  const int nHeight = std::max(WindowHeight(), kPanelExportMinLines);

  std::unique_ptr<Canvas> pSurface = pfnSurface(nWidth, nHeight);
  platform.SetWindowCanvas(pSurface.get());
  PaintView();
  platform.SetWindowCanvas(nullptr);

  std::vector<std::uint32_t> anPixels(static_cast<std::size_t>(nWidth) * nHeight);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      anPixels[static_cast<std::size_t>(y) * nWidth + x] = ScreenPixel(pSurface->GetPixel(x, y));
    }
  }
  return WriteRgbPng(strPath, nWidth, nHeight, anPixels.data(), nWidth, strReason);
}

// The exit status of a run that printed to out (errno cleared before the printing began): a
// stream that could not be written says why on err (a full device, a closed stream), except a
// reader that went away (a pipe into "head"), which ends the run quietly.
int FinishOutput(std::ostream& out, std::ostream& err) {
  out.flush();
  if (out) return kExitOk;
  const int nErrno = errno;
  if (nErrno != EPIPE) {
    err << "geolumen: cannot write to standard output: "
        << (nErrno ? std::strerror(nErrno) : "the stream failed") << '\n';
  }
  return kExitOutputFailed;
}

// --offset must put the window inside the scene, as a dialog's range check keeps a field in
// its range: the dialogs' range message for the coordinate refused. "" when the window lies
// within the scene, or when the import will refuse the scene or the window size and say why.
std::string OffsetRefusal(const CliRequest& request) {
  if (!request.bOffsetGiven) return "";
  int nColumns = 0, nLines = 0, nWidth = 0, nHeight = 0;
  if (request.bRaster) {
    if (request.raster.astrPaths.empty() ||
        !RasterSceneSize(request.raster.astrPaths[0], nColumns, nLines)) {
      return "";
    }
    nWidth = request.raster.nWidth > 0 ? request.raster.nWidth : std::min(nColumns, kMaxColumns);
    nHeight = request.raster.nHeight > 0 ? request.raster.nHeight : std::min(nLines, kMaxLines);
  } else {
    // A floppy scene is its 512 x 400 window, whatever size was asked for.
    const bool bFloppy = request.scene.nSensor == Sensor::Mss ||
                         request.scene.nSensor == Sensor::TmFloppy;
    int nMaxX = 0, nMaxY = 0;
    if (!WindowOfDisplaySize(bFloppy ? 0 : request.scene.nDisplaySize, nMaxX, nMaxY)) return "";
    nWidth = nMaxX + 1;
    nHeight = nMaxY + 1;
    SceneExtent extent{};
    const bool bExtent = GetSceneExtent(request.scene.nSensor, extent);
    nColumns = bExtent ? extent.nLastColumn + 1 : nWidth;
    nLines = bExtent ? extent.nLastLine + 1 : nHeight;
  }
  if (nWidth > nColumns || nHeight > nLines) return "";
  if (request.nOffsetX > nColumns - nWidth) {
    return "--offset X: " + RangeMessage(0, nColumns - nWidth);
  }
  if (request.nOffsetY > nLines - nHeight) {
    return "--offset Y: " + RangeMessage(0, nLines - nHeight);
  }
  return "";
}

// The scene of the request: band files, a raster file or a work file.
bool OpenRequestScene(const CliRequest& request) {
  if (!request.strWorkFile.empty()) {
    // A work file as the scene is read as into a program with no scene loaded.
    const DisplayMode eOldMode = g_nDisplayMode;
    g_nDisplayMode = DisplayMode::NoData;
    if (OpenWorkFile(request.strWorkFile)) return true;
    g_nDisplayMode = eOldMode;
    return false;
  }
  if (!request.strBmpFile.empty()) return ImportBmpFile(request.strBmpFile);
  return request.bRaster ? ApplyOpenRaster(request.raster) : ApplyOpenSatellite(request.scene);
}

}  // namespace

namespace {

// The window's classification against its test pixels, as JSON and, with --csv, as a CSV file.
int WriteAccuracy(const CliRequest& request, std::ostream& out, std::ostream& err) {
  if (!g_bClassified) {
    err << "geolumen: accuracy needs a generated classification (--classify)\n";
    return kExitUsage;
  }
  Accuracy acc;
  if (!WindowAccuracy(acc)) {
    err << "geolumen: accuracy needs test areas: paint them after --area test\n";
    return kExitUsage;
  }
  if (!request.strCsv.empty() &&
      !WriteOutputText(request.strCsv, AccuracyCsv(acc, g_astrCategoryName), err)) {
    return kExitOutputFailed;
  }
  out << AccuracyJson(acc).dump(2) << '\n';
  return FinishOutput(out, err);
}

}  // namespace

bool WriteOutputText(const std::string& strPath, const std::string& strText, std::ostream& err) {
  std::string strReason;
  if (WriteFileAtomically(strPath,
                          std::span(reinterpret_cast<const std::uint8_t*>(strText.data()),
                                    strText.size()),
                          strReason)) {
    return true;
  }
  err << "geolumen: cannot write " << strPath << ": " << strReason << '\n';
  return false;
}

bool IsCommandLineCommand(std::string_view strFirstArg) {
  return strFirstArg == "export" || strFirstArg == "report" || strFirstArg == "stats" ||
         strFirstArg == "print" || strFirstArg == "classify" || strFirstArg == "accuracy" ||
         strFirstArg == "--help" ||
         strFirstArg == "-h" || strFirstArg == "help";
}

std::string UnknownFirstWordMessage(std::string_view strWord) {
  return "geolumen: '" + std::string(strWord) +
         "' is neither a command nor a file; the commands are export, report, stats, print, "
         "classify and --help\n(geolumen --help shows the usage)\n";
}

bool IsSceneArgument(std::string_view strFirstArg) {
  return strFirstArg == "--raster" || strFirstArg == "--mss" || strFirstArg == "--tm" ||
         strFirstArg == "--ceos" || strFirstArg == "--etm6921" || strFirstArg == "--etm6845" ||
         strFirstArg == "--bmp" || strFirstArg == "--workfile";
}

bool OpenSceneArguments(const std::vector<std::string>& astrArgs, std::string& strError) {
  std::vector<std::string> astrRequest = {"report"};
  astrRequest.insert(astrRequest.end(), astrArgs.begin(), astrArgs.end());
  CliRequest request;
  if (!ParseCommandLine(astrRequest, request, strError)) return false;
  for (const CliSetting& setting : request.aSettings) {
    if (setting.eAction != CliAction::Command || setting.pCommand->pDialog) {
      strError = setting.strOption + " cannot be given to the desktop program";
      return false;
    }
  }
  strError = OffsetRefusal(request);
  if (!strError.empty()) return false;
  if (request.bOffsetGiven) {
    g_nSceneOffsetX = request.nOffsetX;
    g_nSceneOffsetY = request.nOffsetY;
  }
  if (!OpenRequestScene(request)) return true;  // the import said what was wrong in its boxes
  for (const CliSetting& setting : request.aSettings) DispatchCommand(setting.pCommand->nId);
  return true;
}

int RunCommandLine(const std::vector<std::string>& astrArgs, std::ostream& out, std::ostream& err,
                   SurfaceFactory pfnSurface, PdfWriter pfnPdf) {
  // A reader that goes away (a pipe into "head") makes writes fail with EPIPE rather than
  // ending the program with a signal.
  std::signal(SIGPIPE, SIG_IGN);
  CliRequest request;
  std::string strError;
  if (!ParseCommandLine(astrArgs, request, strError)) {
    err << "geolumen: " << strError << "\n(geolumen --help shows the usage)\n";
    return kExitUsage;
  }
  if (request.eCommand == CliCommand::Help) {
    out << kszUsage;
    return kExitOk;
  }
  // The whole scene goes its own way: no window, no program state.
  if (request.eCommand == CliCommand::Classify) return RunClassifyCommand(request, err);
  if (request.eCommand == CliCommand::Print && !pfnPdf) {
    err << "geolumen: print is not available in this build\n";
    return kExitUsage;
  }
  if (request.bPanel && IsGeoTiffPath(request.strOut)) {
    err << "geolumen: --panel writes PNG files only\n";
    return kExitUsage;
  }
  if (request.bPanel && !pfnSurface) {
    err << "geolumen: --panel is not available in this build\n";
    return kExitUsage;
  }
  if (request.pProduct && request.pProduct->bWholeWindow) {
    if (IsGeoTiffPath(request.strOut)) {
      err << "geolumen: the " << request.pProduct->szProduct << " picture is written as PNG only\n";
      return kExitUsage;
    }
    if (!pfnSurface) {
      err << "geolumen: the " << request.pProduct->szProduct
          << " picture is not available in this build\n";
      return kExitUsage;
    }
  }

  CHeadlessPlatform platform(err);
  CPlatformScope platformScope(&platform);

  // Every dialog value is checked before anything runs, so a refused one leaves no half-done
  // work behind; the message is the dialog's own.
  for (const CliSetting& setting : request.aSettings) {
    const std::string strRefusal = DialogRefusal(setting);
    if (!strRefusal.empty()) {
      platform.MessageBox(strRefusal, kszAppCaption, MsgButtons::Ok);
      return kExitUsage;
    }
  }

  // An offset outside the scene is refused like a dialog field out of its range.
  if (const std::string strRefusal = OffsetRefusal(request); !strRefusal.empty()) {
    platform.MessageBox(strRefusal, kszAppCaption, MsgButtons::Ok);
    return kExitUsage;
  }
  // The import places the window at the scene offsets as they stand, so --offset sets them
  // first; a failed import leaves the old ones.
  const int nOldOffsetX = g_nSceneOffsetX, nOldOffsetY = g_nSceneOffsetY;
  if (request.bOffsetGiven) {
    g_nSceneOffsetX = request.nOffsetX;
    g_nSceneOffsetY = request.nOffsetY;
  }
  if (!OpenRequestScene(request)) {
    g_nSceneOffsetX = nOldOffsetX;
    g_nSceneOffsetY = nOldOffsetY;
    return kExitImportFailed;
  }

  for (const CliSetting& setting : request.aSettings) {
    // Files read and written along the way, while their command's rule allows: a refused
    // file stops the run as a failed import, a failed write as a failed output.
    const bool bRead =
        setting.eAction == CliAction::ReadFile || setting.eAction == CliAction::ReadAreas;
    if ((bRead || setting.eAction == CliAction::WriteFile) &&
        CommandRuleAllows(setting.pCommand->nId)) {
      const bool bDone = setting.eAction == CliAction::ReadAreas
                             ? LoadVectorAreas(setting.areas)
                             : setting.pfnFile(setting.strValue);
      if (!bDone) return bRead ? kExitImportFailed : kExitOutputFailed;
      continue;
    }
    const bool bApplied = ApplySetting(setting, platform);
    // A dialog's values the scene cannot take (its message is out): nothing changed.
    if (bApplied && setting.pCommand && setting.pCommand->pDialog && LastDialogRefused()) {
      return kExitUsage;
    }
    if (!bApplied) {
      if (setting.eAction == CliAction::HistogramCursor) {
        err << "geolumen: " << setting.strOption
            << " needs the detailed histogram shown (a --hist-kind, --hist-type or --hist-scale "
               "setting before it)\n";
        return kExitUsage;
      }
      err << "geolumen: " << setting.strOption
          << (setting.strValue.empty() ? "" : " " + setting.strValue)
          << " is not available for this scene (the command is disabled)\n";
      return kExitUsage;
    }
    // A window that could not be re-read stays as it was; the run stops as a failed import.
    if (setting.strOption == "--scroll" && LastReloadFailed()) return kExitImportFailed;
  }

  errno = 0;
  if (request.eCommand == CliCommand::Stats) {
    WriteStatsJson(out);
    return FinishOutput(out, err);
  }
  if (request.eCommand == CliCommand::Report) {
    for (const ReportLine& line : ReportLines()) out << line.strText << '\n';
    return FinishOutput(out, err);
  }
  if (request.eCommand == CliCommand::Accuracy) return WriteAccuracy(request, out, err);
  if (request.eCommand == CliCommand::Print) {
    std::string strReason;
    if (!pfnPdf(request.strPdf, strReason)) {
      err << "geolumen: cannot write " << request.strPdf << ": " << strReason << '\n';
      return kExitOutputFailed;
    }
    return kExitOk;
  }

  const int nViewCommand = request.pProduct->pfnViewCommand ? request.pProduct->pfnViewCommand()
                                                            : request.pProduct->nViewCommand;
  if (!DispatchCommand(nViewCommand)) {
    err << "geolumen: the " << request.pProduct->szProduct
        << " picture is not available for this scene (the command is disabled)\n";
    return kExitUsage;
  }
  // A GeoTIFF keeps the window's place on the ground; the classification goes as its classes.
  const bool bTiff = IsGeoTiffPath(request.strOut);
  bool bWritten = false;
  std::string strReason;
  if (bTiff && request.pProduct->eMode == DisplayMode::Classify) {
    bWritten = WriteGeoTiffClasses(request.strOut, strReason);
  } else if (bTiff) {
    bWritten = WriteGeoTiffPicture(request.strOut, WindowWidth(), WindowHeight(), g_anOffscreen,
                                   kMaxColumns, strReason);
  } else if (request.pProduct->bWholeWindow) {
    // The detailed histogram's chart is 512 columns wide whatever the window.
    bWritten = WritePanelPicture(request.strOut, platform, pfnSurface,
                                 std::max(WindowWidth(), kHistogramChartWidth), strReason);
  } else if (request.bPanel) {
    bWritten = WritePanelPicture(request.strOut, platform, pfnSurface, WindowWidth(), strReason);
  } else {
    bWritten = WriteRgbPng(request.strOut, WindowWidth(), WindowHeight(), g_anOffscreen,
                           kMaxColumns, strReason);
  }
  if (!bWritten) {
    err << "geolumen: cannot write " << request.strOut << ": " << strReason << '\n';
    return kExitOutputFailed;
  }
  return kExitOk;
}
