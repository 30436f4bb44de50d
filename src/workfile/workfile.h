// The work file, the defaults commands, the save options and the header sheet.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/document.h"
#include "core/archive.h"

// Registers the work-file commands of the file menu.
void RegisterWorkFile();

// Reads a work file as the open command does: the file is read whole and checked first; a file
// that cannot be taken changes nothing and says why. Then the file-information dialog and the
// case of the file decide. True when the file was read into the program.
bool OpenWorkFile(const std::string& strPath);
// The same for work brought back from a recovery file: read without the file-information
// dialog (the user has just chosen to restore it) and left untitled and changed, so that it is
// still to be saved somewhere.
bool OpenRecoveredWorkFile(const std::string& strPath);
// Writes the work file with the sections g_abSaveSection asks for. The file is written beside
// the target and renamed over it only when complete, so a failed save leaves the old file; a
// failure is reported. True when saved (the document then has that path).
bool SaveWorkFile(const std::string& strPath);

// The whole file at strPath if it can be a work file (regular, at most 64 MB).
bool ReadWorkFileBytes(const std::string& strPath, ByteBuffer& ab, std::string& strReason);

// Dialog IDD_SAVE_OPTIONS: a check box per section of the file (the data, then each settings group's).
extern DialogSpec kSaveOptionsDialog;

// What the file-information dialog shows before a work file is read: the file's sensor code and
// extent as stored, its section flags and what reading it will do.
struct FileInformation {
  int nSensor, nMaxX, nMaxY, nLastBand;
  std::vector<int> abSection;
  std::string strCase;
};
