#include "optics/datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "optics/number_text.h"
#include "optics/output_file.h"
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

namespace {

// One value as "%12.6f" would print it in the C locale, without the padding.
std::size_t format_value(float value, char *out, std::size_t size)
{
    const auto [end, error] = std::to_chars(out, out + size, value, std::chars_format::fixed, 6);
    return error == std::errc() ? static_cast<std::size_t>(end - out) : 0;
}

}  // namespace

std::string format_data_file(float **array)
{
    std::string text;
    if (!array) return text;
    text.reserve(GRID * (GRID * 12 + 1) + 64);
    constexpr std::size_t FIELD = 12;
    char values[GRID][64];
    std::size_t lengths[GRID];
    for (int i = 1; i <= GRID; i++) {
        // A value fills or overflows its 12 characters only when it is very large. Such a
        // line would run values together, so it is written with one blank between values
        // instead; every other line keeps the fixed columns.
        bool fixed = true;
        for (int j = 0; j < GRID; j++) {
            lengths[j] = format_value(array[i][j + 1], values[j], sizeof values[j]);
            if (lengths[j] > FIELD || (j > 0 && lengths[j] == FIELD)) fixed = false;
        }
        for (int j = 0; j < GRID; j++) {
            if (fixed)
                text.append(FIELD - std::min(FIELD, lengths[j]), ' ');
            else if (j > 0)
                text += ' ';
            text.append(values[j], lengths[j]);
        }
        text += '\n';
    }
    return text;
}

namespace {

std::string describe(const char *step, const std::string &path, int err)
{
    return std::string(step) + " " + path + ": " + std::strerror(err);
}

}  // namespace

bool write_file_atomically(const std::string &path, const std::string &text, std::string &error)
{
    return write_output_file(path, text, error);
}

double read_field_number(const char *text, std::size_t length)
{
    // The longest prefix of the form [blanks][sign]digits[.digits][(e|E)[sign]digits].
    return leading_number(std::string_view(text, length)).value;
}

bool read_data_file(const std::string &path, float **target, std::string &why)
{
    // A complete file is under 150 kB; anything far larger is not one, so it is refused
    // without reading it all.
    constexpr std::size_t most = GRID * (READ_RECORD + 1) + 2;
    // Opened without waiting, so that a FIFO or a device cannot stop the program; only a
    // regular file can be a data file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = describe("cannot open", path, errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = path + " is not a regular file";
        return false;
    }
    std::string bytes(most + 1, '\0');
    std::size_t got = 0;
    bool read_error = false;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) read_error = true;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (read_error) {
        why = "cannot read " + path;
        return false;
    }
    bytes.resize(got);
    return parse_data_file(bytes, path, target, why);
}

bool parse_data_file(const std::string &bytes, const std::string &path, float **target,
                     std::string &why)
{
    constexpr std::size_t most = GRID * (READ_RECORD + 1) + 2;
    if (bytes.size() > most) {
        why = path + " is longer than a data file";
        return false;
    }

    // CR LF files carry one more byte per record, after the ten-byte last field.
    const bool crlf =
        bytes.size() > READ_RECORD && bytes[READ_RECORD - 1] == '\r' && bytes[READ_RECORD] == '\n';
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
        const bool bad_end = crlf ? (end < bytes.size() && bytes[end] != '\r') ||
                                        (end + 1 < bytes.size() && bytes[end + 1] != '\n') ||
                                        (end + 1 == bytes.size())  // a CR without its LF
                                  : end < bytes.size() && bytes[end] != '\n';
        if (bad_end) {
            why = path + ": line " + std::to_string(i) + " does not have the data file layout";
            return false;
        }
        for (int j = 1; j <= GRID; j++) {
            const std::size_t offset = base + (j - 1) * READ_FIELD;
            const std::size_t width = std::min<std::size_t>(j < GRID ? READ_FIELD : READ_LAST_FIELD,
                                                            bytes.size() - offset);
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
