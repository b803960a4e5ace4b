// The data file commands as a user meets them: Save Data, Save Data As, the open command and a
// file named on the command line. Reader files: 128 records of 128 nine-byte fields and a line
// end. The writer's bytes come from a small fixed-point formatter of exact values.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/filedlg.h"
#include "tests/shell/program_harness.h"

namespace {

const char kCaptionWithoutTitle[] = "Orvinta - Orvinta: Diffraction Point Spread Function of Wavefront";

void write_file(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

// A value in units of 1/`scale`, written with `decimals` decimals right-justified in `width`
// characters (wider when it needs more): "%12.6f" and "%9.4f" by hand.
std::string fixed(long long units, long long scale, int decimals, std::size_t width)
{
    const unsigned long long m = units < 0 ? -units : units;
    std::string fraction = std::to_string(m % scale);
    fraction.insert(0, decimals - fraction.size(), '0');
    std::string text = units < 0 ? "-" : "";
    text.append(std::to_string(m / scale)).append(".").append(fraction);
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// The writer's layout: fixed columns, except that a line where a value fills its 12
// characters after the first column, or overflows them anywhere, has its values set apart by
// one blank, so that no value runs into its neighbour.
std::string written_file(const std::function<std::string(int, int)> &field)
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        std::string columns, spaced;
        bool fits = true;
        for (int j = 1; j <= 128; j++) {
            const std::string value = field(i, j);
            fits = fits && value.size() <= 12 && (j == 1 || value[0] == ' ');
            columns += value;
            if (j > 1) spaced += ' ';
            spaced.append(value, value.find_first_not_of(' '));
        }
        text += (fits ? columns : spaced) + '\n';
    }
    return text;
}

// The reader's test file: +-(i + j / 16), negative where i + j is odd, exact in a float and
// in four decimals (j / 16 = 625 j ten-thousandths).
float reader_value(int i, int j) { return ((i + j) % 2 ? -1.0f : 1.0f) * (i + j / 16.0f); }
std::string reader_file()
{
    std::string text;
    for (int i = 1; i <= 128; i++, text += '\n')
        for (int j = 1; j <= 128; j++) text += fixed(((i + j) % 2 ? -1 : 1) * (i * 10000LL + j * 625LL), 10000, 4, 9);
    return text;
}

// A pattern that tells arrays, rows and columns apart: k * 200 + i + j / 64, negative on odd
// rows, exact in a float and in six decimals (j / 64 = 15625 j millionths).
long long pattern_millionths(int k, int i, int j)
{
    const long long m = (k * 200LL + i) * 1000000 + j * 15625LL;
    return i % 2 ? -m : m;
}

void fill(float **array, int k)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) array[i][j] = static_cast<float>(pattern_millionths(k, i, j) / 1e6);
}

bool r_output_is(const std::function<float(int, int)> &expected)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++)
            if (r_output[i][j] != expected(i, j)) return false;
    return true;
}

using DataFileCommands = TempFolderTest;

