// The data file commands of the main window as a user meets them: Save Data, Save Data As,
// the open command and a file named on the command line, with the reader behind them.
// Reader files are written here, field by field, in the reader's layout: 127 fields of 9
// bytes and a last one of 10 (nine characters and the line end) per record, 128 records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

const char kCaptionWithoutTitle[] = "Orvinta - Orvinta: Diffraction Point Spread Function of Wavefront";

// Value (i, j) of the test file: +-(i + j / 16), negative where i + j is odd; exact in a
// float, and exactly four decimals in the text.
float reader_value(int i, int j)
{
    const float v = static_cast<float>(i) + static_cast<float>(j) / 16.0f;
    return (i + j) % 2 ? -v : v;
}

// "%9.4f" by hand: the value in ten-thousandths, right-justified in nine characters.
std::string field9(int i, int j)
{
    const long long t = i * 10000LL + j * 625LL;
    std::string fraction = std::to_string(t % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    std::string text = (i + j) % 2 ? "-" : "";
    text.append(std::to_string(t / 10000)).append(".").append(fraction);
    text.insert(0, 9 - text.size(), ' ');
    return text;
}

std::string reader_file()
{
    std::string text;
    for (int i = 1; i <= 128; i++) {
        for (int j = 1; j <= 128; j++) text += field9(i, j);
        text += '\n';
    }
    return text;
}

void write_file(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

void fill_output(float value)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) r_output[i][j] = value;
}

// The first element of r_output that differs from `expected`, or "" when all match.
std::string first_difference(const std::function<float(int, int)> &expected)
{
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++)
            if (r_output[i][j] != expected(i, j))
                return "r_output[" + std::to_string(i) + "][" + std::to_string(j) + "] = " +
                       std::to_string(r_output[i][j]) + ", expected " + std::to_string(expected(i, j));
    return "";
}

using DataFileCommands = TempFolderTest;

TEST_F(DataFileCommands, SaveDataWithoutANameOpensTheSaveDialog)
{
    run_program([&] {
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        testing_filedlg_begin({testing_file_choice(dir + "/psf1")});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE));
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        const TestFileDialogRequest &r = testing_filedlg_requests()[0];
        EXPECT_TRUE(r.save);
        EXPECT_EQ(r.owner, mainhwnd);
        EXPECT_EQ(r.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
        EXPECT_EQ(r.defaultExtension, "txt");
        EXPECT_EQ(r.initialName, "");
        EXPECT_EQ(r.filterShown, 1);
        const char *filters[][2] = {{"Text Files (*.TXT)", "*.txt"},
                                    {"ASCII Files (*.ASC)", "*.asc"},
                                    {"All Files (*.*)", "*.*"},
                                    {"FFT Files (*.FFT)", "*.FFT"}};
        ASSERT_EQ(r.filters.size(), 4u);
        for (int k = 0; k < 4; k++) {
            EXPECT_EQ(r.filters[k].description, filters[k][0]) << "filter " << k + 1;
            EXPECT_EQ(r.filters[k].patterns, filters[k][1]) << "filter " << k + 1;
        }
        EXPECT_EQ(std::string(szFileName), dir + "/psf1.txt");
        EXPECT_STREQ(szTitleName, "psf1.txt");
        EXPECT_EQ(caption_of(mainhwnd), "Orvinta - psf1.txt");
        EXPECT_EQ(fs::file_size(dir + "/psf1.txt"), 196736u);

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

TEST_F(DataFileCommands, CommandLineFileIsOverwrittenAtOnceAndTheCaptionStays)
{
    struct Row {
        const char *name;
        const char *file;
        const char *before;  // null: no file yet
    } rows[] = {
        {"file does not exist yet", "cl.txt", nullptr},
        {"file of another layout", "cl.dat", "12 34\n"},
    };
    for (const Row &row : rows) {
        const std::string path = dir + "/" + row.file;
        if (row.before) write_file(path, row.before);
        run_program(
            [&] {
                ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
                EXPECT_EQ(testing_message_boxes()[0].text, std::string("File ") + row.file + " cannot be read!");
                EXPECT_EQ(std::string(szFileName), path) << row.name;
                testing_filedlg_begin({testing_file_choice(dir + "/never-asked.txt")});
                testing_clear_records();
                ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE)) << row.name;
                EXPECT_TRUE(testing_filedlg_requests().empty()) << row.name;
                EXPECT_TRUE(testing_message_boxes().empty()) << row.name;  // no replace question
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption) << row.name;
            },
            path);
        EXPECT_EQ(fs::file_size(path), 196736u) << row.name;
        EXPECT_FALSE(fs::exists(dir + "/never-asked.txt")) << row.name;
    }
}

