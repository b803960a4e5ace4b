#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "optics/datafile.h"
#include "optics/settings.h"
#include "tests/temp_folder.h"

namespace {

// A file in the reader's layout, written here field by field: value (i, j) = i + j / 1000,
// each field right-justified in 9 bytes ("%9.3f"), the last one followed by the line end.
std::string reader_layout(const std::string &line_end = "\n")
{
    std::string text;
    char field[32];
    for (int i = 1; i <= 128; i++) {
        for (int j = 1; j <= 128; j++) {
            std::snprintf(field, sizeof field, "%9.3f", i + j / 1000.0);
            text += field;
        }
        text += line_end;
    }
    return text;
}

class DataFileReader : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        path = dir + "/data.txt";
        optics_startup();
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) r_output[i][j] = -7.0f;  // marks "unchanged"
    }
    void TearDown() override
    {
        optics_shutdown();
        TempFolderTest::TearDown();
    }
    bool read(const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        why.clear();
        return read_data_file(path, r_output, why);
    }
    static bool untouched()
    {
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++)
                if (r_output[i][j] != -7.0f) return false;
        return true;
    }
    std::string path, why;
};

TEST_F(DataFileReader, CompleteFilesRoundTrip)
{
    const std::string lf = reader_layout();
    ASSERT_EQ(lf.size(), 147584u);  // 128 x 1153
    const struct { const char *name; std::string bytes; } rows[] = {
        {"LF", lf},
        {"CR LF", reader_layout("\r\n")},
        {"extra final line end", lf + "\n"},
        {"last line end missing", lf.substr(0, lf.size() - 1)},
    };
    for (const auto &row : rows) {
        ASSERT_TRUE(read(row.bytes)) << row.name << ": " << why;
        for (int i = 1; i <= GRID; i += 9)
            for (int j = 1; j <= GRID; j += 7)
                ASSERT_FLOAT_EQ(r_output[i][j], static_cast<float>(i + j / 1000.0)) << row.name << " " << i << "," << j;
        EXPECT_FLOAT_EQ(r_output[128][128], 128.128f) << row.name;
    }
}

TEST_F(DataFileReader, FieldsAreReadAsTheirLeadingNumber)
{
    const struct { const char *field; double expected; } rows[] = {
        {"    1.500", 1.5},    {"   -2.250", -2.25}, {"  +3.000", 3.0},  {"   1.5e2 ", 150.0},
        {"  2.5E-1 ", 0.25},   {"   12abc ", 12.0},  {"   1.2.3 ", 1.2},  {"         ", 0.0},
        {"  abc    ", 0.0},    {"    -    ", 0.0},   {"   .5    ", 0.5},  {"   7e    ", 7.0},
        {"   5.    ", 5.0},    {"  1e+    ", 1.0},   {"- 1      ", 0.0},  {"inf      ", 0.0},
    };
    for (const auto &row : rows) EXPECT_DOUBLE_EQ(read_field_number(row.field, 9), row.expected) << "'" << row.field << "'";
    EXPECT_DOUBLE_EQ(read_field_number("123456789", 4), 1234.0);  // only the field's own bytes count
}

// CR LF files: with the LF of record n (of 1154 bytes) replaced by c.
std::string crlf_with(int n, char c)
{
    std::string text = reader_layout("\r\n");
    text[n * 1154 - 1] = c;
    return text;
}

TEST_F(DataFileReader, WrongFilesAreRefusedAndChangeNothing)
{
    const std::string lf = reader_layout();
    std::string misaligned = lf;
    misaligned[1152] = ' ';  // the first record's line end is missing
    const std::string crlf = reader_layout("\r\n");
    const struct { const char *name; std::string bytes; const char *reason; } rows[] = {
        {"empty", "", "ends before"},
        {"one record", lf.substr(0, 1153), "ends before"},
        {"127 records", lf.substr(0, 127 * 1153), "ends before"},
        {"cut in the last field", lf.substr(0, lf.size() - 5), "ends before"},
        {"longer", lf + "    1.000\n", "longer"},
        {"two extra line ends", lf + "\n\n", "longer"},
        {"writer's layout", std::string(196736, ' '), "longer"},
        {"misaligned", misaligned, "layout"},
        {"too large a value", "1e99     " + lf.substr(9), "too large"},
        {"CR LF, record 1 ends in CR 7", crlf_with(1, '7'), "layout"},
        {"CR LF, record 2 ends in CR 7", crlf_with(2, '7'), "layout"},
        {"CR LF, record 2 ends in CR X", crlf_with(2, 'X'), "layout"},
        {"CR LF, record 64 ends in CR CR", crlf_with(64, '\r'), "layout"},
        {"CR LF, record 127 ends in CR blank", crlf_with(127, ' '), "layout"},
        {"CR LF, record 128 ends in CR 7", crlf_with(128, '7'), "layout"},
        {"CR LF, the last CR without its LF", crlf.substr(0, crlf.size() - 1), "layout"},
    };
    for (const auto &row : rows) {
        EXPECT_FALSE(read(row.bytes)) << row.name;
        EXPECT_NE(why.find(row.reason), std::string::npos) << row.name << ": " << why;
        EXPECT_TRUE(untouched()) << row.name;
    }
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_FALSE(read_data_file(dir + "/fifo", r_output, why)) << "returns at once, with no writer";
    EXPECT_EQ(why, dir + "/fifo is not a regular file");
    EXPECT_FALSE(read_data_file(dir + "/missing", r_output, why));
    EXPECT_EQ(why, "cannot open " + dir + "/missing: No such file or directory");
    EXPECT_TRUE(untouched());
}

}  // namespace
