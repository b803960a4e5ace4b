// The data file commands (Save Data, Save Data As, open, a file named on the command line) and the
// batch job's settings at the ends of their ranges. Expected file bytes come from a formatter here.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/filedlg.h"
#include "tests/shell/program_harness.h"

namespace {

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A value in 1/`scale` units with `decimals` decimals, right-justified in (at least) `width`:
// "%12.6f", "%9.4f".
std::string fixed(long long units, long long scale, int decimals, std::size_t width)
{
    const unsigned long long m = units < 0 ? -units : units;
    std::string fraction = std::to_string(m % scale), text = units < 0 ? "-" : "";
    fraction.insert(0, decimals - fraction.size(), '0');
    text.append(std::to_string(m / scale)).append(".").append(fraction);
    return text.size() < width ? std::string(width - text.size(), ' ').append(text) : text;
}

// The writer's layout: fixed columns, but one blank apart where a value overflows or fills 12
// characters past column 1.
std::string written_file(const std::function<long long(int, int)> &millionths)
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        std::string columns, spaced;
        bool fits = true;
        for (int j = 1; j <= 128; j++) {
            const std::string value = fixed(millionths(i, j), 1000000, 6, 12);
            fits = fits && value.size() <= 12 && (j == 1 || value[0] == ' ');
            columns += value;
            spaced.append(j > 1 ? " " : "").append(value, value.find_first_not_of(' '));
        }
        text += (fits ? columns : spaced) + '\n';
    }
    return text;
}

// The reader's test file: +-(i + j / 16), negative where i + j is odd, exact in a float and in four
// decimals.
std::string reader_file()
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        for (int j = 1; j <= 128; j++)
            text += fixed(((i + j) % 2 ? -1 : 1) * (i * 10000LL + j * 625LL), 10000, 4, 9);
        text += '\n';
    }
    return text;
}

// r_output holds the reader's test file, or else every value is `all`.
bool r_output_is(bool read, float all = 0)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++)
            if (r_output[i][j] != (read ? ((i + j) % 2 ? -1.0f : 1.0f) * (i + j / 16.0f) : all))
                return false;
    return true;
}

// Tells arrays, rows and columns apart: k * 200 + i + j / 64, negative on odd rows, exact in a
// float and 6 decimals.
long long pattern(int k, int i, int j)
{
    return (i % 2 ? -1 : 1) * ((k * 200LL + i) * 1000000 + j * 15625LL);
}
void fill(float **array, int k)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) array[i][j] = static_cast<float>(pattern(k, i, j) / 1e6);
}

// Lowers the largest file this process may write, and restores it. SIGXFSZ is ignored: the write
// then fails with EFBIG instead.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lower{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

// What a Save Data command left behind.
struct SaveOutcome {
    std::vector<TestMessageBox> boxes;
    bool ownedByMain = false;
    std::string name, caption, cursor;
};

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
    // The program started with path as its data file runs Save Data under a file-size limit.
    SaveOutcome save_under_limit(const std::string &path, rlim_t limit)
    {
        SaveOutcome outcome;
        const auto save = [&] {
            testing_filedlg_begin({testing_file_cancel()});  // should a dialog open after all
            testing_clear_records();
            {
                FileSizeLimit lower(limit);
                EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            }
            outcome.boxes = testing_message_boxes();
            outcome.ownedByMain = !outcome.boxes.empty() && outcome.boxes[0].owner == mainhwnd;
            outcome.name = szFileName;
            outcome.caption = caption_of(mainhwnd);
            outcome.cursor = testing_cursors().empty() ? "" : testing_cursors().back();
        };
        run_program(save, path);
        return outcome;
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

TEST_F(DataFileCommands, CancelledSaveAsChangesNothing)
{
    run_program([&] {
        testing_filedlg_begin({testing_file_cancel()});
        EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        EXPECT_EQ(std::string(szFileName), "");
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
    });
}

// The name asked for becomes the current file, holding the PSF (all zero before any).
TEST_F(DataFileCommands, SaveDataWithoutANameAsksForOne)
{
    run_program([&] {
        save_psf1();
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[0];
        EXPECT_EQ(std::tuple(r.save, r.title, r.owner, r.flags, r.defaultExtension, r.initialName),
                  std::tuple(true, "Save As", mainhwnd, DWORD(OFN_OVERWRITEPROMPT), "txt", ""));
        EXPECT_EQ(r.filterShown, 1);
        std::string filters;
        for (const auto &f : r.filters) filters += f.description + "|" + f.patterns + "|";
        EXPECT_EQ(filters, "Text Files (*.TXT)|*.txt|ASCII Files (*.ASC)|*.asc|All Files (*.*)|*.*|"
                           "FFT Files (*.FFT)|*.FFT|");
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
        EXPECT_EQ(testing_filedlg_requests()[1].initialName, "x.txt");
        EXPECT_EQ(testing_filedlg_requests()[1].initialFolder, dir);
    });
}

// Array k of the pattern in the chosen array, and values that fill or overflow their field.
TEST_F(DataFileCommands, TheDataSavingChoiceDecidesWhichArrayIsWrittenRowByRow)
{
    const struct {
        int i, j;
        long long millionths;
    } wide[] = {
        {1, 1, 123456500000LL},   // 100000 or more: 13 characters
        {2, 5, -12345250000LL},   // -10000 or less: 13 characters
        {3, 128, 99999500000LL},  // fills 12 and touches its neighbour
        {4, 1, -9999500000LL},    // fills 12 in the first column: the line keeps its columns
    };
    const struct {
        int choice, k;  // k -1: an empty file
    } rows[] = {{SAVE_TRANSMISSION, 0}, {SAVE_PHASE, 1}, {SAVE_PSF, 2}, {539, -1}, {543, -1}};
    run_program([&] {
        fill(r_input, 0);
        for (const auto &w : wide) r_input[w.i][w.j] = static_cast<float>(w.millionths / 1e6);
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
                                if (row.k == 0 && w.i == i && w.j == j) return w.millionths;
                            return pattern(row.k, i, j);
                        })));
        }
    });
}

