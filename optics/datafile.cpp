#include "optics/datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <cmath>
#include <vector>

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

bool write_file_atomically(const std::string &link_or_path, const std::string &text, std::string &error)
{
    // Through a symbolic link the file it points to is replaced, not the link itself.
    std::string path = link_or_path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *resolved = ::realpath(path.c_str(), nullptr)) {
            path = resolved;
            std::free(resolved);
        }
    }
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

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double read_field_number(const char *text, std::size_t length)
{
    // Longest prefix of the form [blanks][sign]digits[.digits][(e|E)[sign]digits].
    std::size_t k = 0;
    while (k < length && (text[k] == ' ' || text[k] == '\t')) k++;
    const std::size_t start = k;
    if (k < length && (text[k] == '+' || text[k] == '-')) k++;
    std::size_t digits = 0;
    while (k < length && is_digit(text[k])) k++, digits++;
    if (k < length && text[k] == '.') {
        k++;
        while (k < length && is_digit(text[k])) k++, digits++;
    }
    if (digits == 0) return 0.0;
    std::size_t end = k;
    if (k < length && (text[k] == 'e' || text[k] == 'E')) {
        std::size_t e = k + 1;
        if (e < length && (text[e] == '+' || text[e] == '-')) e++;
        if (e < length && is_digit(text[e])) {
            while (e < length && is_digit(text[e])) e++;
            end = e;
        }
    }
    const std::string number(text + start, end - start);
    return std::strtod(number.c_str(), nullptr);
}

bool read_data_file(const std::string &path, float **target, std::string &why)
{
    // A complete file is under 150 kB; anything far larger is not one, so it is refused
    // without reading it all.
    constexpr std::size_t most = GRID * (READ_RECORD + 1) + 2;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = describe("cannot open", path, errno);
        return false;
    }
    std::string bytes(most + 1, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool read_error = std::ferror(file);
    std::fclose(file);
    if (read_error) {
        why = "cannot read " + path;
        return false;
    }
    bytes.resize(got);
    if (got > most) {
        why = path + " is longer than a data file";
        return false;
    }

    // CR LF files carry one more byte per record, after the ten-byte last field.
    const bool crlf = bytes.size() > READ_RECORD && bytes[READ_RECORD - 1] == '\r' && bytes[READ_RECORD] == '\n';
    const std::size_t record = READ_RECORD + (crlf ? 1 : 0);

    std::vector<float> values(GRID_VALUES);
    for (int i = 1; i <= GRID; i++) {
        const std::size_t base = (i - 1) * record;
        // The last record may end without its line end.
        const std::size_t needed = i < GRID ? record : READ_RECORD - 1;
        if (bytes.size() < base + needed) {
            why = path + " ends before its " + std::to_string(GRID) + "th line";
            return false;
        }
        // Every complete record ends with its line end; a file of another layout that happens
        // to have the right length does not.
        const std::size_t end = base + READ_RECORD - 1;
        if (end < bytes.size() && bytes[end] != (crlf ? '\r' : '\n')) {
            why = path + ": line " + std::to_string(i) + " does not have the data file layout";
            return false;
        }
        for (int j = 1; j <= GRID; j++) {
            const std::size_t offset = base + (j - 1) * READ_FIELD;
            const std::size_t width = std::min<std::size_t>(j < GRID ? READ_FIELD : READ_LAST_FIELD, bytes.size() - offset);
            const double v = read_field_number(bytes.data() + offset, width);
            if (!std::isfinite(static_cast<float>(v))) {
                why = path + ": a value in line " + std::to_string(i) + " is too large";
                return false;
            }
            values[(i - 1) * GRID + (j - 1)] = static_cast<float>(v);
        }
    }
    std::string rest = bytes.size() > GRID * record ? bytes.substr(GRID * record) : "";
    if (!(rest.empty() || rest == "\n" || rest == "\r\n")) {
        why = path + " is longer than a data file";
        return false;
    }

    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) target[i][j] = values[(i - 1) * GRID + (j - 1)];
    return true;
}
