#include "core/text_format.h"

#include <cstdarg>
#include <cstdio>

std::string FormatText(const char* szFormat, ...) {
  char sz[512];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(sz, sizeof sz, szFormat, args);
  va_end(args);
  return sz;
}

std::string GroupDigits(long long n) {
  std::string str = std::to_string(n < 0 ? -n : n);
  for (int i = static_cast<int>(str.size()) - 3; i > 0; i -= 3) {
    str.insert(static_cast<std::size_t>(i), 1, ',');
  }
  return n < 0 ? "-" + str : str;
}