// The file cannot be created, or the disk "fills up" once it is open: one box owned by the main
// window says which, and the name, the caption, the cursor and the previous data stay.
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
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir + "/" + row.name;
        const bool full = row.limit != RLIM_INFINITY;
        const SaveOutcome saved = save_under_limit(path, row.limit);
        ASSERT_EQ(saved.boxes.size(), 1u);
        const TestMessageBox &box = saved.boxes[0];
        EXPECT_EQ(box.caption, row.caption);
        EXPECT_TRUE(full ? box.text.starts_with(row.text) : box.text == row.text) << box.text;
        EXPECT_EQ(box.text.find(std::strerror(EFBIG)) != std::string::npos, full) << box.text;
        if (!full) {
            EXPECT_EQ(box.type, UINT(MB_OK));
        }
        EXPECT_TRUE(saved.ownedByMain);
        EXPECT_EQ(saved.name, path);
        EXPECT_EQ(saved.caption, kDefaultCaption);
        EXPECT_EQ(saved.cursor, "IDC_ARROW");
        EXPECT_EQ(fs::is_regular_file(path) ? slurp(path) : "-", row.after);
    }
    for (const auto &e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".txt."), std::string::npos) << e.path();
}

// The caption keeps no title.
TEST_F(DataFileCommands, CommandLineFileIsReadIntoTheFieldAmplitude)
{
    write_file(dir + "/input.txt", reader_file());
    run_program(
        [&] {
            EXPECT_EQ(message_texts().size(), 0u);
            EXPECT_TRUE(r_output_is(true));
            EXPECT_FALSE(HaveCurrentPSF);
            EXPECT_EQ(szTitleName + "|"s + szFileName, "input.txt|" + dir + "/input.txt");
            EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        },
        dir + "/input.txt");
}

// A path over 259 bytes names another file once cut: it is neither read nor kept.
TEST_F(DataFileCommands, OverlongCommandLineFileIsNotKept)
{
    const std::string file = std::string(300, 'y') + ".txt";
    run_program(
        [&] {
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(box.text, "File " + file + " cannot be read!");
            EXPECT_EQ(box.caption, "Orvinta");
            EXPECT_EQ(box.type, UINT(MB_ICONEXCLAMATION | MB_OK));
            EXPECT_EQ(std::string(szFileName), "");
            EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        },
        dir + "/" + file);
}

TEST_F(DataFileCommands, KeptCommandLineNameIsSavedWithoutAQuestion)
{
    const std::string path = dir + "/cl.txt";
    run_program(
        [&] {
            testing_filedlg_begin({testing_file_choice(dir + "/never-asked.txt")});
            testing_clear_records();
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            EXPECT_EQ(testing_filedlg_requests().size(), 0u);
            EXPECT_EQ(testing_message_boxes().size(), 0u);
        },
        path);
    EXPECT_EQ(fs::file_size(path), 196736u);  // 128 x (128 x 12 + 1)
}

// The dialog offers the current file. Only the field amplitude changes, and nothing is written: a
// whole file becomes the current one; a refused file forgets the current one; a cancelled dialog
// keeps it. The dialog only names a missing file; nothing creates it.
TEST_F(DataFileCommands, OpenLoadsAWholeFileIntoTheFieldAmplitudeOnly)
{
    write_file(dir + "/in.txt", reader_file());
    write_file(dir + "/bad.txt", "");
    const std::string first = "first.txt|" + dir + "/first.txt";
    const struct {
        std::string file;
        bool cancel;
        std::vector<std::string> boxes;
        bool read;
        std::string names, caption;  // "title|path"
    } rows[] = {
        {"in.txt", false, {}, true, "in.txt|" + dir + "/in.txt", "Orvinta - in.txt"},
        {"bad.txt",
         false,
         {"Could not read the file bad.txt!"},
         false,
         "|",
         "Orvinta - "s + kDefaultCaption},
        {"nothing.txt",
         false,
         {"nothing.txt\nThis file does not exist.\nDo you want to create it?",
          "Could not read the file nothing.txt!"},
         false,
         "|",
         "Orvinta - "s + kDefaultCaption},
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
            EXPECT_TRUE(r_output_is(row.read, 7.0f));
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
        // The RMS of rho^4 over the unit disc is sqrt(1/5 - 1/9) = 0.2981: a million waves
        // give 298000.
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
    EXPECT_EQ(text.size() - (text.find("\n", text.find("max_phase_step: ")) + 1),
              128u * (128 * 12 + 1));
}

}  // namespace