TEST_F(DataFileCommands, CommandLineReaderFileLoadsIntoFieldAmplitude)
{
    const std::string path = dir + "/input.txt";
    write_file(path, reader_file());
    run_program(
        [&] {
            EXPECT_TRUE(testing_message_boxes().empty());
            EXPECT_EQ(first_difference(reader_value), "");
            EXPECT_EQ(std::string(szFileName), path);
            EXPECT_STREQ(szTitleName, "input.txt");
            EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
            EXPECT_EQ(HaveCurrentPSF, 0);
        },
        path);
}

TEST_F(DataFileCommands, CommandLinePathsThatCannotBeReadKeepTheirName)
{
    fs::create_directory(dir + "/folder");
    const std::string longPath = dir + "/" + std::string(300, 'y') + ".txt";  // over 259 bytes
    struct Row {
        const char *name;
        std::string path;
        const char *message;
        std::string kept;  // szFileName afterwards
    } rows[] = {
        {"missing file", dir + "/missing.txt", "File missing.txt cannot be read!", dir + "/missing.txt"},
        {"a folder", dir + "/folder", "File folder cannot be read!", dir + "/folder"},
        {"path too long to hold", longPath, "File Orvinta: Diffraction Point Spread Function of Wavefront cannot be read!", ""},
    };
    for (const Row &row : rows) {
        // The title of the long path (305 bytes) fits the 512-byte title buffer.
        const std::string message = row.path == longPath
                                        ? "File " + std::string(300, 'y') + ".txt cannot be read!"
                                        : std::string(row.message);
        run_program(
            [&] {
                ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
                const TestMessageBox &box = testing_message_boxes()[0];
                EXPECT_EQ(box.text, message) << row.name;
                EXPECT_EQ(box.caption, "Orvinta") << row.name;
                EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK)) << row.name;
                EXPECT_EQ(std::string(szFileName), row.kept) << row.name;
                EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption) << row.name;
            },
            row.path);
    }
}

TEST_F(DataFileCommands, AnOpenedReaderFileLoadsIntoFieldAmplitudeOnly)
{
    const std::string path = dir + "/in.txt";
    write_file(path, reader_file());
    run_program([&] {
        fill_output(7.0f);
        const float psf = m_output[65][65];
        testing_filedlg_begin({testing_file_choice(path)});
        testing_send_command(mainhwnd, IDM_OPEN);
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_EQ(first_difference(reader_value), "");
        EXPECT_EQ(std::string(szFileName), path);
        EXPECT_STREQ(szTitleName, "in.txt");
        EXPECT_EQ(caption_of(mainhwnd), "Orvinta - in.txt");
        EXPECT_EQ(m_output[65][65], psf);  // only r_output changes
    });
}