TEST_F(DataFileCommands, SaveDataWithoutANameAsksForOneWritesTheZeroPsfAndOffersItNextTime)
{
    run_program([&] {
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        testing_filedlg_begin({testing_file_choice(dir + "/psf1")});
        testing_clear_records();
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[0];
        EXPECT_TRUE(r.save);
        EXPECT_EQ(r.title, "Save As");
        EXPECT_EQ(r.owner, mainhwnd);
        EXPECT_EQ(r.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
        EXPECT_EQ(r.defaultExtension, "txt");
        EXPECT_EQ(r.initialName, "");
        EXPECT_EQ(r.filterShown, 1);
        std::string filters;
        for (const auto &f : r.filters) filters += f.description + "|" + f.patterns + "|";
        EXPECT_EQ(filters, "Text Files (*.TXT)|*.txt|ASCII Files (*.ASC)|*.asc|All Files (*.*)|*.*|"
                           "FFT Files (*.FFT)|*.FFT|");
        EXPECT_EQ(testing_cursors(), std::vector<std::string>({"DataSaveCursor", "IDC_ARROW"}));
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_EQ(std::string(szFileName), dir + "/psf1.txt");
        EXPECT_STREQ(szTitleName, "psf1.txt");
        EXPECT_EQ(caption_of(mainhwnd), "Orvinta - psf1.txt");
        // 128 lines of 128 "%12.6f" fields: the PSF is all zero before it is computed.
        EXPECT_TRUE(slurp(dir + "/psf1.txt") == written_file([](int, int) { return fixed(0, 1000000, 6, 12); }));
        // Now the name is current: Save Data writes without a dialog; the next dialog offers it.
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        EXPECT_EQ(testing_filedlg_requests().size(), 1u);
        testing_filedlg_begin({testing_file_cancel()});
        testing_send_command(mainhwnd, IDM_OPEN);
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        EXPECT_FALSE(testing_filedlg_requests()[0].save);
        EXPECT_EQ(testing_filedlg_requests()[0].flags, static_cast<DWORD>(OFN_CREATEPROMPT));
        EXPECT_EQ(testing_filedlg_requests()[0].initialName, dir + "/psf1.txt");
    });
}

// Array k of the pattern in the chosen array; a line with a value that fills or overflows its
// field has its values set apart by blanks.
TEST_F(DataFileCommands, TheDataSavingChoiceDecidesWhichArrayIsWrittenRowByRow)
{
    const struct { int i, j; long long millionths; } wide[] = {
        {1, 1, 123456500000LL},  // 100000 or more: 13 characters
        {2, 5, -12345250000LL},  // -10000 or less: 13 characters
        {3, 128, 99999500000LL}, // fills 12 and touches its neighbour
        {4, 1, -9999500000LL},   // fills 12 in the first column: the line keeps its columns
    };
    const struct { int choice, pattern; } rows[] = {  // pattern -1: an empty file
        {SAVE_TRANSMISSION, 0}, {SAVE_PHASE, 1}, {SAVE_PSF, 2}, {539, -1}, {543, -1}};
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
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            ASSERT_TRUE(fs::exists(path));
            const std::string written = slurp(path), expected = row.pattern < 0 ? "" : written_file([&](int i, int j) {
                for (const auto &w : wide)
                    if (row.pattern == 0 && w.i == i && w.j == j) return fixed(w.millionths, 1000000, 6, 12);
                return fixed(pattern_millionths(row.pattern, i, j), 1000000, 6, 12);
            });
            std::istringstream got(written), want(expected);
            std::string got_line, want_line;
            for (int line = 1; std::getline(want, want_line); line++) {
                ASSERT_TRUE(std::getline(got, got_line)) << "line " << line;
                ASSERT_EQ(got_line, want_line) << "line " << line;
            }
            EXPECT_EQ(written.size(), expected.size());
        }
    });
}

TEST_F(DataFileCommands, SavingTwiceReplacesTheFileAndALinkedFileIsWrittenThroughTheLink)
{
    const std::string path = dir + "/twice.txt";
    run_program([&] {
        nCurrentDataSave = SAVE_TRANSMISSION;
        fill(r_input, 0);
        testing_filedlg_begin({testing_file_choice(path)});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        const std::string first = slurp(path);
        // Save Data to the current name: no dialog, no question.
        fill(r_input, 1);
        testing_clear_records();
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        EXPECT_EQ(testing_filedlg_requests().size(), 1u);
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_TRUE(slurp(path) ==
                    written_file([](int i, int j) { return fixed(pattern_millionths(1, i, j), 1000000, 6, 12); }));
        // Save Data As to the same name asks first; yes replaces.
        fill(r_input, 0);
        testing_begin({IDYES});
        testing_filedlg_begin({testing_file_choice(path)});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        EXPECT_EQ(message_texts(), std::vector<std::string>{"twice.txt already exists.\nDo you want to replace it?"});
        EXPECT_TRUE(slurp(path) == first);
    });
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1) << "no temporary left";
    fs::create_directory(dir + "/real");
    write_file(dir + "/real/target.txt", "old\n");
    fs::create_symlink(dir + "/real/target.txt", dir + "/link.txt");
    run_program([&] { ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE)); }, dir + "/link.txt");
    EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
    EXPECT_EQ(slurp(dir + "/real/target.txt").size(), 196736u);  // 128 x (128 x 12 + 1)
}

