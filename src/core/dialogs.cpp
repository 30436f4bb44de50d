#include "core/dialogs.h"

#include <charconv>

#include "core/platform.h"

std::string RangeMessage(int nMin, int nMax) {
  std::string str = kszRangeMessage;
  str.replace(str.find("%1"), 2, std::to_string(nMin));
  str.replace(str.find("%2"), 2, std::to_string(nMax));
  return str;
}

bool ParseInteger(std::string_view str, int& nValue) {
  const std::size_t nBegin = str.find_first_not_of(" \t");
  if (nBegin == std::string_view::npos) return false;
  const std::size_t nEnd = str.find_last_not_of(" \t");
  const char* pBegin = str.data() + nBegin;
  const char* pEnd = str.data() + nEnd + 1;
  // One optional sign: from_chars takes a minus sign only, so a plus is stepped over here, and
  // then nothing but a digit may follow ("+-5" is no number).
  if (*pBegin == '+') ++pBegin;
  if (pBegin == pEnd || *pBegin == '+' || (*pBegin == '-' && pBegin != str.data() + nBegin)) {
    return false;
  }
  const auto result = std::from_chars(pBegin, pEnd, nValue);
  return result.ec == std::errc() && result.ptr == pEnd;
}

std::string FieldRefusal(const DialogField& field, std::string_view strTyped) {
  int nValue = 0;
  const bool bInteger = ParseInteger(strTyped, nValue);
  switch (field.eKind) {
    case FieldKind::Range:
      // A ranged field refuses anything outside its range, a non-number included.
      if (!bInteger || nValue < field.nMin || nValue > field.nMax) {
        return RangeMessage(field.nMin, field.nMax);
      }
      return "";
    case FieldKind::Integer: return bInteger ? "" : kszIntegerMessage;
    case FieldKind::Check:
      return bInteger && (nValue == 0 || nValue == 1) ? "" : RangeMessage(0, 1);
    case FieldKind::Fixed: return "";
  }
  return "";
}

namespace {
bool s_bLastRefused = false;
}  // namespace

void RunDialogCommand(const DialogSpec& dialog) {
  int anValues[kMaxDialogFields] = {};
  dialog.pfnCurrent(anValues);
  s_bLastRefused = false;
  if (!ThePlatform().RunDialog(dialog, anValues)) return;
  if (dialog.pfnRefusal) {
    const std::string strRefusal = dialog.pfnRefusal(anValues);
    if (!strRefusal.empty()) {
      s_bLastRefused = true;
      ShowMessage(strRefusal, kszAppCaption);
      return;
    }
  }
  dialog.pfnApply(anValues);
}

bool LastDialogRefused() { return s_bLastRefused; }
