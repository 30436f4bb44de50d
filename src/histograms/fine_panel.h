// The panel beside the fine picture: histogram of the fine band, the colour ramp and the table
// of points with their colours, components, values and arrow buttons.
#pragma once

void DrawFinePanel();
