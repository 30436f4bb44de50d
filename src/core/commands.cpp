#include "core/commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/dialogs.h"
#include "core/document.h"
#include "core/state.h"

namespace {

constexpr int kMaxCommands = 512;
CommandEntry s_aCommands[kMaxCommands];
int s_nCommands = 0;

struct RulePredicateRow {
  Rule eRule;
  RulePredicate pfnPredicate;
};
constexpr int kMaxRulePredicates = 8;
RulePredicateRow s_aRulePredicates[kMaxRulePredicates];
int s_nRulePredicates = 0;

// Whether the rule has a part that only a feature can judge.
bool HasFeaturePart(Rule eRule) {
  switch (eRule) {
    case Rule::TU:
    case Rule::CI:
    case Rule::CL:
    case Rule::CLc: return true;
    case Rule::Always:
    case Rule::D1:
    case Rule::D2:
    case Rule::D3:
    case Rule::Band:
    case Rule::CompositeBand:
    case Rule::TC:
    case Rule::NF:
    case Rule::D3c:
    case Rule::D1c:
    case Rule::SC:
    case Rule::CLr:  // judged with CL's predicate
    case Rule::R: return false;
  }
  return false;
}

RulePredicate FindRulePredicate(Rule eRule) {
  for (int i = 0; i < s_nRulePredicates; ++i) {
    if (s_aRulePredicates[i].eRule == eRule) return s_aRulePredicates[i].pfnPredicate;
  }
  return nullptr;
}

// The feature's part of a rule; a rule whose feature registered nothing allows nothing.
bool FeatureAllows(const CommandEntry& cmd) {
  const RulePredicate pfnPredicate = FindRulePredicate(cmd.eRule);
  return pfnPredicate && pfnPredicate(cmd.nArg);
}

CommandEntry* FindRow(int nId) {
  for (int i = 0; i < s_nCommands; ++i) {
    if (s_aCommands[i].nId == nId) return &s_aCommands[i];
  }
  return nullptr;
}

bool HasBands(int nBands) { return HasData() && g_nLastBand >= nBands - 1; }

// The sensors whose band numbers follow the TM layout (the satellite colour libraries).
bool IsTmLayout(Sensor eSensor) {
  switch (eSensor) {
    case Sensor::TmFloppy:
    case Sensor::TmCeos:
    case Sensor::Etm6921:
    case Sensor::Raster: return true;  // raster scenes are taken in the TM band order
    case Sensor::Mss:
    case Sensor::Etm6845:
    case Sensor::None: return false;
  }
  return false;
}

// Scroll moves (nArg 0..7) are disabled when the window cannot move that way; the jumps (8..12)
// always can. Scenes without an extent beyond the window, and windows with no band files behind
// them, do not scroll.
bool ScrollMoveAllowed(int nIndex) {
  SceneExtent ext{};
  if (g_bWindowHasFiles != 1 || !GetSceneExtent(g_nSensor, ext)) return false;
  const int nRight = ext.nLastColumn - g_nMaxX;
  const int nBottom = ext.nLastLine - g_nMaxY;
  switch (nIndex) {
    case 0: case 4: return g_nSceneOffsetX > 0;
    case 1: return g_nSceneOffsetX < nRight;
    case 2: case 6: return g_nSceneOffsetY > 0;
    case 3: return g_nSceneOffsetY < nBottom;
    case 5: return g_nSceneOffsetX + 100 <= nRight;
    case 7: return g_nSceneOffsetY + 100 <= nBottom;
    default: return true;
  }
}

bool RuleAllows(const CommandEntry& cmd) {
  const bool bD3 = HasBands(3);
  switch (cmd.eRule) {
    case Rule::Always: return true;
    case Rule::R: return true;
    case Rule::D1: case Rule::D1c: return HasBands(1);
    case Rule::D2: return HasBands(2);
    case Rule::D3: case Rule::D3c: return bD3;
    case Rule::Band: return HasBands(cmd.nArg);
    case Rule::CompositeBand: return HasBands(std::max(3, cmd.nArg));
    case Rule::TC: return bD3 && IsTmLayout(g_nSensor);
    case Rule::NF: return HasBands(4) && IsTmLayout(g_nSensor);
    case Rule::TU:
    case Rule::CI:
    case Rule::CL:
    case Rule::CLc: return bD3 && FeatureAllows(cmd);
    case Rule::SC: return HasData() && ScrollMoveAllowed(cmd.nArg);
    case Rule::CLr: {
      const RulePredicate pfnClassified = FindRulePredicate(Rule::CL);
      return bD3 && g_nSensor == Sensor::Raster && g_bWindowHasFiles && pfnClassified &&
             pfnClassified(cmd.nArg);
    }
  }
  return false;
}

bool CanRun(const CommandEntry& cmd) { return cmd.pfnHandler || cmd.pDialog; }

}  // namespace

