// Replacing a file whole: the old contents survive every failure and no temporary is left.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "optics/datafile.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

using DataFile = TempFolderTest;

TEST_F(DataFile, WritingTwiceReplacesTheFile)
{
    const fs::path file = fs::path(dir) / "psf.txt";
    std::string error;
    ASSERT_TRUE(write_file_atomically(file, std::string(500, 'a'), error)) << error;
    ASSERT_TRUE(write_file_atomically(file, "short\n", error)) << error;
    EXPECT_EQ(read(file), "short\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(dir)), fs::directory_iterator{}), 1);  // no temporary left
}

TEST_F(DataFile, FailuresAreReportedAndKeepTheOldFile)
{
    std::string error;
    EXPECT_FALSE(write_file_atomically(fs::path(dir) / "missing" / "x.txt", "x", error));
    EXPECT_NE(error.find("missing/x.txt"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    // A folder standing where the file should go cannot be replaced; what is there survives.
    const fs::path blocked = fs::path(dir) / "blocked";
    fs::create_directory(blocked);
    std::ofstream(blocked / "keep") << "kept";
    error.clear();
    EXPECT_FALSE(write_file_atomically(blocked, "new text", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(read(blocked / "keep"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(dir)), fs::directory_iterator{}), 1);  // temporary removed
}

TEST_F(DataFile, NewFilesGetTheUsualPermissions)
{
    const mode_t old_mask = umask(022);
    const fs::path file = fs::path(dir) / "p.txt";
    std::string error;
    ASSERT_TRUE(write_file_atomically(file, "x", error));
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    umask(old_mask);
}

}  // namespace
