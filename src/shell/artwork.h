// The program's own pictures, drawn in code: the tool bar buttons and the splash bitmap.
#pragma once

#include <QPixmap>

inline constexpr int kToolButtonWidth = 16;
inline constexpr int kToolButtonHeight = 15;

// The 16 x 15 button of a tool-bar command; a null pixmap for an id without a button.
QPixmap ToolBarIcon(int nId);

// Bitmap 102 of the splash screen.
QPixmap SplashBitmap();
