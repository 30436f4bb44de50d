// The panel beside the coarse picture: histogram of the coarse band, rank colours and the
// table of ranks with their shares, counts, bounds and arrow buttons.
#pragma once

void DrawCoarsePanel();
