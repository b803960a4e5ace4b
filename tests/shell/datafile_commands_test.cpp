// The data file commands (Save Data, Save Data As, open, a file named on the command line) and the
// batch job's settings at the ends of their ranges. Expected file bytes come from a formatter here.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstring>

#include "platform/filedlg.h"
#include "tests/shell/program_harness.h"

namespace {

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The writer's layout of value(i, j): "%12.6f" columns, but one blank apart on a line where a
// value overflows or fills 12 characters past column 1.
std::string written_file(const std::function<double(int, int)> &value)
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        std::string columns, spaced;
        bool fits = true;
        for (int j = 1; j <= 128; j++) {
            char field[40];
            const std::string v(field, std::snprintf(field, sizeof field, "%12.6f", value(i, j)));
            fits = fits && v.size() <= 12 && (j == 1 || v[0] == ' ');
            columns += v;
            spaced.append(j > 1 ? " " : "").append(v, v.find_first_not_of(' '));
        }
        text += (fits ? columns : spaced) + '\n';
    }
    return text;
}

// A file in the reader's layout (128 lines of 128 fields of 9 bytes), every value -2.5.
std::string reader_file()
{
    std::string line, text;
    for (int j = 1; j <= 128; j++) line += "  -2.5000";
    for (int i = 1; i <= 128; i++) text += line + '\n';
    return text;
}

// Every value of the field amplitude is value.
bool r_output_is(float value)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++)
            if (r_output[i][j] != value) return false;
    return true;
}

// Tells arrays, rows and columns apart: k * 200 + i + j / 64, negative on odd rows, exact in a
// float and 6 decimals.
double pattern(int k, int i, int j) { return (i % 2 ? -1 : 1) * (k * 200 + i + j / 64.0); }
void fill(float **array, int k)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) array[i][j] = static_cast<float>(pattern(k, i, j));
}

using namespace std::string_literals;

class DataFileCommands : public TempFolderTest {
protected:
    // Save Data with no current name, the user choosing psf1 in the test's folder.
    void save_psf1()
    {
        testing_filedlg_begin({testing_file_choice(dir + "/psf1")});
        testing_clear_records();
        EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
    }
    // After first.txt is saved and the field amplitude set to 7, the user opens path (or
    // cancels); nothing else may change.
    void open_after_saving(const std::string &path, bool cancel)
    {
        testing_filedlg_begin({testing_file_choice(dir + "/first.txt")});
        EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        for (int i = 1; i <= 128; i++)
            for (int j = 1; j <= 128; j++) r_output[i][j] = 7.0f;
        psf = m_output[65][65];
        testing_begin({IDYES});  // "create it?" yes
        testing_filedlg_begin({cancel ? testing_file_cancel() : testing_file_choice(path)});
        testing_send_command(mainhwnd, IDM_OPEN);
    }
    float psf = -1;
};

// The name asked for becomes the current file, holding the PSF (all zero before any).
TEST_F(DataFileCommands, SaveDataWithoutANameAsksForOne)
{
    run_program([&] {
        save_psf1();
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[0];
        EXPECT_EQ(std::tuple(r.save, r.title, r.owner, r.flags, r.defaultExtension, r.initialName),
                  std::tuple(true, "Save As", mainhwnd, DWORD(OFN_OVERWRITEPROMPT), "txt", ""));
        EXPECT_EQ(testing_cursors(), std::vector<std::string>({"DataSaveCursor", "IDC_ARROW"}));
        EXPECT_EQ(message_texts().size(), 0u);
        EXPECT_EQ(szFileName + "|"s + szTitleName, dir + "/psf1.txt|psf1.txt");
        EXPECT_EQ(caption_of(mainhwnd), "Orvinta - psf1.txt");
        EXPECT_TRUE(slurp(dir + "/psf1.txt") == written_file([](int, int) { return 0; }));
    });
}

