// The data file commands (Save Data, Save Data As, open, a file named on the command line) and the
// batch job's settings at and beyond their ranges. Expected file bytes come from a formatter here.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/filedlg.h"
#include "tests/shell/program_harness.h"

namespace {

void write_file(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

// A value in 1/`scale` units with `decimals` decimals, right-justified in (at least) `width`: "%12.6f", "%9.4f".
std::string fixed(long long units, long long scale, int decimals, std::size_t width)
{
    const unsigned long long m = units < 0 ? -units : units;
    std::string fraction = std::to_string(m % scale), text = units < 0 ? "-" : "";
    fraction.insert(0, decimals - fraction.size(), '0');
    text.append(std::to_string(m / scale)).append(".").append(fraction);
    return text.size() < width ? std::string(width - text.size(), ' ').append(text) : text;
}

// The writer's layout: fixed columns, but one blank apart where a value overflows or fills 12 characters past column 1.
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

// The reader's test file: +-(i + j / 16), negative where i + j is odd, exact in a float and in four decimals.
std::string reader_file()
{
    std::string text;
    for (int i = 1; i <= 128; i++, text += '\n')
        for (int j = 1; j <= 128; j++) text += fixed(((i + j) % 2 ? -1 : 1) * (i * 10000LL + j * 625LL), 10000, 4, 9);
    return text;
}

// r_output holds the reader's test file, or else every value is `all`.
bool r_output_is(bool read, float all = 0)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++)
            if (r_output[i][j] != (read ? ((i + j) % 2 ? -1.0f : 1.0f) * (i + j / 16.0f) : all)) return false;
    return true;
}

// Tells arrays, rows and columns apart: k * 200 + i + j / 64, negative on odd rows, exact in a float and 6 decimals.
long long pattern(int k, int i, int j) { return (i % 2 ? -1 : 1) * ((k * 200LL + i) * 1000000 + j * 15625LL); }
void fill(float **array, int k)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) array[i][j] = static_cast<float>(pattern(k, i, j) / 1e6);
}

using DataFileCommands = TempFolderTest;
using namespace std::string_literals;

TEST_F(DataFileCommands, SaveDataWithoutANameAsksForOneWritesTheZeroPsfAndOffersItNextTime)
{
    run_program([&] {
        testing_filedlg_begin({testing_file_cancel()});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));  // cancelled: even the caption stays
        EXPECT_TRUE(!*szFileName && caption_of(mainhwnd) == kDefaultCaption);
        testing_filedlg_begin({testing_file_choice(dir + "/psf1")});
        testing_clear_records();
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[0];
        EXPECT_EQ(std::tuple(r.save, r.title, r.owner, r.flags, r.defaultExtension, r.initialName, r.filterShown),
                  std::tuple(true, "Save As", mainhwnd, DWORD(OFN_OVERWRITEPROMPT), "txt", "", 1));
        std::string filters;
        for (const auto &f : r.filters) filters += f.description + "|" + f.patterns + "|";
        EXPECT_EQ(filters, "Text Files (*.TXT)|*.txt|ASCII Files (*.ASC)|*.asc|All Files (*.*)|*.*|"
                           "FFT Files (*.FFT)|*.FFT|");
        EXPECT_EQ(testing_cursors(), std::vector<std::string>({"DataSaveCursor", "IDC_ARROW"}));
        EXPECT_EQ(std::tuple(message_texts().size(), szFileName + "|"s + szTitleName, caption_of(mainhwnd)),
                  std::tuple(0u, dir + "/psf1.txt|psf1.txt", "Orvinta - psf1.txt"));
        EXPECT_TRUE(slurp(dir + "/psf1.txt") == written_file([](int, int) { return 0; })) << "a zero PSF";
        // Now the name is current: Save Data writes without a dialog; the open dialog offers it.
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        EXPECT_TRUE(testing_filedlg_requests().size() == 1 && testing_message_boxes().empty()) << "asks nothing";
        testing_filedlg_begin({testing_file_cancel()});
        testing_send_command(mainhwnd, IDM_OPEN);
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &o = testing_filedlg_requests()[0];
        EXPECT_EQ(std::tuple(o.save, o.flags, o.initialName, o.initialFolder),
                  std::tuple(false, DWORD(OFN_CREATEPROMPT), dir + "/psf1.txt", ""s));
        // After a failed save the next dialog offers the name alone, in the last good folder.
        testing_filedlg_begin({testing_file_choice(dir + "/none/x.txt"), testing_file_cancel()});
        testing_choose_menu_item(mainhwnd, IDM_SAVEAS);
        testing_choose_menu_item(mainhwnd, IDM_SAVEAS);
        EXPECT_EQ(message_texts(), std::vector<std::string>{"File Open failed"});
        EXPECT_EQ(std::string(szFileName), dir + "/none/x.txt") << "a cancelled dialog keeps the current name";
        const TestFileDialogRequest &again = testing_filedlg_requests().at(1);
        EXPECT_EQ(std::pair(again.initialName, again.initialFolder), std::pair("x.txt"s, dir));
    });
}