// Lowers the largest file this process may write, and restores it.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lower = saved;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST_F(DataFileCommands, WriteFailuresAreReportedAndNeverDestroyTheOldFile)
{
    fs::create_directory(dir + "/folder.txt");
    write_file(dir + "/old.txt", "the previous data\n");
    const std::string cannotWrite = std::string("The data file could not be written:\ncannot write");
    const struct {
        const char *name;
        std::string path;
        bool limitSize;  // the disk "fills up" after the file was opened
        const char *caption;
        std::string text;      // the box text, or its start when the disk fills up
        const char *after;     // file contents afterwards; null: no file
    } rows[] = {
        {"folder missing", dir + "/none/psf.txt", false, "File Open failed", "File Open failed", nullptr},
        {"a folder by that name", dir + "/folder.txt", false, "File Open failed", "File Open failed", nullptr},
        {"write fails, old file", dir + "/old.txt", true, "File Write failed", cannotWrite, "the previous data\n"},
        {"write fails, new file", dir + "/new.txt", true, "File Write failed", cannotWrite, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        run_program(
            [&] {
                testing_clear_records();
                {
                    FileSizeLimit limit(row.limitSize ? 100000 : RLIM_INFINITY);
                    ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
                }
                ASSERT_EQ(testing_message_boxes().size(), 1u);
                const TestMessageBox &box = testing_message_boxes()[0];
                EXPECT_EQ(box.caption, row.caption);
                EXPECT_EQ(box.owner, mainhwnd);
                if (row.limitSize) {
                    EXPECT_EQ(box.text.rfind(row.text, 0), 0u) << box.text;
                    EXPECT_NE(box.text.find(std::strerror(EFBIG)), std::string::npos) << box.text;
                } else {
                    EXPECT_EQ(box.text, row.text);
                    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
                }
                // The name stays current, the cursor is the arrow again.
                EXPECT_EQ(std::string(szFileName), row.path);
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
                ASSERT_FALSE(testing_cursors().empty());
                EXPECT_EQ(testing_cursors().back(), "IDC_ARROW");
            },
            row.path);
        EXPECT_TRUE(row.after ? slurp(row.path) == row.after : fs::is_directory(row.path) || !fs::exists(row.path))
            << slurp(row.path);
    }
    for (const auto &e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".txt."), std::string::npos) << "temporary " << e.path();
}

