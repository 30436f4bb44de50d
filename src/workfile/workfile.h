// The work file, the defaults commands, the save options and the header sheet.
#pragma once

// Registers the work-file commands of the file menu.
void RegisterWorkFile();
