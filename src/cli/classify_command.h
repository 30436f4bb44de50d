// "geolumen classify": the whole raster scene classified from a signature file into a GeoTIFF,
// streamed, with a progress bar on a terminal.
#pragma once

#include <ostream>
#include <string>

struct CliRequest;

// The progress line: a bar, the rows done of all, the speed and the time left.
std::string ProgressLine(int nDone, int nTotal, double dSeconds);

// Runs a parsed classify request; messages go to err. Returns the exit status.
int RunClassifyCommand(const CliRequest& request, std::ostream& err);
