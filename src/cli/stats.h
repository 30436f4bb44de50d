// "geolumen stats": the program state as one JSON object, for scripts that want the numbers
// (histograms, stretch bounds, category ranges and counts) rather than the printed report.
#pragma once

#include <ostream>

// Writes the scene, the band histograms, the composite's settings, the eight categories and the
// classification as they stand, in UTF-8, one member per line, ending with a newline.
void WriteStatsJson(std::ostream& out);
