// Feeds arbitrary files to the data file reader and checks what the program relies on: a
// refused file leaves the array exactly as it was, an accepted one fills it with finite values
// only. The first byte chooses the file: odd, the rest is one record repeated for all 128
// (so that whole files of the layout are reached often); even, the rest is the file itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "optics/datafile.h"
#include "optics/nrutil.h"
#include "optics/settings.h"

namespace {

constexpr float MARK = -7.25f;

void check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static float **array = matrix(1, GRID, 1, GRID);
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    std::string file;
    if (data[0] & 1) {
        if (rest.size() > 2000) return 0;
        for (int i = 0; i < GRID; i++) file += rest;
    } else {
        file = rest;
    }
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) array[i][j] = MARK;

    std::string why;
    const bool accepted = parse_data_file(file, "fuzz", array, why);
    check(accepted == why.empty());
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            check(accepted ? std::isfinite(array[i][j]) : array[i][j] == MARK);
    return 0;
}
