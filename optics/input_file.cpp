#include "optics/input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

std::string read_input_file(const std::string &path, std::string &bytes, std::size_t most)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return std::strerror(errno);
    std::error_code unknown;
    const std::uintmax_t size = std::filesystem::file_size(path, unknown);
    bytes.clear();
    if (!unknown && size <= most) {
        bytes.resize(size);
        bytes.resize(std::fread(bytes.data(), 1, size, file));
    }
    char block[1 << 16];
    std::size_t got = 0;
    while (bytes.size() <= most && (got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.append(block, got);
    const int error = std::ferror(file) ? (errno ? errno : EIO) : 0;
    std::fclose(file);
    return error ? std::strerror(error) : "";
}
