// The picture products: composite, coarse and fine.
#pragma once

// Registers the commands, display modes, settings groups, dialogs and detailed-histogram kinds
// of the three pictures.
void RegisterProducts();