// A cancelled dialog keeps the failed name current; the next one offers it alone.
TEST_F(DataFileCommands, AfterAFailedSaveTheDialogOffersTheNameInTheLastGoodFolder)
{
    run_program([&] {
        save_psf1();
        testing_filedlg_begin({testing_file_choice(dir + "/none/x.txt"), testing_file_cancel()});
        testing_choose_menu_item(mainhwnd, IDM_SAVEAS);
        testing_choose_menu_item(mainhwnd, IDM_SAVEAS);
        EXPECT_EQ(std::string(szFileName), dir + "/none/x.txt");
        ASSERT_EQ(testing_filedlg_requests().size(), 2u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[1];
        EXPECT_EQ(std::pair(r.initialName, r.initialFolder), std::pair("x.txt"s, dir));
    });
}

// Array k of the pattern in the chosen array, and values that fill or overflow their field.
TEST_F(DataFileCommands, TheDataSavingChoiceDecidesWhichArrayIsWrittenRowByRow)
{
    const struct {
        int i, j;
        double value;
    } wide[] = {
        {1, 1, 123456.5},   // 100000 or more: 13 characters
        {2, 5, -12345.25},  // -10000 or less: 13 characters
        {3, 128, 99999.5},  // fills 12 and touches its neighbour
        {4, 1, -9999.5},    // fills 12 in the first column: the line keeps its columns
    };
    const struct {
        int choice, k;  // k -1: an empty file
    } rows[] = {{SAVE_TRANSMISSION, 0}, {SAVE_PHASE, 1}, {SAVE_PSF, 2}, {539, -1}, {543, -1}};
    run_program([&] {
        fill(r_input, 0);
        for (const auto &w : wide) r_input[w.i][w.j] = static_cast<float>(w.value);
        fill(phase_input, 1);
        fill(m_output, 2);
        for (const auto &row : rows) {
            SCOPED_TRACE("choice " + std::to_string(row.choice));
            nCurrentDataSave = row.choice;
            const std::string path = dir + "/choice" + std::to_string(row.choice) + ".txt";
            testing_filedlg_begin({testing_file_choice(path)});
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            EXPECT_TRUE(fs::exists(path));
            EXPECT_TRUE(slurp(path) == (row.k < 0 ? "" : written_file([&](int i, int j) {
                            for (const auto &w : wide)
                                if (row.k == 0 && w.i == i && w.j == j) return w.value;
                            return pattern(row.k, i, j);
                        })));
        }
    });
}

// The file cannot be created, or the disk "fills up" once it is open (a lowered file-size limit,
// SIGXFSZ ignored): one box owned by the main window says which, and the name, the caption, the
// cursor and the previous data stay.
TEST_F(DataFileCommands, FailedSaveGivesItsBoxLeavingEverythingAsItWas)
{
    fs::create_directory(dir + "/folder.txt");
    write_file(dir + "/old.txt", "the previous data\n");
    const std::string written = "The data file could not be written:\ncannot write";
    const struct {
        std::string name;
        rlim_t limit;
        std::string caption,
            text;           // the whole text when the file cannot be created, else its start
        std::string after;  // "-": no file
    } rows[] = {
        {"folder.txt", RLIM_INFINITY, "File Open failed", "File Open failed", "-"},
        {"old.txt", 100000, "File Write failed", written, "the previous data\n"},
        {"new.txt", 100000, "File Write failed", written, "-"},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir + "/" + row.name;
        const bool full = row.limit != RLIM_INFINITY;
        const auto save = [&] {
            testing_filedlg_begin({testing_file_cancel()});  // should a dialog open after all
            testing_clear_records();
            const rlimit lower{row.limit, saved.rlim_max};
            setrlimit(RLIMIT_FSIZE, &lower);
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            setrlimit(RLIMIT_FSIZE, &saved);
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_TRUE(full ? box.text.starts_with(row.text) : box.text == row.text) << box.text;
            EXPECT_EQ(box.text.find(std::strerror(EFBIG)) != std::string::npos, full) << box.text;
            EXPECT_TRUE(full || box.type == UINT(MB_OK)) << box.type;
            const std::string cursor = testing_cursors().empty() ? "" : testing_cursors().back();
            EXPECT_EQ(std::tuple(box.caption, box.owner, std::string(szFileName),
                                 caption_of(mainhwnd), cursor),
                      std::tuple(row.caption, mainhwnd, path, kDefaultCaption, "IDC_ARROW"));
        };
        run_program(save, path);
        EXPECT_EQ(fs::is_regular_file(path) ? slurp(path) : "-", row.after);
    }
    for (const auto &e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".txt."), std::string::npos) << e.path();
}

// A file named on the command line is read into the field amplitude, the caption keeping no
// title; a path over 259 bytes names another file once cut: it is neither read nor kept.
TEST_F(DataFileCommands, CommandLineFileIsReadUnlessItsPathIsTooLong)
{
    write_file(dir + "/input.txt", reader_file());
    const std::string overlong = std::string(300, 'y') + ".txt";
    const struct {
        std::string file;
        std::vector<std::string> boxes;
        std::string names;  // "title|path"
    } rows[] = {
        {"input.txt", {}, "input.txt|" + dir + "/input.txt"},
        {overlong, {"File " + overlong + " cannot be read!"}, "|"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file.substr(0, 10));
        const auto check = [&] {
            EXPECT_EQ(message_texts(), row.boxes);
            for (const TestMessageBox &box : testing_message_boxes())
                EXPECT_EQ(std::pair(box.caption, box.type),
                          std::pair("Orvinta"s, UINT(MB_ICONEXCLAMATION | MB_OK)));
            EXPECT_EQ(r_output_is(-2.5f), row.boxes.empty());
            EXPECT_FALSE(HaveCurrentPSF);
            EXPECT_EQ(szTitleName + "|"s + szFileName, row.names);
            EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        };
        run_program(check, dir + "/" + row.file);
    }
}

