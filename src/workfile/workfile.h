// The work file, the defaults commands, the save options and the header sheet.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "workfile/archive.h"

// Registers the work-file commands of the file menu.
void RegisterWorkFile();

// The document: the path of the work file last opened or saved, "" while untitled.
const std::string& DocumentPath();
// Its name for the window title: the file's name, or the untitled name.
std::string DocumentTitle();

// Reads a work file as the open command does: the file is read whole and checked first; a file
// that cannot be taken changes nothing and says why. Then the file-information dialog and the
// case of the file decide. True when the file was read into the program.
bool OpenWorkFile(const std::string& strPath);
// Writes the work file with the sections g_abSaveSection asks for. The file is written beside
// the target and renamed over it only when complete, so a failed save leaves the old file; a
// failure is reported. True when saved (the document then has that path).
bool SaveWorkFile(const std::string& strPath);

// The whole file at strPath, read at once; false with the reason for anything that is not a
// readable regular file of a work file's size.
bool ReadWholeFile(const std::string& strPath, ByteBuffer& ab,
                   std::string& strReason);
// Writes ab to strPath through a temporary file in the same folder, flushed and renamed over the
// target; false with the reason, the target untouched, when any step fails.
bool WriteFileAtomically(const std::string& strPath, std::span<const std::uint8_t> ab,
                         std::string& strReason);
// The same with the bytes written by fnWrite(fd), which sets errno when it returns false.
bool WriteFileAtomically(const std::string& strPath, const std::function<bool(int)>& fnWrite,
                         std::string& strReason);

// Dialog 145: the thirteen section flags.
extern const DialogSpec kSaveOptionsDialog;
