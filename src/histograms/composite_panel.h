// The composite picture's panel: a histogram, stretch markers, colour bar and value buttons
// for each of red, green and blue.
#pragma once

// Draws the panel on the window canvas from the composite tables as they stand.
void DrawCompositePanel();
