// The whole program's start-up: every subsystem registers its commands, display modes,
// settings groups and dialogs, then the program state takes its start values. The desktop,
// the command line and the tests call this once before anything else.
#pragma once

void RegisterFeatures();
