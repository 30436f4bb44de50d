// What the header property sheet shows: each band's header text, the four user texts and the
// scene's sensor and size. Only the user texts are ever written back.
#pragma once

#include <string>

// The page text of band nBand (1..8): a blank, then bytes 0..255 of its header record without
// the zero bytes, read as Shift-JIS (a byte that does not decode shows as "?").
std::string HeaderPageText(int nBand);

// The sensor's name on the FileInfo page, by the codes the imports set.
std::string SensorName();