void RegisterRulePredicate(Rule eRule, RulePredicate pfnPredicate) {
  const int nRule = static_cast<int>(eRule);
  if (!HasFeaturePart(eRule) || !pfnPredicate) {
    std::fprintf(stderr, "rule %d takes no predicate\n", nRule);
    std::abort();
  }
  if (FindRulePredicate(eRule)) {
    std::fprintf(stderr, "rule %d has a predicate already\n", nRule);
    std::abort();
  }
  if (s_nRulePredicates == kMaxRulePredicates) {
    std::fprintf(stderr, "no room for the predicate of rule %d\n", nRule);
    std::abort();
  }
  s_aRulePredicates[s_nRulePredicates++] = {eRule, pfnPredicate};
}

void RegisterCommands(std::span<const CommandEntry> aRows) {
  for (const CommandEntry& row : aRows) {
    // The values of a dialog are held in kMaxDialogFields integers: a larger one is a
    // programming error, stopped at start-up rather than overrunning them later.
    if (row.pDialog && row.pDialog->aFields.size() > static_cast<std::size_t>(kMaxDialogFields)) {
      std::fprintf(stderr, "dialog %d has more than %d fields\n", row.pDialog->nId, kMaxDialogFields);
      std::abort();
    }
    // Two rows for one id, or more rows than the table holds, are programming errors: a
    // silently replaced or dropped row would only show as a dead menu item much later.
    if (FindRow(row.nId)) {
      std::fprintf(stderr, "command %d is registered twice\n", row.nId);
      std::abort();
    }
    if (s_nCommands == kMaxCommands) {
      std::fprintf(stderr, "no room for command %d: the table holds %d rows\n", row.nId,
                   kMaxCommands);
      std::abort();
    }
    s_aCommands[s_nCommands++] = row;
  }
}

std::span<const CommandEntry> CommandTable() {
  return {s_aCommands, static_cast<std::size_t>(s_nCommands)};
}

const CommandEntry* FindCommand(int nId) { return FindRow(nId); }

void SetCommandHandler(int nId, CommandHandler pfnHandler) {
  if (CommandEntry* pCmd = FindRow(nId)) pCmd->pfnHandler = pfnHandler;
}

bool IsCommandEnabled(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  return pCmd && CanRun(*pCmd) && RuleAllows(*pCmd);
}

bool CommandRuleAllows(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  return pCmd && RuleAllows(*pCmd);
}

bool IsCommandChecked(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  return pCmd && pCmd->pfnCheck && pCmd->pfnCheck(pCmd->nArg);
}

bool DispatchCommand(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  if (!pCmd || !CanRun(*pCmd) || !RuleAllows(*pCmd)) return false;
  if (pCmd->pfnHandler) {
    pCmd->pfnHandler();
  } else {
    RunDialogCommand(*pCmd->pDialog);
  }
  NoteDocumentChanges();
  return true;
}
