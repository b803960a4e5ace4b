// Reading an input file whole (a phase map, a spectrum, Zernike coefficients): a regular file
// in one piece, anything else (a pipe, a device) block by block.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

// Reads path into bytes, at most most + 1 bytes, so that a caller with a limit sees a file
// that exceeds it without reading it all. Returns "" or the system's reason the file cannot be
// read ("No such file or directory", "Is a directory").
std::string read_input_file(const std::string &path, std::string &bytes,
                            std::size_t most = std::numeric_limits<std::size_t>::max() - 1);