// A file named on the command line is read into the field amplitude when it can be, and stays
// the current name either way (the caption keeps no title); Save Data then overwrites it at once.
TEST_F(DataFileCommands, CommandLineFilesAreReadOrKeptAsTheNameToSave)
{
    fs::create_directory(dir + "/folder");
    const std::string longTitle = std::string(300, 'y') + ".txt";  // a path over 259 bytes
    const struct {
        const char *name;
        std::string file;
        const char *contents;  // null: no file
        std::string box;       // "" when it loads
        std::string kept;      // szFileName afterwards
        bool saves;            // Save Data writes it without asking
    } rows[] = {
        {"reader file", "input.txt", "reader", "", dir + "/input.txt", false},
        {"file does not exist yet", "cl.txt", nullptr, "File cl.txt cannot be read!", dir + "/cl.txt", true},
        {"file of another layout", "cl.dat", "12 34\n", "File cl.dat cannot be read!", dir + "/cl.dat", true},
        {"a folder", "folder", nullptr, "File folder cannot be read!", dir + "/folder", false},
        {"path too long to hold", longTitle, nullptr, "File " + longTitle + " cannot be read!", "", false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir + "/" + row.file;
        if (row.contents) write_file(path, std::string(row.contents) == "reader" ? reader_file() : row.contents);
        run_program(
            [&] {
                if (row.box.empty()) {
                    EXPECT_TRUE(testing_message_boxes().empty());
                    EXPECT_TRUE(r_output_is(reader_value));
                    EXPECT_EQ(HaveCurrentPSF, 0);
                } else {
                    ASSERT_EQ(testing_message_boxes().size(), 1u);
                    const TestMessageBox &box = testing_message_boxes()[0];
                    EXPECT_EQ(box.text, row.box);
                    EXPECT_EQ(box.caption, "Orvinta");
                    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
                }
                EXPECT_EQ(std::string(szFileName), row.kept);
                EXPECT_TRUE(!row.box.empty() || szTitleName == row.file) << szTitleName;
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
                if (!row.saves) return;
                testing_filedlg_begin({testing_file_choice(dir + "/never-asked.txt")});
                testing_clear_records();
                ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
                EXPECT_TRUE(testing_filedlg_requests().empty());
                EXPECT_TRUE(testing_message_boxes().empty()) << "no replace question";
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
            },
            path);
        EXPECT_TRUE(!row.saves || fs::file_size(path) == 196736u);
        EXPECT_FALSE(fs::exists(dir + "/never-asked.txt"));
    }
}

// The open command: a whole reader file loads into the field amplitude only; anything else is
// refused, changes nothing and forgets the current file; a cancelled dialog changes nothing.
TEST_F(DataFileCommands, OpenLoadsAWholeReaderFileAndRefusesEverythingElse)
{
    const std::string whole = reader_file();
    const std::string missing = "nothing.txt\nThis file does not exist.\nDo you want to create it?";
    const struct {
        const char *name;
        const char *file;
        const char *contents;  // null: no file; "" an empty one
        bool cancel;
        std::vector<std::string> boxes;
    } rows[] = {
        {"a whole reader file", "in.txt", "whole", false, {}},
        {"empty", "bad.txt", "", false, {"Could not read the file bad.txt!"}},
        {"127 records", "bad.txt", "127", false, {"Could not read the file bad.txt!"}},
        {"one record too many", "bad.txt", "129", false, {"Could not read the file bad.txt!"}},
        {"does not exist: asks, then fails", "nothing.txt", nullptr, false,
         {missing, "Could not read the file nothing.txt!"}},
        {"cancelled", "in.txt", "whole", true, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir + "/" + row.file;
        fs::remove(path);
        fs::remove(dir + "/first.txt");  // saved first in each run, without a question
        if (row.contents) {
            const std::string c = row.contents;
            write_file(path, c == "whole" ? whole : c == "127" ? whole.substr(0, 127 * 1153)
                                                  : c == "129" ? whole + whole.substr(0, 1153) : c);
        }
        run_program([&] {
            testing_filedlg_begin({testing_file_choice(dir + "/first.txt")});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            for (int i = 1; i <= 128; i++)
                for (int j = 1; j <= 128; j++) r_output[i][j] = 7.0f;
            const float psf = m_output[65][65];
            testing_begin({IDYES});  // "create it?" yes
            testing_filedlg_begin({row.cancel ? testing_file_cancel() : testing_file_choice(path)});
            testing_send_command(mainhwnd, IDM_OPEN);
            EXPECT_EQ(message_texts(), row.boxes);
            EXPECT_EQ(m_output[65][65], psf) << "only r_output changes";
            const bool loads = row.boxes.empty() && !row.cancel;
            EXPECT_TRUE(loads ? r_output_is(reader_value) : r_output_is([](int, int) { return 7.0f; }));
            EXPECT_TRUE(testing_cursors().empty()) << "nothing was written";
            const std::string title = loads ? row.file : row.cancel ? "first.txt" : "";
            EXPECT_STREQ(szTitleName, title.c_str());
            EXPECT_EQ(std::string(szFileName), title.empty() ? "" : dir + "/" + title);
            EXPECT_EQ(caption_of(mainhwnd), title.empty() ? kCaptionWithoutTitle : "Orvinta - " + title);
            if (!title.empty()) return;
            testing_filedlg_begin({testing_file_cancel()});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            EXPECT_EQ(testing_filedlg_requests().size(), 1u) << "Save Data asks for a name again";
        });
    }
    EXPECT_FALSE(fs::exists(dir + "/nothing.txt")) << "the dialog only names it; nothing creates it";
    // Cancelling Save Data As before any file leaves even the caption alone.
    run_program([&] {
        testing_filedlg_begin({testing_file_cancel()});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        EXPECT_STREQ(szFileName, "");
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
    });
}

}  // namespace
