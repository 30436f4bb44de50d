// Settings dialogs described once, in the logic: their fields in the order OK checks them, the
// ranges, the spin buttons, the values they open with and what OK does with the values. The
// desktop builds its dialog on a description and the command line reads the same fields from
// its arguments, so both refuse the same values with the same words in the same order.
#pragma once

#include <span>
#include <string>
#include <string_view>

// The standard texts of the dialogs' data exchange.
inline constexpr const char* kszRangeMessage = "%1 から %2 までの整数を入力してください。";
inline constexpr const char* kszIntegerMessage = "整数を入力してください。";
// Caption of the program's own message boxes (the application's name).
inline constexpr const char* kszAppCaption = "Geolumen";

// kszRangeMessage with its two numbers filled in.
std::string RangeMessage(int nMin, int nMax);

enum class FieldKind {
  Range,    // an integer within nMin..nMax
  Integer,  // any integer
  Check,    // a check box: 0 or 1
  Fixed,    // shown, not edited: OK hands back the value the dialog opened with
};

struct DialogField {
  FieldKind eKind;
  const char* szName;  // its name on the command line ("RL", "LINK")
  int nMin = 0, nMax = 0;
  bool bSpin = false;  // up/down buttons stepping within nMin..nMax
};

// Room for the values of any dialog (the category values dialog has 17); a dialog with more
// fields is refused when its command is registered.
inline constexpr int kMaxDialogFields = 24;

struct DialogSpec {
  int nId;  // the dialog's resource number
  std::span<const DialogField> aFields;
  // The order in which the command line lists the edited fields (indices into aFields); empty:
  // the fields' own order.
  std::span<const int> anCliOrder;
  void (*pfnCurrent)(int anValues[]);        // the values the dialog opens with
  void (*pfnApply)(const int anValues[]);    // what OK does with the values
  // Values every field takes may still not fit the scene loaded (a band it lacks): the message
  // refusing them, or "" (null: none are refused so).
  std::string (*pfnRefusal)(const int anValues[]) = nullptr;
};

// The message the dialog shows for a field typed as strTyped, or "" when the field takes it.
std::string FieldRefusal(const DialogField& field, std::string_view strTyped);

// A whole decimal integer with an optional sign and blanks around it.
bool ParseInteger(std::string_view str, int& nValue);

// Shows the dialog through the platform with its current values and, on OK, applies them;
// values the dialog's refusal names are not applied: its message shows and nothing changes.
void RunDialogCommand(const DialogSpec& dialog);
// Whether the last dialog's OK was refused so (the command line then stops as for bad values).
bool LastDialogRefused();
