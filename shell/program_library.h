// The program's own libraries that it opens when a job needs them (the window side, the FITS
// writer): they lie in lib/orvinta beside the program's folder, in the build folder (shell/ and
// lib/ side by side) as in an installed tree (bin/ and lib/).
#pragma once

#include <string>

// The entry `symbol` of lib/orvinta/`file`, the library opened on the first request; nullptr
// with the reason in error when the library or its entry cannot be found.
void *program_library_entry(const char *file, const char *symbol, std::string &error);
