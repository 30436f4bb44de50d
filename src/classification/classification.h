// Categories, training areas and the classification: what the view shows of them (display
// modes 2, 3 and 4) and their menu commands.
#pragma once

// Registers the category and classification commands and the three display modes; the
// training-area pop-up becomes the view's default context menu.
void RegisterClassification();
