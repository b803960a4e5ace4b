#include "optics/datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "optics/settings.h"

float **data_save_array()
{
    switch (nCurrentDataSave) {
    case SAVE_TRANSMISSION: return r_input;
    case SAVE_PHASE: return phase_input;
    case SAVE_PSF: return m_output;
    default: return nullptr;
    }
}

std::string format_data_file(float **array)
{
    std::string text;
    if (!array) return text;
    text.reserve(GRID * (GRID * 12 + 1) + 64);
    char field[64];
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const int n = std::snprintf(field, sizeof field, j < GRID ? "%12.6f" : "%12.6f\n", array[i][j]);
            text.append(field, n > 0 ? static_cast<std::size_t>(n) : 0);
        }
    return text;
}

namespace {

std::string describe(const char *step, const std::string &path, int err)
{
    return std::string(step) + " " + path + ": " + std::strerror(err);
}

// New files get the usual permissions (0666 less the umask); a replaced file keeps its own.
mode_t permissions_for(const std::string &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool write_file_atomically(const std::string &path, const std::string &text, std::string &error)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = describe("cannot create a file beside", path, errno);
        return false;
    }
    auto fail = [&](const char *step, int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        error = describe(step, path, err);
        return false;
    };

    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write", errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd, permissions_for(path)) != 0) return fail("cannot set the permissions of", errno);
    if (::fsync(fd) != 0) return fail("cannot write", errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        error = describe("cannot close", path, err);
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        error = describe("cannot replace", path, err);
        return false;
    }
    return true;
}
