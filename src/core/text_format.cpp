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
