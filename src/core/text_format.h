// printf-style formatting into a std::string, for the readout, the panels and the report.
#pragma once

#include <string>

std::string FormatText(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
