// The headless front end: "geolumen export ..." and "geolumen report ..." run the same logic as
// the desktop program, without a display. Message boxes go to the error stream as
// "caption: text" and are answered OK.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class Canvas;

inline constexpr int kExitOk = 0;
inline constexpr int kExitOutputFailed = 1;  // the picture file could not be written
inline constexpr int kExitUsage = 2;         // bad arguments, or a value a dialog would refuse
inline constexpr int kExitImportFailed = 3;

// "--panel" writes the window area from (0, 0): the picture and the panel strip beside it,
// W + 260 columns, and max(H, 420) lines, which holds every panel (the composite panel, the
// tallest, ends on line 411).
inline constexpr int kPanelExportExtraColumns = 260;
inline constexpr int kPanelExportMinLines = 420;

// A canvas of nWidth x nHeight, white, whose drawing can be read back with GetPixel: what
// "--panel" paints the view on. Text needs fonts, so the desktop build supplies it; without
// one, "--panel" is refused.
using SurfaceFactory = std::unique_ptr<Canvas> (*)(int nWidth, int nHeight);

// Writes the printed report as a one-page PDF; false with the reason. Fonts need the desktop
// build; without one, "print" is refused.
using PdfWriter = bool (*)(const std::string& strPath, std::string& strReason);

// True when the first argument asks for the command line rather than the desktop.
bool IsCommandLineCommand(std::string_view strFirstArg);

// What the program says of a first word that is no command, no scene option and no file.
std::string UnknownFirstWordMessage(std::string_view strWord);


// The desktop's own command line may name a scene and settings as the command line does
// ("--raster FILE --false-colour"): true when the first argument is such an option.
bool IsSceneArgument(std::string_view strFirstArg);
// Loads that scene and applies the settings that are menu commands, through the platform in
// use (messages in its boxes). False with strError set for arguments it cannot take.
bool OpenSceneArguments(const std::vector<std::string>& astrArgs, std::string& strError);

// Writes a text file the command produced (a CSV, a JSON) through the atomic-write helper;
// false, having said why on err, when it cannot.
bool WriteOutputText(const std::string& strPath, const std::string& strText, std::ostream& err);

// Runs "export", "report" or "--help" (astrArgs without the program name) and returns the exit
// status. The program state is used as it stands (a fresh program in normal use).
int RunCommandLine(const std::vector<std::string>& astrArgs, std::ostream& out, std::ostream& err,
                   SurfaceFactory pfnSurface = nullptr, PdfWriter pfnPdf = nullptr);