// Array k of the pattern in the chosen array, and values that fill or overflow their field.
TEST_F(DataFileCommands, TheDataSavingChoiceDecidesWhichArrayIsWrittenRowByRow)
{
    const struct { int i, j; long long millionths; } wide[] = {
        {1, 1, 123456500000LL},   // 100000 or more: 13 characters
        {2, 5, -12345250000LL},   // -10000 or less: 13 characters
        {3, 128, 99999500000LL},  // fills 12 and touches its neighbour
        {4, 1, -9999500000LL},    // fills 12 in the first column: the line keeps its columns
    };
    const struct { int choice, k; } rows[] = {
        {SAVE_TRANSMISSION, 0}, {SAVE_PHASE, 1}, {SAVE_PSF, 2}, {539, -1}, {543, -1}};
    run_program([&] {
        fill(r_input, 0);
        for (const auto &w : wide) r_input[w.i][w.j] = static_cast<float>(w.millionths / 1e6);
        fill(phase_input, 1);
        fill(m_output, 2);
        for (const auto &row : rows) {  // k -1: an empty file
            SCOPED_TRACE("choice " + std::to_string(row.choice));
            nCurrentDataSave = row.choice;
            const std::string path = dir + "/choice" + std::to_string(row.choice) + ".txt";
            testing_filedlg_begin({testing_file_choice(path)});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            ASSERT_TRUE(fs::exists(path));
            EXPECT_TRUE(slurp(path) == (row.k < 0 ? "" : written_file([&](int i, int j) {
                for (const auto &w : wide)
                    if (row.k == 0 && w.i == i && w.j == j) return w.millionths;
                return pattern(row.k, i, j);
            })));
        }
    });
}

