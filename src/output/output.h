// Printing, the print step and the clipboard.
#pragma once

// Registers the print and clipboard commands.
void RegisterOutput();
