// The command table: every menu item, tool-bar button and context-menu item with its id, text,
// enabling rule, check rule and handler, and the layout of the main menu and context menu.
#pragma once

#include <span>

// When a command is enabled (and, for some, when it is checked). "Data" is a display mode
// below 20.
enum class Rule {
  Always,
  D1,             // data and at least one band
  D2,             // data and at least two bands
  D3,             // data and at least three bands
  Band,           // band item n (nArg): data and g_nLastBand >= n - 1
  CompositeBand,  // red/green/blue band item n (nArg): data and g_nLastBand >= max(2, n - 1)
  TC,             // D3 and sensor 1, 2 or 3
  NF,             // data, at least four bands and sensor 1, 2 or 3
  D3c,            // D3, checked by the item's own setting
  TU,             // D3 and the training-area selection is shown
  CI,             // D3 and the target category's image is valid
  CL,             // D3 and the classification has been generated
  CLc,            // CL and the category takes part in the classification
  D1c,            // D1, checked by the item's own setting
  SC,             // scrolling: data, a CD-ROM scene and the window not already at that edge
  R,              // always, checked by the always-redisplay toggle
};

using CommandHandler = void (*)();
using CommandCheck = bool (*)(int nArg);

struct CommandEntry {
  int nId;
  const char* szText;  // the menu text, UTF-8
  Rule eRule;
  int nArg;               // band, rank, point or category number the rule and check look at
  CommandCheck pfnCheck;  // null: never checked
  CommandHandler pfnHandler = nullptr;  // null: not available yet, so the command stays disabled
};

enum class MenuKind { Popup, End, Item, Separator };

// Menus are flat lists: a Popup opens a sub-menu (with its text), End closes it, an Item names
// a command by id (szText, when set, replaces the command's text in this one place).
struct MenuNode {
  MenuKind eKind;
  int nId;
  const char* szText;
};

std::span<CommandEntry> CommandTable();
const CommandEntry* FindCommand(int nId);

// The main menu 128 and the pop-ups of context menu 142.
std::span<const MenuNode> MainMenu();
std::span<const MenuNode> ContextMenu();
// Tool-bar button ids in order; 0 stands for a separator.
std::span<const int> ToolBarButtons();

// Commands that only the desktop shell can carry out (dialogs, framework commands) get their
// handler here when the shell starts.
void SetCommandHandler(int nId, CommandHandler pfnHandler);

bool IsCommandEnabled(int nId);
bool IsCommandChecked(int nId);
// Runs the handler if the command exists, has a handler and its rule allows it now.
bool DispatchCommand(int nId);

// Context-menu pop-up names.
inline constexpr const char* kszPopupCoarseBand = "粗画像バンド";
inline constexpr const char* kszPopupCoarseColouring = "粗画像着色の有無";
inline constexpr const char* kszPopupHistogram = "ヒストグラム";
inline constexpr const char* kszPopupFineBand = "精画像バンド";
inline constexpr const char* kszPopupFineColouring = "精画像着色の有無";
inline constexpr const char* kszPopupTraining = "トレーニングエリア";

// Ids the program refers to by name.
enum CommandId : int {
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_SAVE = 57603,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_PRINT = 57607,
  ID_FILE_PRINT_PREVIEW = 57609,
  ID_FILE_PRINT_SETUP = 57606,
  ID_FILE_MRU_FILE1 = 57616,
  ID_APP_EXIT = 57665,
  ID_EDIT_COPY = 57634,
  ID_VIEW_TOOLBAR = 59392,
  ID_VIEW_STATUS_BAR = 59393,
  ID_WINDOW_SPLIT = 57653,
  ID_HELP_FINDER = 57667,
  ID_APP_ABOUT = 57664,
  ID_ALWAYS_REDRAW = 32958,
  ID_OPEN_SATELLITE = 32983,
  ID_COMPOSITE_VIEW = 32771,
  ID_COMPOSITE_SMOOTH_VIEW = 32822,
  ID_COMPOSITE_HISTOGRAM = 32772,
  ID_COMPOSITE_CUTOFF = 32773,
  ID_COMPOSITE_RELEASE = 32886,
  ID_COMPOSITE_BAND_VALUE = 32774,
  ID_TRUE_COLOUR = 32893,
  ID_NATURAL_COLOUR = 32894,
  ID_FALSE_COLOUR = 32895,
  ID_COARSE_VIEW = 32775,
  ID_COARSE_SMOOTH_VIEW = 32823,
  ID_COARSE_HISTOGRAM = 32776,
  ID_COARSE_BAND_VALUE = 32778,
  ID_FINE_VIEW = 32862,
  ID_FINE_SMOOTH_VIEW = 32863,
  ID_FINE_HISTOGRAM = 32864,
  ID_FINE_BAND_VALUE = 32966,
};

// Ids of the numbered families, index 0 for number 1.
inline constexpr int kanRedBandIds[8] = {32923, 32924, 32925, 32926, 32927, 32928, 32929, 32930};
inline constexpr int kanGreenBandIds[8] = {32931, 32932, 32933, 32934, 32935, 32936, 32937, 32938};
inline constexpr int kanBlueBandIds[8] = {32939, 32940, 32941, 32942, 32943, 32944, 32945, 32946};
inline constexpr int kanRgbLibraryIds[6] = {32887, 32888, 32889, 32890, 32891, 32892};
inline constexpr int kanCoarseBandIds[8] = {32780, 32781, 32782, 32783, 32784, 32785, 32786, 32787};
inline constexpr int kanRankLibraryIds[8] = {32896, 32897, 32898, 32899, 32959, 32960, 32961, 32962};
// Coarse colour libraries in menu order.
inline constexpr int kanCoarseColourIds[8] = {32900, 32901, 32902, 32903, 32907, 32904, 32905, 32906};
inline constexpr int kanRankToggleIds[8] = {32948, 32949, 32950, 32951, 32952, 32953, 32954, 33006};
inline constexpr int kanRankColourIds[8] = {33007, 33008, 33009, 33010, 33011, 33012, 33013, 33014};
inline constexpr int ID_RANKS_ON = 32955, ID_RANKS_OFF = 32956, ID_RANKS_INVERT = 32957;
inline constexpr int kanFineBandIds[8] = {32866, 32867, 32868, 32869, 32870, 32871, 32872, 32873};
inline constexpr int kanPointLibraryIds[4] = {32967, 32968, 32969, 32970};
inline constexpr int kanFineColourIds[8] = {32908, 32909, 32910, 32911, 32912, 32913, 32988, 32989};
inline constexpr int kanSpanToggleIds[8] = {32972, 32973, 32974, 32981, 32975, 32976, 32977, 33015};
inline constexpr int kanPointColourIds[9] = {32875, 32876, 32877, 32878, 32879,
                                             32963, 32964, 32965, 33017};
inline constexpr int ID_SPANS_ON = 32978, ID_SPANS_OFF = 32979, ID_SPANS_INVERT = 32980;
// Scrolling: one screen left/right/up/down, 100 dots left/right/up/down, centre, corners.
inline constexpr int kanScrollIds[13] = {33036, 33037, 33034, 33035, 33045, 33046, 33042,
                                         33044, 33047, 33048, 33049, 33050, 33051};
