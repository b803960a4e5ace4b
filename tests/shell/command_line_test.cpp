// The program from its command line: --eval, the window program with and without a window system, and the
// batch job: its report, refused arguments, files, pictures, sweeps and random trials (rows, order, refusals).
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <thread>

#include "tests/shell/program_harness.h"

namespace {

// The batch job run in the test's folder.
class BatchJob : public TempFolderTest {
protected:
    Invocation run(const std::string &args) { return run_orvinta(dir, "--batch " + args); }
    std::string read(const std::string &name) { return slurp(dir + "/" + name); }
    bool exists(const std::string &name) const { return fs::exists(dir + "/" + name); }
    // The binary run in the folder by an ordinary user (the test's own, or user and group 65534
    // when the test runs as the superuser, who may write any file) with a limit on the size of
    // the files it writes; standard output goes to the file "stdout", standard error comes back
    // through a pipe. The child makes only system calls between fork and exec.
    Invocation run_as_user(const std::vector<std::string> &args, rlim_t file_limit = RLIM_INFINITY)
    {
        std::vector<char *> argv{const_cast<char *>(ORVINTA_EXE)};
        for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
        argv.push_back(nullptr);
        fs::permissions(dir, fs::perms::all);
        int ends[2];
        if (pipe(ends) != 0) return {-1, "", "no pipe"};
        const pid_t pid = fork();
        if (pid == 0) {
            const rlimit limit{file_limit, file_limit};
            const bool user = geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 &&
                                                 setuid(65534) == 0);
            const int flags = O_WRONLY | O_CREAT | O_TRUNC;
            const int out = user && chdir(dir.c_str()) == 0 ? open("stdout", flags, 0644) : -1;
            if (out < 0 || dup2(out, 1) != 1 || dup2(ends[1], 2) != 2) _exit(99);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(99);
            execv(ORVINTA_EXE, argv.data());
            _exit(98);
        }
        close(ends[1]);
        std::string err;
        char buffer[4096];
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
            err.append(buffer, static_cast<std::size_t>(n));
        close(ends[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("stdout"), err};
    }
};

using SweepJob = BatchJob;

TEST_F(BatchJob, StartUpAndDerivedSettingsPrintTheWorkedFigures)
{
    const struct { const char *args; double rms, xcent, step, extent; const char *peak; bool centroid; } rows[] = {
        {"", 0.160, 2.51, 10.0 / 39, 109.2, "67 65", false},
        // Case-insensitive names; ncenter from the radius; milliradians: (79 / 10) * 0.5.
        {"hascoma=0 HASZERN26=0 nDoCentroidError=1 NumPixels=4 pupilradius=40 nCurrentPSFUnits=171", 0.0, NAN,
         10.0 / 79, 7.9 * 0.5, "65 65", true},
    };
    for (const auto &row : rows) {
        const Invocation r = run(row.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto v = lines_of(r.out);
        EXPECT_NEAR(number(v, "wavesrms"), row.rms, row.rms ? 0.0005 : 1e-6) << row.args;
        EXPECT_TRUE(std::isnan(row.xcent) || (std::fabs(number(v, "xpsfcent") - row.xcent) < 0.005 &&
                                              std::fabs(number(v, "ypsfcent")) < 0.001)) << number(v, "xpsfcent");
        EXPECT_NEAR(number(v, "XPupilStep"), row.step, 1e-7) << row.args;
        EXPECT_NEAR(number(v, "psf_graph_extent"), row.extent, 1e-5) << row.args;
        EXPECT_EQ(std::tuple(v.at("peak"), v.count("rmsx") + v.count("rmsy")), std::tuple(row.peak, row.centroid ? 2u : 0u));
        EXPECT_TRUE(*row.args || r.err.empty()) << "the start-up PSF is well sampled: " << r.err;
    }
}

TEST_F(BatchJob, StandardErrorCarriesNoToolkitNoiseWithoutARuntimeFolder)
{
    // As under cron: no runtime folder is named, and a picture starts the toolkit.
    const Invocation r = run_orvinta(dir, "--batch --plot psf-3d a.png", "env -u XDG_RUNTIME_DIR");
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(0, std::string()));
}

// Settings, pictures and sweeps refused: each names its culprit on one line and writes nothing.
TEST_F(BatchJob, RefusedArgumentsExitWithStatus2AndWriteNothing)
{
    const struct { std::string args, message; } rows[] = {
        {"nosuch=1 --out r.txt", "unknown setting 'nosuch'"}, {"fnumber --out r.txt", "'fnumber' is not NAME=VALUE"},
        {"fnumber=abc --out r.txt", "orvinta: F-number (fnumber) must be a number."},
        {"PhasePatternPeriod=0 --out r.txt",
         "orvinta: Pattern period (steps) (PhasePatternPeriod) must be at least 1, not 0."},
        {"--out", "--out needs a file name"}, {"--plot psf-4d A.svg", "psf-4d"},
        {"--size 15x600 --plot psf-3d A.svg", "15x600"}, {"--size 800x8193 --plot psf-3d A.svg", "800x8193"},
        {"--size 800x --plot psf-3d A.svg", "800x"}, {"--size 800X600 --plot psf-3d A.svg", "800X600"},
        {"--plot psf-3d A.jpg", "A.jpg"},
        {"--sweep fnumber=-1:1:3 --csv o.csv", "F-number (fnumber) must be above 0, not -1."},
        {"--sweep fnumber=1:0:3 --csv o.csv", "F-number (fnumber) must be above 0, not 0."},
        {"fnumber=0 --sweep defocus=0:1:2 --csv o.csv", "F-number (fnumber) must be above 0, not 0."},
        {"--sweep defocus=0:1:4000 --sweep Zern5=0:1:2501 --csv o.csv", "more than 10000000 rows"},
        {"--sweep defocus=0:1:2 --out x.txt", "--out cannot be used"},
        {"--random defocus=0.1 --plot x.png --csv o.csv", "--plot cannot be used"},
        {"--sweep defocus=0:1:2 --trials 3 --csv o.csv", "--trials needs --random"},
        {"--random HasDefocus=0.5 --csv o.csv", "HasDefocus takes whole numbers only"},
        {"--sweep nCurrentPSFUnits=170:172:3 --csv o.csv", "nCurrentPSFUnits cannot be swept"},
        {"--sweep pupilradius=10:20:4 --csv o.csv", "pupilradius takes whole numbers only"},
        {"--sweep defocus=0:1 --csv o.csv", "FROM:TO:STEPS"},
        {"--sweep nosuch=0:1:2 --csv o.csv", "unknown setting 'nosuch'"},
        {"--sweep EFL=50:60:2 --csv o.csv", "cannot set EFL: EFL follows from fnumber"},
        {"--sweep rbreak=0:0.99999999:2 --csv o.csv", "(rbreak) must be below 1, not 0.99999999."},
        {"--sweep defocus=0:1:2 --seed '\t-1' --csv o.csv", "--seed needs a whole number from 0"},
        {"--random Zern5=1e308 --csv o.csv", "with SIGMA 1e308: Zernike coefficient Z05 (Zern5)"},
    };
    for (const auto &row : rows) {
        const Invocation r = run(row.args);
        EXPECT_EQ(r.status, 2) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_TRUE(fs::is_empty(dir)) << row.args;
    }
}


// The figures themselves are the image-quality tests' business; here: the job prints them,
// warnings go to standard error, .fits chooses the FITS layout; the chosen array, pictures, and
// failed writes.
TEST_F(BatchJob, ImageQualityFiguresWarningsTheFitsFileTheArrayPicturesAndFailedWrites)
{
    // A dark pupil gives an all-zero PSF; the most decades, 38, clip it at 1e-37, still a normal
    // float, so its logarithm is finite and the flat contour draws without a message.
    const Invocation r = run("pupilradius=40 nCurrentObscuration=1 LinearObscuration=2 PSFPlotType=177 "
                             "nPSFdecades=38 --plot psf-contour " + dir + "/c.png");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = lines_of(r.out);
    EXPECT_NEAR(number(v, "sampling_q"), 128.0 / 79, 1e-8);  // 128 / (2 (radius - 0.5)) samples per lambda F
    for (const char *name : {"strehl", "fwhm_x", "fwhm_y", "ee50_radius", "ee80_radius"})
        EXPECT_EQ(v.count(name) ? v.at(name) : "(none)", "n/a") << name;  // no light: undefined
    EXPECT_EQ(v.at("max_phase_step"), "0");
    EXPECT_EQ(r.err, "warning: the PSF is undersampled (Q = 1.62, below 2): FWHM and encircled "
                     "energy are not reliable\n");
    EXPECT_TRUE(exists("c.png"));
    // FITS: 2880-byte blocks that open with SIMPLE = T.
    ASSERT_EQ(run("--out psf.fits").status, 0);
    EXPECT_EQ(read("psf.fits").substr(0, 30), "SIMPLE  =                    T");
    EXPECT_EQ(fs::file_size(dir + "/psf.fits") % 2880, 0u);
    // The chosen array (the start-up transmission: ones at columns 64 and 65 of row 45) and a failed write.
    ASSERT_EQ(run("nCurrentDataSave=540 --out out.txt").status, 0);
    EXPECT_EQ(read("out.txt").substr(44 * 1537 + 62 * 12, 36), "    0.000000    1.000000    1.000000");
    const Invocation bad = run("--out " + dir + "/none/psf.txt");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find(dir + "/none/psf.txt: No such file or directory"), std::string::npos) << bad.err;
    // SVG in device pixels; a failed write keeps the earlier pictures and stops.
    const Invocation p = run("--size 640x480 --plot psf-x-slice " + dir + "/a.svg --plot psf-y-slice " + dir +
                             "/missing/b.svg --plot phase-3d " + dir + "/c.svg");
    EXPECT_EQ(p.status, 1);
    EXPECT_NE(p.err.find(dir + "/missing/b.svg: No such file or directory"), std::string::npos) << p.err;
    EXPECT_FALSE(exists("c.svg"));
    const std::string svg = read("a.svg"), title = ">X-Slice (Y=0) of Point Spread Function</text>";
    EXPECT_NE(svg.find("viewBox=\"0 0 640 480\""), std::string::npos);
    ASSERT_NE(svg.find(title), std::string::npos);
    EXPECT_EQ(svg.find(title, svg.find(title) + 1), std::string::npos) << "the title is written once";
}

