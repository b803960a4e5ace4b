#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using BatchJob = TempFolderTest;

struct Invocation { int status; std::string out, err; };

// Runs the program with args; its error output goes through a file in the test's folder.
Invocation run(const std::string &args, const std::string &dir)
{
    const fs::path err_file = fs::path(dir) / "stderr.txt";
    const std::string command = std::string(ORVINTA_EXE) + " " + args + " 2>" + err_file.string();
    Invocation result{};
    FILE *pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err_file);
    std::stringstream s;
    s << in.rdbuf();
    result.err = s.str();
    fs::remove(err_file);
    return result;
}

std::map<std::string, std::string> lines_of(const std::string &out)
{
    std::map<std::string, std::string> values;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(": ");
        if (colon != std::string::npos) values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
}

double number(const std::map<std::string, std::string> &values, const std::string &name)
{
    const auto it = values.find(name);
    return it == values.end() ? NAN : std::atof(it->second.c_str());
}

TEST_F(BatchJob, StartUpSettingsPrintTheWorkedFigures)
{
    const Invocation r = run("--batch", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = lines_of(r.out);
    EXPECT_NEAR(number(v, "wavesrms"), 0.160, 0.0005);
    EXPECT_NEAR(number(v, "xpsfcent"), 2.51, 0.005);
    EXPECT_NEAR(number(v, "ypsfcent"), 0.0, 0.001);
    EXPECT_EQ(v.at("peak"), "67 65");
    EXPECT_NEAR(number(v, "XPupilStep"), 10.0 / 39, 1e-7);
    EXPECT_NEAR(number(v, "psf_graph_extent"), 109.2, 1e-4);
    EXPECT_EQ(v.count("rmsx"), 0u);
}

TEST_F(BatchJob, SettingsAreCaseInsensitiveAndDerivedLikeTheDialogs)
{
    const Invocation r = run("--batch hascoma=0 HASZERN26=0 nDoCentroidError=1 NumPixels=4 pupilradius=40 "
                      "nCurrentPSFUnits=171", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = lines_of(r.out);
    EXPECT_NEAR(number(v, "wavesrms"), 0.0, 1e-6);
    EXPECT_EQ(v.at("peak"), "65 65");
    EXPECT_NEAR(number(v, "XPupilStep"), 10.0 / 79, 1e-7);     // ncenter from the radius
    EXPECT_NEAR(number(v, "psf_graph_extent"), 7.9 * 0.5, 1e-5);  // milliradians: (79 / 10) * 0.5
    EXPECT_TRUE(v.count("rmsx") && v.count("rmsy"));
}

TEST_F(BatchJob, RefusedArgumentsExitWithStatus2AndWriteNothing)
{
    const fs::path out = fs::path(dir) / "refused.txt";
    struct Row { const char *args; const char *message; };
    const Row rows[] = {
        {"--batch nosuch=1", "unknown setting 'nosuch'"},
        {"--batch fnumber=abc", "orvinta: F-number (fnumber) must be a number."},
        {"--batch PhasePatternPeriod=0", "orvinta: Pattern period (steps) (PhasePatternPeriod) must be at least 1, not 0."},
        {"--batch fnumber", "'fnumber' is not NAME=VALUE"},
        {"--batch --out", "--out needs a file name"},
    };
    for (const Row &row : rows) {
        const std::string args = row.args;
        const Invocation r = run(args + (args.find("--out") == std::string::npos ? " --out " + out.string() : ""), dir);
        EXPECT_EQ(r.status, 2) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_FALSE(fs::exists(out)) << row.args;
    }
}

TEST_F(BatchJob, WritesTheChosenArrayAndReportsWriteFailures)
{
    const fs::path out = fs::path(dir) / "out.txt";
    const Invocation ok = run("--batch nCurrentDataSave=540 --out " + out.string(), dir);
    ASSERT_EQ(ok.status, 0) << ok.err;
    std::ifstream in(out, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    ASSERT_EQ(text.size(), 196736u);
    // Row 45 of the start-up transmission: ones at columns 64 and 65.
    const std::string row45 = text.substr(44 * 1537, 1537);
    EXPECT_EQ(row45.substr(63 * 12, 24), "    1.000000    1.000000");
    EXPECT_EQ(row45.substr(62 * 12, 12), "    0.000000");

    const Invocation bad = run("--batch --out " + dir + "/none/psf.txt", dir);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find(dir + "/none/psf.txt"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("No such file or directory"), std::string::npos) << bad.err;
}

}  // namespace
