// Saving data files through the running program: the bytes written for each array choice,
// replacing a file, and the failures the user is told about. Expected file texts are built
// here by a small fixed-point formatter of exact values, not by the program's writer.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "optics/settings.h"
#include "platform/app.h"
#include "platform/filedlg.h"
#include "platform/testing.h"
#include "platform/testing_filedlg.h"
#include "shell/entry.h"
#include "shell/globals.h"
#include "shell/wndproc.h"
#include "tests/shell/program_harness.h"

namespace fs = std::filesystem;

namespace {


std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A value given in millionths as "%12.6f" writes it: fixed point, six decimals, a minus sign
// when negative, right-justified in 12 characters or wider when it needs more.
std::string fixed6(long long millionths)
{
    const bool negative = millionths < 0;
    const unsigned long long m = negative ? -millionths : millionths;
    std::string fraction = std::to_string(m % 1000000);
    fraction.insert(0, 6 - fraction.size(), '0');
    std::string text = (negative ? "-" : "") + std::to_string(m / 1000000) + "." + fraction;
    if (text.size() < 12) text.insert(0, 12 - text.size(), ' ');
    return text;
}

// A test pattern that tells arrays, rows and columns apart: k * 200 + i + j / 64, negative
// on odd rows. Every value is exact in a float and has an exact six-decimal text
// (j / 64 = j * 15625 millionths).
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

// Lines in fixed columns; a line where a value fills its 12 characters after the first
// column, or overflows them anywhere, has its values set apart by one blank instead.
std::string expected_file(const std::function<long long(int, int)> &millionths)
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        std::string fixed, spaced;
        bool fits = true;
        for (int j = 1; j <= 128; j++) {
            const std::string value = fixed6(millionths(i, j));
            fits = fits && value.size() <= 12 && (j == 1 || value[0] == ' ');
            fixed += value;
            if (j > 1) spaced += ' ';
            spaced.append(value, value.find_first_not_of(' '));
        }
        text += (fits ? fixed : spaced) + '\n';
    }
    return text;
}

using DataFileWrite = TempFolderTest;

TEST_F(DataFileWrite, StartUpSaveDataAsWritesTheZeroPsfWithTheDataSaveCursor)
{
    const std::string path = dir + "/psf1.txt";
    run_program([&] {
        testing_filedlg_begin({testing_file_choice(dir + "/psf1")});
        testing_clear_records();
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        const std::vector<std::string> cursors = {"DataSaveCursor", "IDC_ARROW"};
        EXPECT_EQ(testing_cursors(), cursors);
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_EQ(caption_of(mainhwnd), "Orvinta - psf1.txt");
    });
    const std::string written = read_file(path);
    EXPECT_EQ(written.size(), 196736u);  // 128 x (128 x 12 + 1)
    EXPECT_EQ(written.substr(0, 24), "    0.000000    0.000000");
    EXPECT_TRUE(written == expected_file([](int, int) { return 0LL; })) << "first bytes: " << written.substr(0, 40);
}

TEST_F(DataFileWrite, TheDataSavingChoiceDecidesWhichArrayIsWrittenRowByRow)
{
    struct Row {
        int choice;
        int pattern;  // k of the array expected in the file; -1: an empty file
    } rows[] = {
        {SAVE_TRANSMISSION, 0},  // "Pupil Transmission": r_input
        {SAVE_PHASE, 1},         // "Pupil Phase": phase_input
        {SAVE_PSF, 2},           // "PSF Modulus": m_output
        {539, -1},
        {543, -1},
    };
    run_program([&] {
        fill(r_input, 0);
        fill(phase_input, 1);
        fill(m_output, 2);
        for (const Row &row : rows) {
            nCurrentDataSave = row.choice;
            const std::string name = "choice" + std::to_string(row.choice) + ".txt";
            testing_filedlg_begin({testing_file_choice(dir + "/" + name)});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS)) << row.choice;
            const std::string written = read_file(dir + "/" + name);
            ASSERT_TRUE(fs::exists(dir + "/" + name)) << row.choice;
            if (row.pattern < 0) {
                EXPECT_EQ(written.size(), 0u) << row.choice;
                continue;
            }
            const std::string expected =
                expected_file([&](int i, int j) { return pattern_millionths(row.pattern, i, j); });
            ASSERT_EQ(written.size(), expected.size()) << row.choice;
            for (int i = 0; i < 128; i++) {
                const std::size_t at = i * (128 * 12 + 1);
                ASSERT_EQ(written.substr(at, 128 * 12 + 1), expected.substr(at, 128 * 12 + 1))
                    << "choice " << row.choice << " line " << i + 1;
            }
        }
    });
}

