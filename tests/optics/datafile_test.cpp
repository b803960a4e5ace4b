#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "optics/datafile.h"
#include "optics/settings.h"

namespace fs = std::filesystem;

namespace {

class DataFile : public testing::Test {
protected:
    void SetUp() override
    {
        optics_startup();
        char templ[] = "/tmp/orvinta-datafile-XXXXXX";
        dir = mkdtemp(templ);
    }
    void TearDown() override
    {
        optics_shutdown();
        fs::remove_all(dir);
    }

    static std::string read(const fs::path &p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir;
};

TEST_F(DataFile, StartUpPsfIsAllZeroFields)
{
    const std::string text = format_data_file(data_save_array());
    ASSERT_EQ(text.size(), 196736u);  // 128 lines of 128 twelve-character fields and a line feed
    std::string line;
    for (int k = 0; k < 128; k++) line += "    0.000000";
    line += "\n";
    for (int i = 0; i < 128; i++) ASSERT_EQ(text.substr(i * line.size(), line.size()), line) << "line " << i + 1;
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST_F(DataFile, LineIHoldsRowIOfTheChosenArray)
{
    struct Row { int code; float **array; };
    const Row rows[] = {{SAVE_TRANSMISSION, r_input}, {SAVE_PHASE, phase_input}, {SAVE_PSF, m_output}};
    for (const Row &row : rows) {
        nCurrentDataSave = row.code;
        row.array[3][1] = 1.5f;
        row.array[3][128] = -2.25f;
        row.array[128][2] = 0.0000004f;  // rounds to 0.000000
        const std::string text = format_data_file(data_save_array());
        const std::size_t line = 128 * 12 + 1;
        EXPECT_EQ(text.substr(2 * line, 12), "    1.500000") << row.code;
        EXPECT_EQ(text.substr(2 * line + 127 * 12, 13), "   -2.250000\n") << row.code;
        EXPECT_EQ(text.substr(127 * line + 12, 12), "    0.000000") << row.code;
    }
    // Transmission of the start-up pupil: row 45 (the aperture's left edge) holds ones at
    // columns 64 and 65 only.
    optics_startup();
    nCurrentDataSave = SAVE_TRANSMISSION;
    const std::string text = format_data_file(data_save_array());
    const std::string row45 = text.substr(44 * (128 * 12 + 1), 128 * 12);
    for (int j = 1; j <= 128; j++)
        EXPECT_EQ(row45.substr((j - 1) * 12, 12), (j == 64 || j == 65) ? "    1.000000" : "    0.000000") << j;
}

TEST_F(DataFile, WideValuesTakeTheirFullWidth)
{
    nCurrentDataSave = SAVE_PSF;
    m_output[1][1] = 123456.5f;
    m_output[1][2] = -12345.5f;
    const std::string text = format_data_file(data_save_array());
    EXPECT_EQ(text.substr(0, 13), "123456.500000");
    EXPECT_EQ(text.substr(13, 13), "-12345.500000");
    EXPECT_EQ(text.size(), 196736u + 2);
}

TEST_F(DataFile, UnknownChoiceWritesAnEmptyFile)
{
    nCurrentDataSave = 999;
    EXPECT_EQ(data_save_array(), nullptr);
    EXPECT_EQ(format_data_file(data_save_array()), "");
}

TEST_F(DataFile, WritingTwiceReplacesTheFile)
{
    const fs::path file = dir / "psf.txt";
    std::string error;
    ASSERT_TRUE(write_file_atomically(file, std::string(500, 'a'), error)) << error;
    ASSERT_TRUE(write_file_atomically(file, "short\n", error)) << error;
    EXPECT_EQ(read(file), "short\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);  // no temporary left
}

TEST_F(DataFile, FailuresAreReportedAndKeepTheOldFile)
{
    std::string error;
    EXPECT_FALSE(write_file_atomically(dir / "missing" / "x.txt", "x", error));
    EXPECT_NE(error.find("missing/x.txt"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    // A folder standing where the file should go cannot be replaced; what is there survives.
    const fs::path blocked = dir / "blocked";
    fs::create_directory(blocked);
    std::ofstream(blocked / "keep") << "kept";
    error.clear();
    EXPECT_FALSE(write_file_atomically(blocked, "new text", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(read(blocked / "keep"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);  // temporary removed
}

TEST_F(DataFile, NewFilesGetTheUsualPermissions)
{
    const mode_t old_mask = umask(022);
    const fs::path file = dir / "p.txt";
    std::string error;
    ASSERT_TRUE(write_file_atomically(file, "x", error));
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    umask(old_mask);
}

}  // namespace
