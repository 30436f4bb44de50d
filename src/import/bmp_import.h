// A BMP picture as a three-band scene.
#pragma once

#include <string>

// Reads the picture at strPath: blue, green and red become bands 1, 2 and 3, the headers are
// zeroed, every settings group goes back to its defaults and the prompt shows. A file that
// cannot be taken is reported (the application's name as caption) and changes nothing.
// Returns success.
bool ImportBmpFile(const std::string& strPath);