// The dialog offers the current file. Only the field amplitude changes, and nothing is written: a
// whole file becomes the current one; a refused file forgets the current one; a cancelled dialog
// keeps it. The dialog only names a missing file; nothing creates it.
TEST_F(DataFileCommands, OpenLoadsAWholeFileIntoTheFieldAmplitudeOnly)
{
    write_file(dir + "/in.txt", reader_file());
    write_file(dir + "/bad.txt", "");
    const std::string first = "first.txt|" + dir + "/first.txt",
                      none = "Orvinta - "s + kDefaultCaption;
    const std::string ask = "nothing.txt\nThis file does not exist.\nDo you want to create it?";
    const struct {
        std::string file;
        bool cancel;
        std::vector<std::string> boxes;
        bool read;
        std::string names, caption;  // "title|path"
    } rows[] = {
        {"in.txt", false, {}, true, "in.txt|" + dir + "/in.txt", "Orvinta - in.txt"},
        {"bad.txt", false, {"Could not read the file bad.txt!"}, false, "|", none},
        {"nothing.txt", false, {ask, "Could not read the file nothing.txt!"}, false, "|", none},
        {"in.txt", true, {}, false, first, "Orvinta - first.txt"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file + (row.cancel ? " cancelled" : ""));
        fs::remove(dir + "/first.txt");
        run_program([&] {
            open_after_saving(dir + "/" + row.file, row.cancel);
            ASSERT_EQ(testing_filedlg_requests().size(), 1u);
            const TestFileDialogRequest &o = testing_filedlg_requests()[0];
            EXPECT_EQ(std::tuple(o.save, o.flags, o.initialName, o.initialFolder),
                      std::tuple(false, DWORD(OFN_CREATEPROMPT), dir + "/first.txt", ""s));
            EXPECT_EQ(message_texts(), row.boxes);
            EXPECT_EQ(m_output[65][65], psf);
            EXPECT_TRUE(r_output_is(row.read ? -2.5f : 7.0f));
            EXPECT_EQ(testing_cursors().size(), 0u);
            EXPECT_EQ(szTitleName + "|"s + szFileName, row.names);
            EXPECT_EQ(caption_of(mainhwnd), row.caption);
        });
    }
    EXPECT_FALSE(fs::exists(dir + "/nothing.txt"));
}

using BatchRanges = TempFolderTest;

// Every figure but the notes and the peak is finite; wavesrms lies within the row's bounds
// (start-up 0.160).
TEST_F(BatchRanges, SettingAtTheEndOfItsRangeGivesFiniteFigures)
{
    const struct {
        const char *args;
        double rmsLow, rmsHigh;
    } rows[] = {
        // The RMS of rho^4 over the unit disc, sqrt(1/5 - 1/9) = 0.2981, for a million waves.
        {"HasComa=0 HasZern26=0 HasSpherical=1 spherical=1000000", 2.9e5, 3.07e5},
        // Periods and plate edges beyond the grid leave the pupil whole: the start-up RMS stays.
        {"nCurrentPhasePattern=501 PhasePatternPeriod=2147483617", 0.159, 0.161},
        {"nCurrentPhasePattern=502 PhasePatternPeriod=2147483647", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=2147483584", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=-2147483648", 0.159, 0.161},
        // The far corners together.
        {"wavelength=1e9 fnumber=1e6 pupilradius=2147483647 nCurrentPSFUnits=172", 0, 1},
        {"wavelength=0.001 fnumber=0.001 pupildia=1e-6 nCurrentPupUnits=135", 0.159, 0.161},
        {"HasZern37=1 Zern37=1e6 nCurrentPupilShape=138 PupilAspectRatio=1e6 pupilradius=1", 1e30,
         1e36},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args);
        const Invocation r = run_orvinta(dir, "--batch "s + row.args);
        EXPECT_EQ(r.status, 0) << r.err;
        const auto figures = lines_of(r.out);
        for (const auto &[name, value] : figures) {
            if (name.starts_with("note") || name == "peak") continue;
            EXPECT_TRUE(std::isfinite(std::atof(value.c_str()))) << name;
        }
        EXPECT_GE(number(figures, "wavesrms"), row.rmsLow);
        EXPECT_LE(number(figures, "wavesrms"), row.rmsHigh);
        EXPECT_GT(number(figures, "psf_graph_extent"), 0);
    }
}

// Standard output to a file and the array named by a link to descriptor 1: the figures, then
// the 128 lines.
TEST_F(BatchRanges, ArrayNamedByALinkToStandardOutputFollowsTheFigures)
{
    fs::create_symlink("/dev/fd/1", dir + "/stdout-link");
    const std::string text = run_orvinta(dir, "--batch --out stdout-link").out;
    EXPECT_TRUE(text.starts_with("wavesrms: ")) << text.substr(0, 40);
    EXPECT_EQ(text.size() - (text.find("\n", text.find("cutoff: ")) + 1), 128u * (128 * 12 + 1));
}

}  // namespace
