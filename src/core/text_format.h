// printf-style formatting into a std::string, for the readout, the panels and the report.
#pragma once

#include <string>

std::string FormatText(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));

// A whole number with commas between groups of three digits: "205,312".
std::string GroupDigits(long long n);