// Every writer: a file the user may not write, a reader that goes away, a file-size limit, each
// a failed write with its path and reason, status 1, no file half written; "-" is standard output.
TEST_F(BatchJob, WritersReportFailedWritesAndTakeDashForStandardOutput)
{
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const char *name : {"ro.csv", "ro.txt", "ro.svg"}) {
        std::ofstream(dir + "/" + name) << "old\n";
        fs::permissions(dir + "/" + name, readOnly);
    }
    ASSERT_EQ(mkfifo((dir + "/g.fits").c_str(), 0666), 0);
    fs::permissions(dir + "/g.fits", fs::perms::all);
    const rlim_t NONE = RLIM_INFINITY;
    const std::string denied = "Permission denied\n", tooLarge = "File too large\n";
    using Args = std::vector<std::string>;
    // out_end: how standard output ends.
    const struct { Args args; rlim_t limit; int status; std::string err, out_end; } rows[] = {
        {{"--batch", "--sweep", "defocus=-1:1:3", "--csv", "ro.csv"}, NONE, 1,
         "cannot write ro.csv: " + denied, ""},
        {{"--batch", "--out", "ro.txt"}, NONE, 1, "cannot write ro.txt: " + denied, ""},
        {{"--batch", "--plot", "psf-3d", "ro.svg"}, NONE, 1, "cannot write ro.svg: " + denied, ""},
        // The FITS file (216000 bytes) outgrows the pipe (65536) its reader leaves after 100 bytes.
        {{"--batch", "--out", "g.fits"}, NONE, 1, "cannot write g.fits: Broken pipe\n", ""},
        {{"--batch", "--out", "big.txt"}, 1024, 1, "cannot write big.txt: " + tooLarge, ""},
        {{"--batch"}, 0, 1, "cannot write standard output: " + tooLarge, ""},
        {{"--eval", "1", "2", "3"}, 0, 1, "cannot write standard output: " + tooLarge, ""},
        {{"--batch", "nCurrentDataSave=540", "--out", "-"}, NONE, 0, "", "    0.000000\n"},  // dark
        {{"--batch", "--plot", "psf-x-slice", "-"}, NONE, 0, "", "</svg>\n"},
    };
    const auto readHead = [&] {
        char head[100];
        const int fd = open((dir + "/g.fits").c_str(), O_RDONLY);
        EXPECT_EQ(::read(fd, head, sizeof head), 100);
        close(fd);
    };
    for (const auto &row : rows) {
        std::string name;
        for (const std::string &arg : row.args) name += " " + arg;
        std::thread reader;
        if (row.args.back() == "g.fits") reader = std::thread(readHead);
        const Invocation r = run_as_user(row.args, row.limit);
        if (reader.joinable()) {
            // A reader still waiting is let go.
            const int writer = open((dir + "/g.fits").c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) close(writer);
            reader.join();
        }
        const std::string err = row.err.empty() ? "" : "orvinta: " + row.err;
        EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(row.status, err)) << name;
        EXPECT_TRUE(r.out.ends_with(row.out_end)) << name;
    }
    for (const char *name : {"ro.csv", "ro.txt", "ro.svg"})
        EXPECT_TRUE(read(name) == "old\n") << name;
    Args entries;
    for (const auto &entry : fs::directory_iterator(dir))
        entries.push_back(entry.path().filename());
    std::ranges::sort(entries);
    EXPECT_EQ(entries, (Args{"g.fits", "ro.csv", "ro.svg", "ro.txt", "stdout"})) << "nothing else";
    // The superuser may write any file, as cp does: the file is replaced and stays read-only.
    if (geteuid() == 0) {
        ASSERT_EQ(run("--out ro.txt").status, 0);
        const auto mode = fs::status(dir + "/ro.txt").permissions();
        EXPECT_EQ(std::tuple(read("ro.txt").size(), mode), std::tuple(128u * 1537, readOnly));
    }
}

