// The standard texts of the settings dialogs' data exchange, shared by the desktop dialogs and
// the command line, which refuses the same values with the same words.
#pragma once

#include <string>

inline constexpr const char* kszRangeMessage = "%1 から %2 までの整数を入力してください。";
inline constexpr const char* kszIntegerMessage = "整数を入力してください。";
// Caption of the program's own message boxes (the application's name).
inline constexpr const char* kszAppCaption = "Geolumen";

// kszRangeMessage with its two numbers filled in.
inline std::string RangeMessage(int nMin, int nMax) {
  std::string str = kszRangeMessage;
  str.replace(str.find("%1"), 2, std::to_string(nMin));
  str.replace(str.find("%2"), 2, std::to_string(nMax));
  return str;
}
