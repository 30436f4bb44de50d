// The command registry: every menu item, tool-bar button and context-menu item with its id,
// text, enabling rule, check rule, handler, shortcut, tool-bar picture and command-line setting.
// Each subsystem registers the rows of the commands it owns at start-up; the menus, the tool
// bar and the command line are built from the rows.
#pragma once

#include <span>

struct DialogSpec;

// When a command is enabled (and, for some, when it is checked). "Data" is any display mode
// but NoData. TU, CI, CL and CLc have a part only their feature can judge: the owner registers
// it with RegisterRulePredicate, and without it the rule allows nothing.
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
  TU,             // D3 and the owner's predicate (the training-area selection is shown)
  CI,             // D3 and the owner's predicate (the target category's image is valid)
  CL,             // D3 and the owner's predicate (the classification has been generated)
  CLc,            // D3 and the owner's predicate (CL, and category nArg takes part in it)
  CLr,            // CL on a raster scene whose files are known (they can be read again, whole)
  D1c,            // D1, checked by the item's own setting
  SC,             // scrolling (nArg: the move): data, a CD-ROM scene, not already at that edge
  R,              // always, checked by the always-redisplay toggle
};

using CommandHandler = void (*)();
using CommandCheck = bool (*)(int nArg);
using RulePredicate = bool (*)(int nArg);

// The feature's part of rule eRule, called with the row's nArg once the core's part holds. A
// second predicate for a rule, or one for a rule the core judges alone, stops the program at
// start-up.
void RegisterRulePredicate(Rule eRule, RulePredicate pfnPredicate);

struct CommandEntry {
  int nId = 0;
  const char* szText = "";  // the menu text, UTF-8
  Rule eRule = Rule::Always;
  // The number of the item in its family (band, rank, point, library, category, ...): what the
  // rule and the check look at, and the number its command-line setting takes.
  int nArg = 0;
  CommandCheck pfnCheck = nullptr;      // null: never checked
  CommandHandler pfnHandler = nullptr;  // null: not available yet, so the command stays disabled
  const char* szShortcut = nullptr;     // key sequences, ";" between two ("Ctrl+C;Ctrl+Ins")
  const char* szIcon = nullptr;         // name of its tool-bar picture
  // The command-line setting that runs it ("--red"; with nArg as its number when several rows
  // share the option).
  const char* szCliOption = nullptr;
  // The value the option takes for this row when it is not the number nArg ("16", "previous").
  const char* szCliValue = nullptr;
  // A settings dialog described in the logic: the command shows it through the platform and
  // applies its values (no handler needed).
  const DialogSpec* pDialog = nullptr;
};

// One row: id, text and rule, then any of the fields above by name, in their order:
//   COMMAND(ID_RED_BAND1, "Band&1", CompositeBand, .nArg = 1, .pfnCheck = CheckRedBand, ...)
#define COMMAND(id, text, rule, ...) \
  CommandEntry { .nId = (id), .szText = (text), .eRule = Rule::rule __VA_OPT__(, ) __VA_ARGS__ }

// Adds rows to the registry. An id registered twice, or a row the full table cannot take,
// stops the program at start-up with a message naming the id.
void RegisterCommands(std::span<const CommandEntry> aRows);

// Every registered command, in the order of registration.
std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(int nId);

// Commands that only the desktop can carry out (framework commands, dialogs of its own) get
// their handler when the desktop starts.
void SetCommandHandler(int nId, CommandHandler pfnHandler);

bool IsCommandEnabled(int nId);
// Whether the command's rule allows it now, handler or not (for the command line, which carries
// out the desktop's own dialogs as their OK would).
bool CommandRuleAllows(int nId);
bool IsCommandChecked(int nId);
// Runs the command if it exists, can run (a handler or a dialog) and its rule allows it now.
bool DispatchCommand(int nId);

// ---- Menu layouts ------------------------------------------------------------------------------
enum class MenuKind { Popup, End, Item, Separator };

// Menus are flat lists: a Popup opens a sub-menu (with its text), End closes it, an Item names
// a command by id (szText, when set, replaces the command's text in this one place).
struct MenuNode {
  MenuKind eKind;
  int nId;
  const char* szText;
};