TEST(EvalCommand, PrintsTheValueOrASyntaxErrorOrAUsageError)
{
    struct Row { std::vector<std::string> args; int status; const char *out, *err_start; };  // args: after --eval
    const Row rows[] = {
        {{"x*y", "2", "3"}, 0, "6\n", ""}, {{"0.1", "0", "0"}, 0, "0.10000000000000001\n", ""},  // 17 digits
        {{"-x", "-1.5e2", "0"}, 0, "150\n", ""}, {{"sqrt(-1)", "0", "0"}, 0, "nan\n", ""},
        {{"SIN X", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"}, {{"1"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "2", "3", "4"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "a", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "2", "3x"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
    };
    for (const Row &row : rows) {
        std::vector<std::string> storage = row.args;
        std::vector<char *> argv;
        std::string name;
        for (std::string &a : storage) argv.push_back(a.data()), name += " [" + a + "]";
        argv.push_back(nullptr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(eval_main(static_cast<int>(row.args.size()), argv.data()), row.status) << "args=" << name;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.out) << "args=" << name;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind(row.err_start, 0), 0u) << "args=" << name << " stderr=" << err;
        EXPECT_TRUE(row.status != 2 || err.find('\n') == err.size() - 1) << "one line; args=" << name;
        EXPECT_EQ(storage, row.args) << "the arguments are left as given; args=" << name;
    }
}

using WindowProgram = TempFolderTest;

TEST_F(WindowProgram, StartsAndQuitsByItsEntryPointsExitStatus)
{
    const char *const headless = "env QT_QPA_PLATFORM=offscreen ORVINTA_QUIT_WHEN_IDLE=1";
    const char *const noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const struct { const char *name, *environment, *args; int status; } rows[] = {
        {"headless window run that quits when idle", headless, "", 0},
        {"same with an unreadable data file", headless, "/nonexistent/psf.txt", 0},
        {"offscreen counts as a window system", "env QT_QPA_PLATFORM=offscreen", "--has-window-system", 0},
        {"no display at all", noDisplay, "--has-window-system", 1},
        {"no display: the window cannot start", noDisplay, "", 1},
    };
    for (const auto &row : rows) EXPECT_EQ(run_orvinta(dir, row.args, row.environment).status, row.status) << row.name;
}

using CsvRow = std::map<std::string, std::string>;

// The CSV as rows of named fields; comment lines are left out.
std::vector<CsvRow> table(const std::string &csv)
{
    std::istringstream in(csv);
    std::vector<std::string> names;
    std::vector<CsvRow> rows;
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

const char *const NO_COMA = "HasDefocus=1 HasComa=0 HasZern26=0";

TEST_F(SweepJob, SweepRowsStepFromTheFirstValueToTheLastAndTwoSweepsGiveTheProductWithTheLastFastest)
{
    const Invocation r = run(std::string(NO_COMA) + " --sweep DEFOCUS=-1:1:21 --csv out.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = table(read("out.csv"));
    ASSERT_EQ(rows.size(), 21u);
    for (int k = 0; k < 21; k++) {
        EXPECT_EQ(rows[k].at("row"), std::to_string(k + 1));
        EXPECT_NEAR(number(rows[k], "defocus"), -1.0 + k / 10.0, 1e-7) << "row " << k + 1;
        EXPECT_NEAR(number(rows[k], "strehl"), number(rows[20 - k], "strehl"), 1e-5) << "row " << k + 1;
    }
    EXPECT_NEAR(number(rows[10], "strehl"), 1.0, 1e-6);
    // Defocus of W waves peak to valley on a clear round pupil: Strehl (sin(pi W) / (pi W))^2,
    // 4 / pi^2 = 0.405 at half a wave; the sampled pupil of radius 20 comes within 0.01.
    EXPECT_NEAR(number(rows[5], "strehl"), 4 / (M_PI * M_PI), 0.01);
    const Invocation two = run(std::string(NO_COMA) + " --sweep fnumber=4:8:3 --csv - --sweep Wavelength=400:600:2 --jobs 2");
    ASSERT_EQ(two.status, 0) << two.err;
    const auto product = table(two.out);
    ASSERT_EQ(product.size(), 6u);
    for (int k = 0; k < 6; k++) {
        const double fnumber = 4 + 2 * (k / 2), wavelength = k % 2 ? 600 : 400;
        EXPECT_EQ(std::tuple(number(product[k], "fnumber"), number(product[k], "wavelength")), std::tuple(fnumber, wavelength));
        // The PSF scales with lambda F: its width in microns follows the product.
        EXPECT_NEAR(number(product[k], "fwhm_x_um") / number(product[0], "fwhm_x_um"), fnumber * wavelength / 1600, 1e-4) << k;
    }
}

TEST_F(SweepJob, EveryRowIsTheSingleRunOfItsSettingsAndTrialsRedrawValuesOutOfRange)
{
    // A random phase pattern's generator starts afresh for each row, as in a single run, also within one worker.
    const std::string base = "nDoCentroidError=1 nCurrentPhasePattern=503 HasZern5=1 nCurrentPSFUnits=172";
    const Invocation r = run(base + " --sweep PhasePatternPeriod=2:4:2 --random zern5=0.2 --trials 2 --jobs 1 --csv -");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = table(r.out);
    ASSERT_EQ(rows.size(), 4u);
    const char *const figures[] = {"wavesrms", "strehl", "fwhm_x_arcsec", "fwhm_y_arcsec", "ee50_radius_arcsec",
                                   "ee80_radius_arcsec", "xpsfcent", "ypsfcent", "rmsx", "rmsy"};
    for (const auto &row : rows) {
        const Invocation single =
            run(base + " PhasePatternPeriod=" + row.at("PhasePatternPeriod") + " Zern5=" + row.at("Zern5"));
        ASSERT_EQ(single.status, 0) << single.err;
        const CsvRow printed = lines_of(single.out);
        for (const std::string column : figures)  // the report names a figure without its unit
            EXPECT_EQ(row.at(column), printed.at(column.substr(0, column.find("_arcsec")))) << row.at("row") << column;
        EXPECT_EQ(row.at("peak_i") + " " + row.at("peak_j"), printed.at("peak")) << "row " << row.at("row");
    }
    // Trials depend on the seed only; fnumber 1 with SIGMA 1 goes below its least value 0.001 one time in six.
    const std::string job = "fnumber=1 --random fnumber=1 --random defocus=0.1 --trials 40 --sweep pupilradius=10:20:2";
    const char *const runs[][2] = {
        {"--jobs 1", "a.csv"}, {"--jobs 2", "b.csv"}, {"--jobs 3 --seed 1", "c.csv"}, {"--seed 2", "d.csv"}};
    for (const auto &each : runs) ASSERT_EQ(run(job + " " + each[0] + " --csv " + each[1]).status, 0) << each[0];
    const std::string a = read("a.csv");
    EXPECT_EQ(std::tuple(read("b.csv") == a, read("c.csv") == a, read("d.csv") == a), std::tuple(true, true, false));
    const auto trials = table(a);
    ASSERT_EQ(trials.size(), 80u);
    double sum = 0;
    for (const auto &row : trials) {
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
    // Ctrl-C while the workers run, and once they are done while the file waits for a FIFO reader.
    ASSERT_EQ(mkfifo((dir + "/fifo.csv").c_str(), 0600), 0);
    const struct { const char *sweep, *csv; } rows[] = {
        {"defocus=-1:1:1000000", "out.csv"}, {"defocus=-1:1:3", "fifo.csv"}};
    for (const auto &row : rows) {
        const std::string csv = dir + "/" + row.csv, out = dir + "/stdout", err = dir + "/stderr";
        const pid_t pid = fork();
        if (pid == 0) {
            if (!freopen(err.c_str(), "w", stderr) || !freopen(out.c_str(), "w", stdout)) _exit(99);
            execl(ORVINTA_EXE, ORVINTA_EXE, "--batch", "--sweep", row.sweep, "--jobs", "2", "--csv",
                  csv.c_str(), static_cast<char *>(nullptr));
            _exit(98);
        }
        // The job takes interrupts once its workers run; with the FIFO, waiting for its reader is
        // the only sleep without workers (state S in /proc/PID/stat, seen twice running).
        const std::string proc = "/proc/" + std::to_string(pid);
        const std::string children = proc + "/task/" + std::to_string(pid) + "/children";
        const bool fifo = row.csv == std::string("fifo.csv");
        const auto waiting = [&] {
            const std::string stat = slurp(proc + "/stat");
            return slurp(children).empty() && stat.substr(stat.rfind(')') + 2, 1) == "S";
        };
        std::string workers;
        int seen = 0;
        for (int wait = 0; wait < 400 && (fifo ? seen < 2 : workers.empty()); wait++) {
            usleep(50000);
            workers = slurp(children);
            seen = waiting() ? seen + 1 : 0;
        }
        ASSERT_TRUE(fifo ? seen == 2 : !workers.empty()) << row.csv << ": the job never got there";
        kill(pid, SIGINT);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << row.csv << " " << status;
        std::istringstream ids(workers);
        for (pid_t worker = 0; ids >> worker;)
            EXPECT_NE(kill(worker, 0), 0) << "worker " << worker << " still runs";
        EXPECT_EQ(read("stderr"), "") << row.csv;
        const auto files = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
        EXPECT_EQ(files, 3) << "stdout, stderr, fifo.csv";
    }
}

TEST_F(SweepJob, SweepsReadEveryValueAsNameValueDoes)
{
    // first, last: the column's values in the two rows. 1e-6, the least aspect ratio, as a float.
    const struct { const char *args, *column, *first, *last; } rows[] = {
        {"nCurrentPupilShape=138 --sweep PupilAspectRatio=1e-6:1:2", "PupilAspectRatio",
         "9.99999997e-07", "1"},
        {"nDoCentroidError=1 --sweep NumPixels=3:4.0:2", "NumPixels", "3", "4"},
        {"'fnumber=5.6 ' NumPixels=4.0 --sweep 'defocus= -1 :1 : 2' --seed ' 7 '", "defocus", "-1",
         "1"},
    };
    for (const auto &row : rows) {
        const Invocation r = run(std::string(row.args) + " --csv -");
        ASSERT_EQ(r.status, 0) << row.args << ": " << r.err;
        const auto csv = table(r.out);
        ASSERT_EQ(csv.size(), 2u) << row.args;
        const auto values = std::tuple(csv[0].at(row.column), csv[1].at(row.column));
        EXPECT_EQ(values, std::tuple(row.first, row.last)) << row.args;
    }
}

}  // namespace
