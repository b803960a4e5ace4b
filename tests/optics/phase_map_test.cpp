// Measured phase maps: text grids and FITS images, their placement over the pupil, units,
// missing data and the checksum kept with the file.
#include <cstdint>
#include <cstring>
#include <fstream>

#include "optics/fits_file.h"
#include "optics/phase_map.h"
#include "optics/settings_rules.h"
#include "tests/optics/optics_test.h"
#include "tests/temp_folder.h"

namespace {

TEST(PhaseMapText, ReadsRowsOfNumbersWithTheirUnit)
{
    PhaseMapGrid grid;
    ASSERT_EQ(parse_phase_map_text("# from the interferometer\n# Unit: um\n"
                                   "1, 2.5,-3\n\n4e-1  nan +6 # the last row\n",
                                   grid),
              "");
    EXPECT_EQ(grid.width, 3);
    EXPECT_EQ(grid.height, 2);
    EXPECT_EQ(grid.unit, PhaseMapUnit::Um);
    EXPECT_EQ(grid.values[2], -3.0f);
    EXPECT_EQ(grid.values[3], 0.4f);
    EXPECT_TRUE(std::isnan(grid.values[4]));
    EXPECT_EQ(grid.values[5], 6.0f);
}

// Every decimal form reads as the compiler reads the same literal.
TEST(PhaseMapText, ReadsEveryDecimalFormAsTheLiteral)
{
    const struct {
        const char *cell;
        float value;
    } rows[] = {
        {"1.5e+3", 1.5e+3f},
        {"-2.5E-2", -2.5E-2f},
        {"007", 7.0f},
        {"1.", 1.0f},
        {".5", 0.5f},
        {"0.1", 0.1f},
        {"-0.000123", -0.000123f},
        {"3.4e-30", 3.4e-30f},
        {"12345678901234567890", 12345678901234567890.0f},
        {"0.1234567890123456789", 0.1234567890123456789f},
    };
    for (const auto &row : rows) {
        PhaseMapGrid grid;
        ASSERT_EQ(parse_phase_map_text(std::string(row.cell) + " 0\n0 0\n", grid), "") << row.cell;
        EXPECT_EQ(grid.values[0], row.value) << row.cell;
    }
}

TEST(PhaseMapText, RefusesMalformedGridsNamingTheLine)
{
    const struct {
        const char *text, *problem;
    } rows[] = {
        {"1 2\n3 x\n", "line 2: 'x' is not a finite number or nan"},
        {"1 2\n3 inf\n", "line 2: 'inf' is not a finite number or nan"},
        {"1 2\n3 1e\n", "line 2: '1e' is not a finite number or nan"},
        {"1 2\n3 -.\n", "line 2: '-.' is not a finite number or nan"},
        {"1 2\n3 1e39\n", "line 2: '1e39' is not a finite number or nan"},
        {"1 2 3\n4 5\n", "line 2: 2 values, the first row has 3"},
        {"1,,2\n3 4\n", "line 1: an empty cell before a comma"},
        {"1 2,\n3 4\n", "line 1: an empty cell after a comma"},
        {"# unit: furlong\n1 2\n3 4\n", "line 1: unknown unit 'furlong' (waves, nm, um or m)"},
        {"# unit: nm\n1 2\n# unit = m\n3 4\n", "line 3: a second unit line"},
        {"1 2 3\n", "a phase map needs at least 2 rows of 2 values, this one has 1 row of 3"},
        {"", "a phase map needs at least 2 rows of 2 values, this one has 0 rows of 0"},
    };
    for (const auto &row : rows) {
        PhaseMapGrid grid;
        EXPECT_EQ(parse_phase_map_text(row.text, grid), row.problem) << row.text;
    }
}

// FNV-1a 64 of "" is its offset basis; of "a", the published test vector.
TEST(PhaseMapChecksum, IsTheFnv1aHashOfTheBytes)
{
    EXPECT_EQ(phase_map_checksum(""), "cbf29ce484222325");
    EXPECT_EQ(phase_map_checksum("a"), "af63dc4c8601ec8c");
}

// A FITS file written card by card: 80-character cards in 2880-byte blocks, big-endian data.
class FitsBytes {
public:
    void card(const std::string &text) { header_ += text + std::string(80 - text.size(), ' '); }
    void end_header()
    {
        card("END");
        bytes_ += header_ + std::string((2880 - header_.size() % 2880) % 2880, ' ');
        header_.clear();
    }
    void floats(const std::vector<float> &values)
    {
        std::string data;
        for (float value : values) {
            std::uint32_t bits;
            std::memcpy(&bits, &value, 4);
            for (int shift = 24; shift >= 0; shift -= 8) data += char(bits >> shift);
        }
        bytes_ += data + std::string((2880 - data.size() % 2880) % 2880, '\0');
    }
    const std::string &bytes() const { return bytes_; }

private:
    std::string header_, bytes_;
};

// A primary unit without data, then a 3 x 2 float image in um with one NaN.
std::string two_unit_fits()
{
    FitsBytes fits;
    fits.card("SIMPLE  =                    T");
    fits.card("BITPIX  =                    8");
    fits.card("NAXIS   =                    0");
    fits.card("EXTEND  =                    T");
    fits.end_header();
    fits.card("XTENSION= 'IMAGE   '");
    fits.card("BITPIX  =                  -32");
    fits.card("NAXIS   =                    2");
    fits.card("NAXIS1  =                    3");
    fits.card("NAXIS2  =                    2");
    fits.card("PCOUNT  =                    0");
    fits.card("GCOUNT  =                    1");
    fits.card("BUNIT   = 'um      '");
    fits.end_header();
    fits.floats({1, 2, 3, 4, NAN, 6});
    return fits.bytes();
}

TEST(PhaseMapFits, ReadsTheFirstImageWithDataAndItsUnit)
{
    PhaseMapGrid grid;
    ASSERT_EQ(read_fits_image(two_unit_fits(), grid), "");
    EXPECT_EQ(grid.width, 3);
    EXPECT_EQ(grid.height, 2);
    EXPECT_EQ(grid.unit, PhaseMapUnit::Um);
    EXPECT_EQ(grid.values[3], 4.0f);
    EXPECT_TRUE(std::isnan(grid.values[4]));
}

TEST(PhaseMapFits, RefusesImagesThatAreNoMapNamingTheUnit)
{
    const struct {
        std::vector<std::string> cards;
        const char *problem;
    } rows[] = {
        {{"NAXIS   =                    1", "NAXIS1  =                    4"},
         "HDU 1: the image is 4 x 1, a map needs 2 x 2"},
        {{"NAXIS   =                    3", "NAXIS1  =                    2",
          "NAXIS2  =                    2", "NAXIS3  =                    2"},
         "HDU 1: the image has 3 axes, a map 2"},
        {{"NAXIS   =                    2", "NAXIS1  =                    2",
          "NAXIS2  =                    2", "BUNIT   = 'furlong'"},
         "HDU 1: unknown unit 'furlong' in BUNIT (waves, nm, um or m)"},
        {{"NAXIS   =                    0"}, "no image HDU holds data"},
        {{"NAXIS   =                    2", "NAXIS1  =                    2",
          "NAXIS2  =                 8193"},
         "HDU 1: the image is 2 x 8193, more than 8192 on a side"},
        {{"NAXIS   =                    2", "NAXIS1  =                 1000",
          "NAXIS2  =                 1000"},
         "HDU 1: the file ends inside the image"},
    };
    for (const auto &row : rows) {
        FitsBytes fits;
        fits.card("SIMPLE  =                    T");
        fits.card("BITPIX  =                  -32");
        for (const std::string &card : row.cards) fits.card(card);
        fits.end_header();
        fits.floats(std::vector<float>(8, 0.5f));
        PhaseMapGrid grid;
        EXPECT_EQ(read_fits_image(fits.bytes(), grid), row.problem) << row.cards[0];
    }
}

class PhaseMapTest : public OpticsTest {
protected:
    void SetUp() override
    {
        OpticsTest::SetUp();
        clear_phase();
        folder_ = std::filesystem::temp_directory_path() / "orvinta-map-XXXXXX";
        std::string name = folder_.string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder_ = name;
    }
    void TearDown() override
    {
        std::filesystem::remove_all(folder_);
        OpticsTest::TearDown();
    }
    std::string write(const std::string &name, const std::string &text)
    {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // A text grid of size x size whose value at column c, row r is f(x, y), x and y running
    // from -1 to 1 across the map.
    template <class F> std::string grid_text(int size, const std::string &head, F f)
    {
        std::string text = head;
        char cell[32];
        for (int r = 0; r < size; r++) {
            for (int c = 0; c < size; c++) {
                std::snprintf(cell, sizeof cell, "%.9g ",
                              f(-1 + 2.0 * c / (size - 1), -1 + 2.0 * r / (size - 1)));
                text += cell;
            }
            text += "\n";
        }
        return text;
    }
    std::filesystem::path folder_;
};

// Columns run along i, rows along j, the first and last on the pupil's outermost samples
// (i = 45 and 84 at the start-up radius of 19.5 steps). A 2 x 2 map of 0 1 / 2 3 is the plane
// u + 2 v, u = (i - 45) / 39 and v = (j - 45) / 39, and bilinear interpolation keeps planes.
TEST_F(PhaseMapTest, SpansThePupilsBoundingSquareColumnsAlongI)
{
    ASSERT_EQ(load_phase_map(write("plane.txt", "0 1\n2 3\n")), "");
    EXPECT_EQ(HasPhaseMap, 1);
    pillbox_input();
    const int samples[][2] = {{45, 65}, {84, 64}, {65, 45}, {64, 84}, {50, 70}};
    for (const auto &s : samples)
        EXPECT_NEAR(phase_input[s[0]][s[1]], ((s[0] - 45) + 2.0 * (s[1] - 45)) / 39, 1e-6)
            << s[0] << "," << s[1];
}

// Fringe 4, 7 and 6 as textbook polynomials in x = rho cos(theta), y = rho sin(theta): a map
// of them sampled on the pupil's own 40 x 40 positions gives the phase the terms give.
TEST_F(PhaseMapTest, MapOfFringeTermsGivesThePhaseOfTheTerms)
{
    const auto wavefront = [](double x, double y) {
        const double rho2 = x * x + y * y;
        return 0.3 * (2 * rho2 - 1) + 0.2 * (3 * rho2 - 2) * x + 0.15 * 2 * x * y;
    };
    const struct {
        const char *head;
        double waves_per_unit;
    } units[] = {{"", 1}, {"# unit: nm\n", 500}, {"# unit: m\n", 500e-9}};
    HasZern[4] = HasZern[7] = HasZern[6] = 1;
    set_both(Zern[4], 0.3f, Zern[7], 0.2f);
    Zern[6] = 0.15f;
    pillbox_input();
    std::vector<float> expected(&phase_input[1][1], &phase_input[GRID][GRID] + 1);
    HasZern[4] = HasZern[7] = HasZern[6] = 0;
    for (const auto &unit : units) {
        const std::string text = grid_text(40, unit.head, [&](double x, double y) {
            return wavefront(x, y) * unit.waves_per_unit;
        });
        ASSERT_EQ(load_phase_map(write("terms.txt", text)), "");
        pillbox_input();
        EXPECT_EQ(first_sample_failing([&](int i, int j) {
                      return std::fabs(phase_input[i][j] - expected[(i - 1) * GRID + j - 1]) < 2e-6;
                  }),
                  "")
            << unit.head;
    }
}

TEST_F(PhaseMapTest, NoDataDarkensThePupilAndScaleMultiplies)
{
    // The left column of a 3 x 3 map has no data: samples that lean on it go dark.
    ASSERT_EQ(load_phase_map(write("holes.txt", "nan 1 1\nnan 1 1\nnan 1 1\n")), "");
    phasemapscale = 0.5f;
    pillbox_input();
    EXPECT_EQ(r_input[45][65], 0.0f);
    EXPECT_EQ(r_input[64][65], 0.0f);  // u just below 1: the NaN has weight
    EXPECT_EQ(r_input[65][65], 1.0f);  // u just above 1: the NaN has none
    EXPECT_EQ(phase_input[70][60], 0.5f);
    EXPECT_EQ(wavesrms, 0.0f);  // the dark samples are not in the RMS
}

TEST_F(PhaseMapTest, SettingsKeepTheFileAndReportAChangedOne)
{
    const std::string path = write("kept.txt", "1 2\n3 4\n");
    EXPECT_EQ(apply_setting("phasemap", path), "");
    const std::string sum = phase_map_sum();
    // FNV-1a 64 of the two files' bytes, worked out apart from the program (a few lines of
    // Python on the hash's definition): b2e1558ba88696fd and b2ddeb8ba883ad08.
    EXPECT_EQ(sum, "b2e1558ba88696fd");
    EXPECT_EQ(apply_setting("phasemapsum", sum), "");
    write("kept.txt", "1 2\n3 5\n");
    // The file read already is the one the settings keep, until it is loaded again.
    EXPECT_EQ(apply_setting("phasemap", path), "");
    ASSERT_EQ(load_phase_map(path), "");
    EXPECT_EQ(apply_setting("phasemapsum", sum), "the phase map " + path +
                                                     " has changed: its checksum is " +
                                                     "b2ddeb8ba883ad08, the settings keep " + sum);
}

// A file that opens with a SIMPLE card goes to the FITS reader, whatever its name.
TEST_F(PhaseMapTest, FitsFileIsToldByItsFirstCard)
{
    const std::string path = write("map.txt", two_unit_fits());
    set_fits_image_reader(nullptr);
    EXPECT_EQ(load_phase_map(path),
              path + ": FITS files cannot be read: the FITS library is not loaded");
    set_fits_image_reader(read_fits_image);
    ASSERT_EQ(load_phase_map(path), "");
    EXPECT_EQ(phase_map_grid()->width, 3);
    EXPECT_EQ(phase_map_grid()->unit, PhaseMapUnit::Um);
}

TEST_F(PhaseMapTest, RefusedFileChangesNothing)
{
    ASSERT_EQ(load_phase_map(write("good.txt", "1 1\n1 1\n")), "");
    const std::string bad = write("bad.txt", "1 1\n1 one\n");
    EXPECT_EQ(load_phase_map(bad), bad + ": line 2: 'one' is not a finite number or nan");
    const std::string missing = (folder_ / "missing.txt").string();
    EXPECT_EQ(load_phase_map(missing), missing + ": cannot read: No such file or directory");
    EXPECT_EQ(phase_map_path(), (folder_ / "good.txt").string());
    reset_settings();
    EXPECT_EQ(phase_map_path(), "");
    EXPECT_EQ(HasPhaseMap, 0);
}

}  // namespace
