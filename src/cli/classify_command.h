// "geolumen classify": the whole raster scene classified from a signature file into a GeoTIFF,
// streamed, with a progress bar on a terminal.
#pragma once

#include <ostream>

struct CliRequest;

// Runs a parsed classify request; messages go to err. Returns the exit status.
int RunClassifyCommand(const CliRequest& request, std::ostream& err);
