// A fresh folder for the files of one test, in the system's temporary folder, removed with
// everything in it when the test ends. No test writes anywhere else.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ =
            (std::filesystem::temp_directory_path() / "orvinta-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override
    {
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
    std::string dir;
};
