// The detailed histogram of each picture: which bands get an area curve, its K and the strips
// that show how the picture colours the values.
#pragma once

// Registers the composite, coarse and fine kinds.
void RegisterProductHistogramKinds();