TEST_F(DataFileCommands, FilesThatAreNotWholeAreRefusedAndChangeNothing)
{
    // The byte-level cases (cut fields, stray bytes, the writer's layout) are the reader's
    // own tests; here a short, a long and an empty file meet the command.
    const std::string whole = reader_file();
    struct Row {
        const char *name;
        std::string text;
    } rows[] = {
        {"empty", ""},
        {"127 records", whole.substr(0, 127 * 1153)},
        {"one record too many", whole + whole.substr(0, 1153)},
    };
    for (const Row &row : rows) {
        const std::string path = dir + "/bad.txt";
        write_file(path, row.text);
        run_program([&] {
            testing_filedlg_begin({testing_file_choice(dir + "/first.txt")});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
            fill_output(7.0f);
            testing_clear_records();
            testing_filedlg_begin({testing_file_choice(path)});
            testing_send_command(mainhwnd, IDM_OPEN);
            ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(box.text, "Could not read the file bad.txt!") << row.name;
            EXPECT_EQ(box.caption, "Orvinta") << row.name;
            EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK)) << row.name;
            EXPECT_EQ(first_difference([](int, int) { return 7.0f; }), "") << row.name;
            // The failed open forgets the current file.
            EXPECT_STREQ(szFileName, "") << row.name;
            EXPECT_STREQ(szTitleName, "") << row.name;
            EXPECT_EQ(caption_of(mainhwnd), kCaptionWithoutTitle) << row.name;
            testing_filedlg_begin({testing_file_cancel()});
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVE)) << row.name;
            EXPECT_EQ(testing_filedlg_requests().size(), 1u) << row.name << ": Save Data asks for a name again";
        });
    }
}

TEST_F(DataFileCommands, OpeningAFileThatDoesNotExistAsksThenFails)
{
    const std::string path = dir + "/nothing.txt";
    run_program([&] {
        fill_output(7.0f);
        testing_begin({IDYES});  // "create it?" yes
        testing_filedlg_begin({testing_file_choice(path)});
        testing_send_command(mainhwnd, IDM_OPEN);
        ASSERT_EQ(testing_message_boxes().size(), 2u);
        EXPECT_EQ(testing_message_boxes()[0].text, "nothing.txt\nThis file does not exist.\nDo you want to create it?");
        EXPECT_EQ(testing_message_boxes()[1].text, "Could not read the file nothing.txt!");
        EXPECT_EQ(first_difference([](int, int) { return 7.0f; }), "");
        EXPECT_STREQ(szFileName, "");
        EXPECT_EQ(caption_of(mainhwnd), kCaptionWithoutTitle);
    });
    EXPECT_FALSE(fs::exists(path));  // the dialog only names it; nothing creates it
}

TEST_F(DataFileCommands, CancellingChangesNothing)
{
    run_program([&] {
        // Before any file: cancelling Save Data As leaves even the caption alone.
        testing_filedlg_begin({testing_file_cancel()});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        EXPECT_STREQ(szFileName, "");
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);

        testing_filedlg_begin({testing_file_choice(dir + "/kept.txt")});
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_SAVEAS));
        fill_output(7.0f);
        struct Row {
            const char *name;
            UINT command;
        } rows[] = {{"Save Data As", IDM_SAVEAS}, {"open", IDM_OPEN}};
        for (const Row &row : rows) {
            testing_clear_records();
            testing_filedlg_begin({testing_file_cancel()});
            testing_send_command(mainhwnd, row.command);
            EXPECT_EQ(testing_filedlg_requests().size(), 1u) << row.name;
            EXPECT_EQ(std::string(szFileName), dir + "/kept.txt") << row.name;
            EXPECT_STREQ(szTitleName, "kept.txt") << row.name;
            EXPECT_EQ(caption_of(mainhwnd), "Orvinta - kept.txt") << row.name;
            EXPECT_TRUE(testing_message_boxes().empty()) << row.name;
            EXPECT_TRUE(testing_cursors().empty()) << row.name << ": nothing was written";
            EXPECT_EQ(first_difference([](int, int) { return 7.0f; }), "") << row.name;
        }
    });
    int files = 0;
    for (const auto &e : fs::directory_iterator(dir)) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

}  // namespace
