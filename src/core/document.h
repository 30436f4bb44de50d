// The document: the work file the data was last read from or written to, the scene file it was
// imported from, and whether anything the work file keeps has changed since.
#pragma once

#include <cstdint>
#include <string>

// The work file's path, "" while the document has none (untitled, or just imported).
const std::string& DocumentPath();
// Its name for the window title: the work file's name, else the imported scene's file name,
// else the untitled name.
std::string DocumentTitle();

// The work file just read or written: the document is that file, unchanged.
void SetDocumentFile(const std::string& strPath);
// A scene just imported from strScenePath: the document has no work file (saving asks for a
// name) and is changed.
void SetDocumentScene(const std::string& strScenePath);
// A new, untitled document over the data on show, unchanged (the "new" command).
void SetDocumentUntitled();
// Work brought back from a recovery file: untitled (saving asks for a name) and changed.
void SetDocumentRecovered();

// Band data, marks or a classification changed.
void MarkDocumentModified();
// Compares the settings and the user texts with what they were when last looked at or saved:
// a difference marks the document changed. Cheap (a digest of the settings), so it runs after
// every command and click.
void NoteDocumentChanges();
// Whether something changed since the last save or load (NoteDocumentChanges first).
bool DocumentModified();

// Counters for whoever keeps a copy of the work (the recovery file): the first grows with every
// change the document notes (a painted dot, new bands, a setting seen changed), the second each
// time the document becomes a file on disk or is left unchanged (a load, a save, "new"). Reading
// them costs nothing, so a timer can poll them.
std::uint64_t DocumentChangeCount();
std::uint64_t DocumentSettledCount();

// Before the data on show is replaced or left (quitting, opening a scene or a work file, a new
// document): when it changed and could be saved, asks "変更を保存しますか？". "保存" runs the save
// command (which may ask for a name), "保存しない" goes on, "キャンセル" stops. True when the
// caller may go on: nothing changed, the user declined, or the save succeeded.
bool ConfirmSaveChanges();
// The command "保存" runs: the work file's save, registered by its owner.
void SetDocumentSaveCommand(int nCommandId);

// Untitled and unchanged: the state of a fresh program.
void ResetDocument();
