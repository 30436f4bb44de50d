// The pictures' dialogs on the desktop.
#pragma once

// Gives the composite, coarse and fine pictures' described dialogs their windows; called once
// at the desktop's start-up.
void RegisterProductsUi();
