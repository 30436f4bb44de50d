// The vegetation index as an eighth band.
#pragma once

#include <cstdint>

// Band 8 of one pixel from its band 3 and band 4 values: (B4 - B3) / (B4 + B3) x 100 + 100 in
// double precision, truncated; a zero sum counts as 1.
std::uint8_t NdviValue(int nBand3, int nBand4);

// The band arithmetic command after its dialog's "作成": band 8 over the window of a scene with
// exactly seven bands; any other scene gets the warning and is left alone.
void CreateNdviBand();
