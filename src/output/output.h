// Printing, the print step and the clipboard.
#pragma once

#include "core/dialogs.h"

// The print step's range: 5 for a printer of low resolution up to 50 for a high one.
inline constexpr int kMinPrintStep = 5;
inline constexpr int kMaxPrintStep = 50;

// Dialog IDD_PRINT_STEP: the print step (line height = step x 10 printer units), 5..50.
extern const DialogSpec kPrintStepDialog;

// Registers the print and clipboard commands.
void RegisterOutput();
