// The batch job's sweeps and random trials: rows, their order, and refusals.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cmath>

#include "tests/shell/program_harness.h"

namespace {

using Row = std::map<std::string, std::string>;

// The CSV as rows of named fields; comment lines are left out.
std::vector<Row> table(const std::string &csv)
{
    std::istringstream in(csv);
    std::vector<std::string> names;
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream cells(line + ",");
        for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
        if (names.empty()) names = fields;
        else rows.emplace_back();
        for (std::size_t k = 0; k < names.size() && k < fields.size() && rows.size(); k++) rows.back()[names[k]] = fields[k];
    }
    return rows;
}

class SweepJob : public TempFolderTest {
protected:
    Invocation run(const std::string &args) { return run_orvinta(dir, "--batch " + args); }
    std::string read(const std::string &name) { return slurp(dir + "/" + name); }
};

const char *const NO_COMA = "HasDefocus=1 HasComa=0 HasZern26=0";

TEST_F(SweepJob, FocusSweepIsSymmetricAboutFocusWithItsBestRowThere)
{
    const Invocation r = run(std::string(NO_COMA) + " --sweep DEFOCUS=-1:1:21 --csv out.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = table(read("out.csv"));
    ASSERT_EQ(rows.size(), 21u);
    int best = 0;
    for (int k = 0; k < 21; k++) {
        const auto &row = rows[k], &mirror = rows[20 - k];
        EXPECT_EQ(row.at("row"), std::to_string(k + 1));
        EXPECT_NEAR(number(row, "defocus"), -1.0 + k / 10.0, 1e-7) << "row " << k + 1;
        EXPECT_NEAR(number(row, "strehl"), number(mirror, "strehl"), 1e-5) << "row " << k + 1;
        // Far from focus the brightest sample lies on a ring, at one of four equal places that
        // the opposite defocus mirrors through the centre: the widths may trade axes.
        const auto widths = [](const Row &line) {
            return std::minmax({number(line, "fwhm_x_um"), number(line, "fwhm_y_um")});
        };
        EXPECT_NEAR(widths(row).first, widths(mirror).first, 1e-4) << "row " << k + 1;
        EXPECT_NEAR(widths(row).second, widths(mirror).second, 1e-4) << "row " << k + 1;
        if (number(row, "strehl") > number(rows[best], "strehl")) best = k;
    }
    EXPECT_EQ(best, 10);
    EXPECT_NEAR(number(rows[10], "strehl"), 1.0, 1e-6);
    // Defocus of W waves peak to valley on a clear round pupil: Strehl (sin(pi W) / (pi W))^2,
    // 4 / pi^2 = 0.405 at half a wave; the sampled pupil of radius 20 comes within 0.01.
    EXPECT_NEAR(number(rows[5], "strehl"), 4 / (M_PI * M_PI), 0.01);
}

TEST_F(SweepJob, TwoSweepsGiveTheProductWithTheLastFastest)
{
    const Invocation r = run(std::string(NO_COMA) + " --sweep fnumber=4:8:3 --csv - --sweep Wavelength=400:600:2 --jobs 2");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = table(r.out);
    ASSERT_EQ(rows.size(), 6u);
    const double expected[6][2] = {{4, 400}, {4, 600}, {6, 400}, {6, 600}, {8, 400}, {8, 600}};
    for (int k = 0; k < 6; k++) {
        EXPECT_EQ(number(rows[k], "fnumber"), expected[k][0]) << "row " << k + 1;
        EXPECT_EQ(number(rows[k], "wavelength"), expected[k][1]) << "row " << k + 1;
        // The PSF scales with lambda F: its width in microns follows the product.
        const double scale = expected[k][0] * expected[k][1] / (4 * 400);
        EXPECT_NEAR(number(rows[k], "fwhm_x_um") / number(rows[0], "fwhm_x_um"), scale, 1e-4) << "row " << k + 1;
    }
}

TEST_F(SweepJob, EveryRowIsTheSingleRunOfItsSettings)
{
    // A random phase pattern draws from its own generator: each row must start it afresh, as
    // a single run does, also when one worker computes several rows.
    const std::string base = "nDoCentroidError=1 nCurrentPhasePattern=503 HasZern5=1 nCurrentPSFUnits=172";
    const Invocation r = run(base + " --sweep PhasePatternPeriod=2:4:2 --random zern5=0.2 --trials 2 --jobs 1 --csv -");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = table(r.out);
    ASSERT_EQ(rows.size(), 4u);
    const std::map<std::string, std::string> figures = {
        {"wavesrms", "wavesrms"},     {"strehl", "strehl"},           {"fwhm_x_arcsec", "fwhm_x"},
        {"fwhm_y_arcsec", "fwhm_y"},  {"ee50_radius_arcsec", "ee50_radius"}, {"ee80_radius_arcsec", "ee80_radius"},
        {"xpsfcent", "xpsfcent"},     {"ypsfcent", "ypsfcent"},       {"rmsx", "rmsx"},
        {"rmsy", "rmsy"}};
    for (const auto &row : rows) {
        const Invocation single =
            run(base + " PhasePatternPeriod=" + row.at("PhasePatternPeriod") + " Zern5=" + row.at("Zern5"));
        ASSERT_EQ(single.status, 0) << single.err;
        const Row printed = lines_of(single.out);
        for (const auto &[column, name] : figures) EXPECT_EQ(row.at(column), printed.at(name)) << "row " << row.at("row") << " " << column;
        EXPECT_EQ(row.at("peak_i") + " " + row.at("peak_j"), printed.at("peak")) << "row " << row.at("row");
    }
}

TEST_F(SweepJob, TrialsDependOnTheSeedOnlyAndRedrawValuesOutOfRange)
{
    // fnumber 1 with SIGMA 1 goes below its least value 0.001 about one time in six.
    const std::string job = "fnumber=1 --random fnumber=1 --random defocus=0.1 --trials 40 --sweep pupilradius=10:20:2";
    const struct {
        std::string options, file;
    } runs[] = {{"--jobs 1", "a.csv"}, {"--jobs 2", "b.csv"}, {"--jobs 3 --seed 1", "c.csv"}, {"--seed 2", "d.csv"}};
    for (const auto &each : runs) ASSERT_EQ(run(job + " " + each.options + " --csv " + each.file).status, 0) << each.options;
    const std::string a = read("a.csv");
    EXPECT_EQ(read("b.csv"), a);
    EXPECT_EQ(read("c.csv"), a);
    EXPECT_NE(read("d.csv"), a);
    const auto rows = table(a);
    ASSERT_EQ(rows.size(), 80u);
    double sum = 0;
    for (const auto &row : rows) {
        EXPECT_GE(number(row, "fnumber"), 0.001) << "row " << row.at("row");
        EXPECT_EQ(number(row, "pupilradius"), std::stoi(row.at("row")) <= 40 ? 10 : 20) << "row " << row.at("row");
        sum += number(row, "defocus");
    }
    EXPECT_NEAR(sum / 80, 0.0, 0.05);  // 4 standard errors of 0.1 / sqrt(80)
    const std::size_t redrawn = a.rfind("\n# redrawn: ");
    ASSERT_NE(redrawn, std::string::npos);
    EXPECT_GT(std::stoi(a.substr(redrawn + 12)), 0);
}

TEST_F(SweepJob, InterruptStopsTheWorkersAndWritesNothing)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen((dir + "/stderr").c_str(), "w", stderr) || !freopen((dir + "/stdout").c_str(), "w", stdout)) _exit(99);
        execl(ORVINTA_EXE, ORVINTA_EXE, "--batch", "--sweep", "defocus=-1:1:1000000", "--jobs", "2", "--csv",
              (dir + "/out.csv").c_str(), static_cast<char *>(nullptr));
        _exit(98);
    }
    // The job takes interrupts once its workers run; then Ctrl-C.
    const std::string children = "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
    std::string workers;
    for (int wait = 0; wait < 400 && workers.empty(); wait++) {
        usleep(50000);
        workers = slurp(children);
    }
    ASSERT_FALSE(workers.empty()) << "no workers started";
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    std::istringstream ids(workers);
    for (pid_t worker = 0; ids >> worker;) EXPECT_NE(kill(worker, 0), 0) << "worker " << worker << " still runs";
    EXPECT_FALSE(fs::exists(dir + "/out.csv"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2) << "only stdout and stderr";
}

