// The program's own pictures, drawn in code: the tool bar buttons and the splash bitmap.
#pragma once

#include <QPixmap>

inline constexpr int kToolButtonWidth = 16;
inline constexpr int kToolButtonHeight = 15;

// The 16 x 15 button picture of that name (a command row's szIcon); a null pixmap for an unknown
// name or none.
QPixmap ToolBarIcon(const char* szIcon);

// Bitmap 102 of the splash screen.
QPixmap SplashBitmap();