TEST_F(DataFileWrite, LinesWithWideValuesSetEveryValueApartByOneBlank)
{
    struct Wide {
        int i, j;
        long long millionths;
        const char *text;
    } wide[] = {
        {1, 1, 123456500000LL, "123456.500000"},   // 100000 or more: 13 characters
        {2, 5, -12345250000LL, "-12345.250000"},   // -10000 or less: 13 characters
        {3, 128, 99999500000LL, "99999.500000"},   // just fits 12
        {4, 1, -9999500000LL, "-9999.500000"},     // just fits 12
    };
    auto millionths = [&](int i, int j) {
        for (const Wide &w : wide)
            if (w.i == i && w.j == j) return w.millionths;
        return pattern_millionths(0, i, j);
    };
    run_program([&] {
        nCurrentDataSave = SAVE_TRANSMISSION;
        fill(r_input, 0);
        for (const Wide &w : wide) r_input[w.i][w.j] = static_cast<float>(w.millionths / 1e6);
        testing_filedlg_begin({testing_file_choice(dir + "/wide.txt")});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
    });
    const std::string written = read_file(dir + "/wide.txt");
    EXPECT_TRUE(written == expected_file(millionths));
    for (const Wide &w : wide) EXPECT_EQ(fixed6(w.millionths), w.text) << w.text;  // the formatter itself
    EXPECT_EQ(written.substr(0, 25), "123456.500000 -1.031250 -");
    const std::size_t line4 = written.find("\n-9999.500000");  // 12 characters in the first column fit
    ASSERT_NE(line4, std::string::npos);
    EXPECT_EQ(written.substr(line4 + 1, 24), "-9999.500000" + fixed6(pattern_millionths(0, 4, 2)));
}

TEST_F(DataFileWrite, SavingTwiceToOneNameReplacesTheFileWithTheSameLength)
{
    const std::string path = dir + "/twice.txt";
    run_program([&] {
        nCurrentDataSave = SAVE_TRANSMISSION;
        fill(r_input, 0);
        testing_filedlg_begin({testing_file_choice(path)});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        const std::string first = read_file(path);

        // Save Data to the current name: no dialog, no question.
        fill(r_input, 1);
        testing_clear_records();
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        EXPECT_EQ(testing_filedlg_requests().size(), 1u);
        EXPECT_TRUE(testing_message_boxes().empty());
        const std::string second = read_file(path);
        EXPECT_EQ(second.size(), first.size());
        EXPECT_TRUE(second == expected_file([](int i, int j) { return pattern_millionths(1, i, j); }));

        // Save Data As to the same name asks first; yes replaces.
        fill(r_input, 0);
        testing_begin({IDYES});
        testing_filedlg_begin({testing_file_choice(path)});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        ASSERT_EQ(testing_message_boxes().size(), 1u);
        EXPECT_EQ(testing_message_boxes()[0].text, "twice.txt already exists.\nDo you want to replace it?");
        EXPECT_TRUE(read_file(path) == first);
        int entries = 0;
        for (const auto &e : fs::directory_iterator(dir)) entries += e.is_regular_file();
        EXPECT_EQ(entries, 1);  // no temporary file left beside it
    });
}

TEST_F(DataFileWrite, SaveDataThroughALinkReplacesTheFileItPointsTo)
{
    fs::create_directory(dir + "/real");
    std::ofstream(dir + "/real/target.txt") << "old\n";
    fs::create_symlink(dir + "/real/target.txt", dir + "/link.txt");
    run_program(
        [&] {
            testing_clear_records();
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
            EXPECT_TRUE(testing_message_boxes().empty());
        },
        dir + "/link.txt");
    EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
    EXPECT_EQ(read_file(dir + "/real/target.txt").size(), 196736u);
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

TEST_F(DataFileWrite, FailuresAreReportedAndNeverDestroyTheOldFile)
{
    fs::create_directory(dir + "/folder.txt");
    std::ofstream(dir + "/old.txt") << "the previous data\n";
    struct Row {
        const char *name;
        std::string path;
        bool limitSize;      // the disk "fills up" after the file was opened
        const char *caption;
        const char *text;    // start of the box text
        const char *after;   // file contents afterwards; null: no file
    } rows[] = {
        {"folder missing", dir + "/none/psf.txt", false, "File Open failed", "File Open failed", nullptr},
        {"a folder by that name", dir + "/folder.txt", false, "File Open failed", "File Open failed", nullptr},
        {"write fails, old file", dir + "/old.txt", true, "File Write failed",
         "The data file could not be written:\ncannot write", "the previous data\n"},
        {"write fails, new file", dir + "/new.txt", true, "File Write failed",
         "The data file could not be written:\ncannot write", nullptr},
    };
    for (const Row &row : rows) {
        run_program(
            [&] {
                testing_clear_records();
                {
                    FileSizeLimit limit(row.limitSize ? 100000 : RLIM_INFINITY);
                    ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE)) << row.name;
                }
                ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
                const TestMessageBox &box = testing_message_boxes()[0];
                EXPECT_EQ(box.caption, row.caption) << row.name;
                EXPECT_EQ(box.text.rfind(row.text, 0), 0u) << row.name << ": " << box.text;
                EXPECT_EQ(box.owner, mainhwnd) << row.name;
                if (row.limitSize) {
                    EXPECT_NE(box.text.find(std::strerror(EFBIG)), std::string::npos) << row.name;
                } else {
                    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK)) << row.name;
                    EXPECT_EQ(box.text, "File Open failed") << row.name;
                }
                // The name stays current, the cursor is the arrow again.
                EXPECT_EQ(std::string(szFileName), row.path) << row.name;
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption) << row.name;
                ASSERT_FALSE(testing_cursors().empty()) << row.name;
                EXPECT_EQ(testing_cursors().back(), "IDC_ARROW") << row.name;
            },
            row.path);
        if (row.after) {
            EXPECT_EQ(read_file(row.path), row.after) << row.name;
        } else if (!fs::is_directory(row.path)) {
            EXPECT_FALSE(fs::exists(row.path)) << row.name;
        }
    }
    int temporaries = 0;
    for (const auto &e : fs::directory_iterator(dir)) temporaries += e.path().filename().string().find(".txt.") != std::string::npos;
    EXPECT_EQ(temporaries, 0);
}

}  // namespace
