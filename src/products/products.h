// The picture products: composite, coarse and fine.
#pragma once

// Registers the commands, display modes, settings groups and dialogs of the three pictures.
void RegisterProducts();