// Lowers the largest file this process may write, and restores it.
struct FileSizeLimit {
    rlimit saved{}, lower{};
    explicit FileSizeLimit(rlim_t bytes)  // SIGXFSZ ignored: the write then fails with EFBIG instead
    {
        std::signal(SIGXFSZ, SIG_IGN), getrlimit(RLIMIT_FSIZE, &saved), lower = {bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST_F(DataFileCommands, WriteFailuresAreReportedAndNeverDestroyTheOldFile)
{
    fs::create_directory(dir + "/folder.txt");
    write_file(dir + "/old.txt", "the previous data\n");
    const std::string cannotWrite = "The data file could not be written:\ncannot write";
    const struct { std::string path; bool limitSize; const char *caption; std::string text, after; } rows[] = {
        // limitSize: the disk "fills up" once the file is open; text: the box text's start; after: "-" no file
        {dir + "/folder.txt", false, "File Open failed", "File Open failed", "-"},
        {dir + "/old.txt", true, "File Write failed", cannotWrite, "the previous data\n"},
        {dir + "/new.txt", true, "File Write failed", cannotWrite, "-"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        run_program([&] {
            testing_clear_records();
            {
                FileSizeLimit limit(row.limitSize ? 100000 : RLIM_INFINITY);
                ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            }
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(std::tuple(box.caption, box.owner), std::tuple(row.caption, mainhwnd));
            EXPECT_EQ(box.text.rfind(row.text, 0), 0u) << box.text;
            EXPECT_TRUE(row.limitSize ? box.text.find(std::strerror(EFBIG)) != std::string::npos
                                      : box.text == row.text && box.type == MB_OK) << box.text;
            const std::string cursor = testing_cursors().empty() ? "" : testing_cursors().back();
            EXPECT_EQ(std::tuple(std::string(szFileName), caption_of(mainhwnd), cursor),
                      std::tuple(row.path, kDefaultCaption, "IDC_ARROW")) << "the name stays current";
        }, row.path);
        EXPECT_EQ(fs::is_regular_file(row.path) ? slurp(row.path) : "-", row.after);
    }
    for (const auto &e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".txt."), std::string::npos) << "temporary " << e.path();
}

// A file named on the command line is read into the field amplitude when it can be, and stays the current name
// (the caption keeps no title); Save Data then overwrites it at once. A FIFO is refused without waiting.
TEST_F(DataFileCommands, CommandLineFilesAreReadOrKeptAsTheNameToSave)
{
    fs::create_directory(dir + "/folder");
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    const std::string longTitle = std::string(300, 'y') + ".txt";  // a path over 259 bytes
    const struct { std::string file; const char *contents; std::string box, kept; bool saves; } rows[] = {
        // contents: null for no file; box: "" when it loads; kept: szFileName; saves: without asking
        {"input.txt", "reader", "", dir + "/input.txt", false},
        {"cl.txt", nullptr, "File cl.txt cannot be read!", dir + "/cl.txt", true},
        {"folder", nullptr, "File folder cannot be read!", dir + "/folder", false},
        {"pipe", nullptr, "File pipe cannot be read!", dir + "/pipe", false},
        {longTitle, nullptr, "File " + longTitle + " cannot be read!", "", false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file.substr(0, 10));
        const std::string path = dir + "/" + row.file;
        if (row.contents) write_file(path, std::string(row.contents) == "reader" ? reader_file() : row.contents);
        run_program([&] {
            EXPECT_EQ(message_texts(), row.box.empty() ? std::vector<std::string>{} : std::vector{row.box});
            const std::vector<TestMessageBox> &b = testing_message_boxes();
            EXPECT_TRUE(b.empty() || (b[0].caption == "Orvinta" && b[0].type == UINT(MB_ICONEXCLAMATION | MB_OK)));
            EXPECT_TRUE(!row.box.empty() || (r_output_is(true) && !HaveCurrentPSF && szTitleName == row.file));
            EXPECT_EQ(std::string(szFileName) + "|" + caption_of(mainhwnd), row.kept + "|" + kDefaultCaption);
            if (!row.saves) return;
            testing_filedlg_begin({testing_file_choice(dir + "/never-asked.txt")});
            testing_clear_records();
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            EXPECT_TRUE(testing_filedlg_requests().empty() && testing_message_boxes().empty()) << "no question";
        }, path);
        EXPECT_TRUE(!row.saves || fs::file_size(path) == 196736u);  // 128 x (128 x 12 + 1)
    }
}

// The open command: a whole reader file loads into the field amplitude only; anything else is
// refused, changes nothing and forgets the current file; a cancelled dialog changes nothing.
TEST_F(DataFileCommands, OpenLoadsAWholeReaderFileAndRefusesEverythingElse)
{
    const struct { const char *file, *contents; bool cancel; std::vector<std::string> boxes; } rows[] = {
        {"in.txt", "whole", false, {}}, {"bad.txt", "", false, {"Could not read the file bad.txt!"}},
        {"nothing.txt", nullptr, false,  // does not exist: asks, then fails
         {"nothing.txt\nThis file does not exist.\nDo you want to create it?", "Could not read the file nothing.txt!"}},
        {"in.txt", "whole", true, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.file) + (row.cancel ? " cancelled" : ""));
        const std::string path = dir + "/" + row.file;
        if (row.contents) write_file(path, *row.contents ? reader_file() : "");
        fs::remove(dir + "/first.txt");  // saved first in each run, without a question
        run_program([&] {
            testing_filedlg_begin({testing_file_choice(dir + "/first.txt")});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            for (int i = 1; i <= 128; i++)
                for (int j = 1; j <= 128; j++) r_output[i][j] = 7.0f;
            const float psf = m_output[65][65];
            testing_begin({IDYES});  // "create it?" yes
            testing_filedlg_begin({row.cancel ? testing_file_cancel() : testing_file_choice(path)});
            testing_send_command(mainhwnd, IDM_OPEN);
            const bool loads = row.boxes.empty() && !row.cancel;  // only r_output changes; nothing is written
            EXPECT_EQ(std::tuple(message_texts(), m_output[65][65], r_output_is(loads, 7.0f), testing_cursors().size()),
                      std::tuple(row.boxes, psf, true, 0u));
            const std::string title = loads ? row.file : row.cancel ? "first.txt" : "";
            EXPECT_EQ(szTitleName + "|"s + szFileName, title.empty() ? "|" : title + "|" + dir + "/" + title);
            EXPECT_EQ(caption_of(mainhwnd), "Orvinta - " + (title.empty() ? std::string(kDefaultCaption) : title));
            if (!title.empty()) return;
            testing_filedlg_begin({testing_file_cancel()});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            EXPECT_EQ(testing_filedlg_requests().size(), 1u) << "Save Data asks for a name again";
        });
    }
    EXPECT_FALSE(fs::exists(dir + "/nothing.txt")) << "the dialog only names it; nothing creates it";
}

// The batch job refuses a setting beyond its range with one message; any accepted one gives finite figures.
TEST_F(DataFileCommands, BatchSettingsAtAndBeyondTheirRangesGiveOneMessageOrFiniteFigures)
{
    const struct { const char *args, *message; double rms_low = 0, rms_high = 0; } rows[] = {
        // message: "" when accepted, and the run's wavesrms lies within the bounds; start-up 0.160.
        {"fnumber=1e-50", "F-number (fnumber) must be at least 0.001, not 1e-50."},
        {"fnumber=1e-320", "F-number (fnumber) must be at least 0.001, not 1e-320."},  // below a float
        {"fnumber=1e-400", "F-number (fnumber) must be at least 0.001, not 1e-400."},  // below a double
        {"fnumber=3.4e38", "F-number (fnumber) must be at most 1000000, not 3.4e38."},
        {"fnumber=3.5e38", "F-number (fnumber) must be at most 1000000, not 3.5e38."},  // above a float
        {"fnumber=1e999", "F-number (fnumber) must be at most 1000000, not 1e999."},
        {"pupildia=1e-50", "Pupil X-extent (pupildia) must be at least 1e-06, not 1e-50."},
        {"pupildia=3e38", "Pupil X-extent (pupildia) must be at most 1000000000, not 3e38."},
        {"PupilAspectRatio=1e-50", "Aspect ratio (y/x) (PupilAspectRatio) must be at least 1e-06, not 1e-50."},
        {"spherical=1e17", "Spherical (spherical) must be at most 1000000, not 1e17."},
        {"Zern37=-1000000.5", "Zernike coefficient Z37 (Zern37) must be at least -1000000, not -1000000.5."},
        {"PhasePlateSteps=-2147483649",
         "Phase plate edge (steps) (PhasePlateSteps) must be at least -2147483648, not -2147483649."},
        {"", "", 0.1595, 0.1605}, {"fnumber=0.001", "", 0.159, 0.161}, {"fnumber=1000000", "", 0.159, 0.161},
        // The RMS of rho^4 over the unit disc is sqrt(1/5 - 1/9) = 0.2981: a million waves give 298000.
        {"HasComa=0 HasZern26=0 HasSpherical=1 spherical=1000000", "", 2.9e5, 3.07e5},
        // Periods and plate edges beyond the grid leave the pupil whole: the start-up RMS stays.
        {"nCurrentPhasePattern=501 PhasePatternPeriod=2147483617", "", 0.159, 0.161},
        {"nCurrentPhasePattern=502 PhasePatternPeriod=2147483647", "", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=2147483584", "", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=-2147483648", "", 0.159, 0.161},
        {"wavelength=1e9 fnumber=1e6 pupilradius=2147483647 nCurrentPSFUnits=172", "", 0, 1},  // far corners together
        {"wavelength=0.001 fnumber=0.001 pupildia=1e-6 nCurrentPupUnits=135", "", 0.159, 0.161},
        {"HasZern37=1 Zern37=1e6 nCurrentPupilShape=138 PupilAspectRatio=1e6 pupilradius=1", "", 1e30, 1e36},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args);
        const Invocation r = run_orvinta(dir, std::string("--batch ") + row.args);
        if (*row.message) {
            EXPECT_EQ(std::tuple(r.status, r.err, r.out), std::tuple(2, "orvinta: "s + row.message + "\n", ""));
            continue;
        }
        EXPECT_EQ(r.status, 0) << r.err;
        const auto figures = lines_of(r.out);
        for (const auto &[name, value] : figures)  // every figure but the notes and the peak is finite
            EXPECT_TRUE(name.starts_with("note") || name == "peak" || std::isfinite(std::atof(value.c_str()))) << name;
        const double rms = number(figures, "wavesrms");
        EXPECT_TRUE(rms >= row.rms_low && rms <= row.rms_high && number(figures, "psf_graph_extent") > 0) << rms;
    }
    // Standard output to a file and the array named by a link to descriptor 1: the figures, then the 128 lines.
    fs::create_symlink("/dev/fd/1", dir + "/stdout-link");
    const std::string text = run_orvinta(dir, "--batch --out stdout-link").out;
    EXPECT_EQ(text.rfind("wavesrms: ", 0), 0u) << text.substr(0, 40);
    EXPECT_EQ(text.size() - (text.find("\n", text.find("max_phase_step: ")) + 1), 128u * (128 * 12 + 1));
}

}  // namespace