TEST_F(SweepJob, RefusalsStopTheRunBeforeAnyRow)
{
    const struct { std::string args, message; } cases[] = {
        {"--sweep fnumber=-1:1:3", "F-number (fnumber) must be above 0, not -1."},
        {"--sweep fnumber=1:0:3", "F-number (fnumber) must be above 0, not 0."},
        {"--sweep PhasePatternPeriod=3:0:4", "Pattern period (steps) (PhasePatternPeriod) must be at least 1, not 0."},
        {"fnumber=0 --sweep defocus=0:1:2", "F-number (fnumber) must be above 0, not 0."},
        {"--sweep defocus=0:1:4000 --sweep Zern5=0:1:2501", "more than 10000000 rows"},
        {"--sweep defocus=0:1:2 --out x.txt", "--out cannot be used"},
        {"--random defocus=0.1 --plot x.png", "--plot cannot be used"},
        {"--sweep defocus=0:1:2 --trials 3", "--trials needs --random"},
        {"--random HasDefocus=0.5", "HasDefocus takes whole numbers only"},
        {"--sweep nCurrentPSFUnits=170:172:3", "nCurrentPSFUnits cannot be swept"},
        {"--sweep pupilradius=10:20:4", "pupilradius takes whole numbers only"},
        {"--sweep defocus=0:1", "FROM:TO:STEPS"}, {"--sweep nosuch=0:1:2", "unknown setting 'nosuch'"},
    };
    for (const auto &c : cases) {
        const Invocation r = run(c.args + " --csv out.csv");
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args;
        EXPECT_FALSE(fs::exists(dir + "/out.csv")) << c.args;
    }
}

}  // namespace
