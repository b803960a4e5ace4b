// The program from its command line: --eval, the window program with and without a window system,
// and the batch job: its report, refused arguments, files, pictures, sweeps and random trials.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>

#include "tests/shell/program_harness.h"

namespace {

// The batch job run in the test's folder.
class BatchJob : public TempFolderTest {
protected:
    Invocation run(const std::string &args) { return run_orvinta(dir, "--batch " + args); }
    std::string read(const std::string &name) { return slurp(dir + "/" + name); }
    bool exists(const std::string &name) const { return fs::exists(dir + "/" + name); }
    // The binary run in the folder by an ordinary user (user and group 65534 under the
    // superuser, who may write any file) with files limited to file_limit bytes. Standard output
    // is the file "stdout", or a pipe no one reads; standard error comes back through a pipe.
    Invocation run_as_user(std::vector<std::string> args, rlim_t file_limit, bool unread = false)
    {
        std::vector<char *> argv{const_cast<char *>(ORVINTA_EXE)};
        for (std::string &arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        fs::permissions(dir, fs::perms::all);
        int ends[2], dead[2];
        if (pipe(ends) != 0 || pipe(dead) != 0) return {-1, "", "no pipe"};
        close(dead[0]);
        const pid_t pid = fork();
        if (pid == 0) {
            const rlimit limit{file_limit, file_limit};
            const bool user = geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 &&
                                                 setuid(65534) == 0);
            if (!user || chdir(dir.c_str()) != 0) _exit(99);
            const int out = unread ? dead[1] : open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || dup2(out, 1) != 1 || dup2(ends[1], 2) != 2) _exit(99);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(99);
            execv(ORVINTA_EXE, argv.data());
            _exit(98);
        }
        close(dead[1]);
        close(ends[1]);
        std::string err;
        char buffer[4096];
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
            err.append(buffer, static_cast<std::size_t>(n));
        close(ends[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", err};
    }
};

// What a pupil of radius 40 draws: Q = 128 / (2 * 39.5) = 1.62, undersampled.
const char kUndersampledBy40[] =
    "warning: the PSF is undersampled (Q = 1.62, below 2): FWHM and encircled energy are not "
    "reliable\nwarning: the OTF is aliased (Q = 1.62, below 2): its support, twice the pupil's "
    "width, exceeds the grid, so the MTF is not reliable\n";

// Names in any case; ncenter from the radius; milliradians: (79 / 10) * 0.5. No aberration: the
// centroid sits on the centre, its error printed.
TEST_F(BatchJob, ReportPrintsTheWorkedFiguresOfItsSettings)
{
    const Invocation r = run("hascoma=0 HASZERN26=0 nDoCentroidError=1 NumPixels=4 pupilradius=40 "
                             "nCurrentPSFUnits=171");
    EXPECT_EQ(r.status, 0);
    auto v = lines_of(r.out);
    EXPECT_NEAR(number(v, "wavesrms"), 0.0, 1e-6);
    EXPECT_NEAR(number(v, "xpsfcent"), 0.0, 0.005);
    EXPECT_NEAR(number(v, "ypsfcent"), 0.0, 0.001);
    EXPECT_NEAR(number(v, "XPupilStep"), 10.0 / 79, 1e-7);
    EXPECT_NEAR(number(v, "psf_graph_extent"), 7.9 * 0.5, 1e-5);
    EXPECT_EQ(v["peak"], "65 65");
    EXPECT_EQ(v.count("rmsx") + v.count("rmsy"), 2u);
    EXPECT_EQ(r.err, kUndersampledBy40);
}

TEST_F(BatchJob, StandardErrorCarriesNoToolkitNoiseWithoutARuntimeFolder)
{
    // As under cron: no runtime folder is named, and a picture starts the toolkit.
    const Invocation r = run_orvinta(dir, "--batch --plot psf-3d a.png", "env -u XDG_RUNTIME_DIR");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

// Settings, pictures and sweeps refused: each names its culprit on one line and writes nothing.
TEST_F(BatchJob, RefusedArgumentExitsWithStatus2NamingItsCulprit)
{
    const struct {
        std::string args, message;
    } rows[] = {
        {"nosuch=1 --out r.txt", "unknown setting 'nosuch'"},
        {"fnumber --out r.txt", "'fnumber' is not NAME=VALUE"},
        // Beyond a double: read as its least magnitude, not as 0, or as infinity.
        {"fnumber=1e-400 --out r.txt",
         "orvinta: F-number (fnumber) must be at least 0.001, not 1e-400."},
        {"fnumber=1e999", "F-number (fnumber) must be at most 1000000, not 1e999."},
        {"--out", "--out needs a file name"},
        {"--plot psf-4d A.svg", "psf-4d"},
        {"--size 15x600 --plot psf-3d A.svg", "15x600"},
        {"--size 800x8193 --plot psf-3d A.svg", "800x8193"},
        {"--size 800x --plot psf-3d A.svg", "800x"},
        {"--size 800X600 --plot psf-3d A.svg", "800X600"},
        {"--plot psf-3d A.jpg", "A.jpg"},
        {"--sweep fnumber=-1:1:3 --csv o.csv", "F-number (fnumber) must be above 0, not -1."},
        {"fnumber=0 --sweep defocus=0:1:2 --csv o.csv",
         "F-number (fnumber) must be above 0, not 0."},
        {"--sweep defocus=0:1:4000 --sweep Zern5=0:1:2501 --csv o.csv", "more than 10000000 rows"},
        {"--sweep defocus=0:1:2 --out x.txt", "--out cannot be used"},
        {"--random defocus=0.1 --plot x.png --csv o.csv", "--plot cannot be used"},
        {"--sweep defocus=0:1:2 --trials 3 --csv o.csv", "--trials needs --random"},
        {"--random HasDefocus=0.5 --csv o.csv", "HasDefocus takes whole numbers only"},
        {"--sweep nCurrentPSFUnits=170:172:3 --csv o.csv", "nCurrentPSFUnits cannot be swept"},
        {"--sweep pupilradius=10:20:4 --csv o.csv", "pupilradius takes whole numbers only"},
        {"--sweep defocus=0:1 --csv o.csv", "FROM:TO:STEPS"},
        {"--sweep nosuch=0:1:2 --csv o.csv", "unknown setting 'nosuch'"},
        {"--sweep defocus=0:1:2 --seed '\t-1' --csv o.csv", "--seed needs a whole number from 0"},
        {"--random Zern5=1e308 --csv o.csv", "with SIGMA 1e308: Zernike coefficient Z05 (Zern5)"},
        {"--mtf-at -1", "--mtf-at needs a frequency of at least 0, not -1"},
        {"--zernike-fit noll:rms:232", "--zernike-fit needs ORDER:NORM:N"},
        {"--zernike-csv f.csv", "--zernike-csv needs --zernike-fit"},
        {"--sweep defocus=0:1:2 --zernikes z.csv", "cannot read z.csv: No such file"},
        {"phasemap=m.txt", "m.txt: cannot read: No such file or directory"},
        {"HasPhaseMap=1", "HasPhaseMap is 1, but no phasemap is given"},
        {"--spectrum s.csv", "cannot read s.csv: No such file or directory"},
        {"jitter_x=-1", "Jitter x (RMS) (jitter_x) must be at least 0, not -1."},
        {"--mtf-at 50 --mtf-at 5e1", "--mtf-at 5e1 is given twice"},
        {"--sweep defocus=0:1:2 --mtf m.csv", "--mtf cannot be used"},
        {"--sweep defocus=0:1:2 --shard 0/3 --csv o.csv", "--shard needs K/N"},
        {"--sweep defocus=0:1:2 --shard 4/3 --csv o.csv", "with 1 <= K <= N, not 4/3"},
        {"--sweep defocus=0:1:2 --shard a/b --csv o.csv", "--shard needs K/N"},
        {"--sweep defocus=0:1:2 --shard 1/0 --csv o.csv", "--shard needs K/N"},
        {"--sweep defocus=0:1:2 --shard 1/ --csv o.csv", "--shard needs K/N"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args);
        const Invocation r = run(row.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(std::ranges::count(r.err, '\n'), 1) << r.err;
        EXPECT_TRUE(r.err.ends_with("\n")) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(fs::is_empty(dir));
    }
}

// A dark pupil gives an all-zero PSF; the most decades, 38, clip it at 1e-37, still a normal
// float, so its logarithm is finite and the flat contour draws without a message.
TEST_F(BatchJob, DarkPupilLeavesTheFiguresOfTheLightUndefined)
{
    const Invocation r = run("pupilradius=40 nCurrentObscuration=1 LinearObscuration=2 "
                             "PSFPlotType=177 nPSFdecades=38 --plot psf-contour " +
                             dir + "/c.png");
    EXPECT_EQ(r.status, 0);
    auto v = lines_of(r.out);
    for (const char *name :
         {"strehl", "fwhm_x", "fwhm_y", "ee50_radius", "ee80_radius", "mtf50_x", "mtf50_y"})
        EXPECT_EQ(v.count(name) ? v.at(name) : "(none)", "n/a") << name;
    EXPECT_EQ(v["max_phase_step"], "0");
    EXPECT_EQ(r.err, kUndersampledBy40);
    EXPECT_TRUE(exists("c.png"));
}

// FITS: 2880-byte blocks that open with SIMPLE = T.
TEST_F(BatchJob, FitsEndingWritesTheFitsLayout)
{
    EXPECT_EQ(run("--out psf.fits").status, 0);
    EXPECT_EQ(read("psf.fits").substr(0, 30), "SIMPLE  =                    T");
    EXPECT_EQ(read("psf.fits").size() % 2880, 0u);
}

// The MTF slices of the start-up PSF (500 nm, F/5.6): cut-off 1 / (0.0005 mm x 5.6) =
// 357.142857 cycles/mm, 2 ncenter = 39 steps of 9.15750916, zero frequency first.
TEST_F(BatchJob, MtfFileHoldsTheSlicesFromZeroFrequencyToTheCutOff)
{
    EXPECT_EQ(run("--mtf m.csv").status, 0);
    const std::string text = read("m.csv");
    EXPECT_TRUE(text.starts_with("frequency_cy_per_mm,mtf_x,mtf_y,mtf_diffraction_limit,"
                                 "mtf_diffraction_limit_y\n0,1,1,1,1\n9.15750916,"))
        << text.substr(0, 120);
    EXPECT_EQ(std::ranges::count(text, '\n'), 41);
    EXPECT_NE(text.find("\n357.142857,"), std::string::npos);
}

// A measured spectrum of two lines and jitter along x: the header records both.
TEST_F(BatchJob, FitsHeaderRecordsTheSpectrumAndTheJitter)
{
    std::ofstream(dir + "/s.csv") << "wavelength_nm,weight\n450,1\n550,3\n";
    EXPECT_EQ(run("jitter_x=0.2 --spectrum s.csv --out p.fits").status, 0);
    const std::string header = read("p.fits").substr(0, 4 * 2880);
    for (const char *card : {"NWAVES  =                   2.", "JITTERX =                  0.2",
                             "JITTERY =                   0.", "HIERARCH ORVINTA SPECWAVE2 = 550.",
                             "HIERARCH ORVINTA SPECWGHT2 = 3."})
        EXPECT_NE(header.find(card), std::string::npos) << card;
}

// The map is kept by its absolute path and the checksum of its bytes, which the settings check:
// a file with other bytes is refused against it.
TEST_F(BatchJob, FitsHeaderKeepsThePhaseMapByPathAndChecksum)
{
    std::ofstream(dir + "/m.txt") << "1 2\n3 4\n";
    EXPECT_EQ(run("phasemap=m.txt --out p.fits").status, 0);
    const std::string header = read("p.fits").substr(0, 4 * 2880);
    EXPECT_NE(header.find("PHASEMAP= '" + dir + "/m.txt'"), std::string::npos);
    const std::size_t at = header.find("PMAPSUM = '");
    ASSERT_NE(at, std::string::npos);
    const std::string sum = header.substr(at + 11, 16);
    EXPECT_EQ(run("phasemap=m.txt phasemapsum=" + sum).status, 0);
    std::ofstream(dir + "/m.txt") << "1 2\n3 5\n";
    EXPECT_EQ(run("phasemap=m.txt phasemapsum=" + sum).status, 2);
}

// A fit written as a coefficient file and read back makes the pupil it was fitted to.
TEST_F(BatchJob, FittedCoefficientsReadBackGiveTheSamePsf)
{
    std::ofstream(dir + "/z.csv") << "# ordering=ansi normalisation=peak unit=nm\n4,60\n7,-40\n";
    const Invocation fitted =
        run("HasComa=0 --zernikes z.csv --zernike-fit noll:rms:22 --zernike-csv fit.csv");
    EXPECT_EQ(fitted.status, 0) << fitted.err;
    const Invocation again = run("HasComa=0 --zernikes fit.csv");
    for (const char *figure : {"wavesrms", "strehl", "fwhm_x", "ee80_radius"}) {
        const double first = number(lines_of(fitted.out), figure);
        // The float phase and centroid: a few parts in 1e7.
        EXPECT_NEAR(number(lines_of(again.out), figure), first, 1e-5) << figure;
    }
    EXPECT_TRUE(read("fit.csv").starts_with("# ordering=noll normalisation=rms unit=waves\n1,"));
}

TEST_F(BatchJob, DarkPupilHasNoMtfToWriteOrDraw)
{
    for (const std::string ask : {"--mtf m.csv", "--plot mtf-3d m.png"}) {
        const Invocation r = run("nCurrentObscuration=1 LinearObscuration=2 " + ask);
        EXPECT_EQ(r.status, 1) << ask;
        EXPECT_NE(r.err.find("the pupil lets no light through"), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_empty(dir)) << ask;
    }
}

// "-" is standard output, where the array follows the figures. The start-up transmission: ones
// at columns 64 and 65 of row 45 (128 lines of 128 * 12 + 1 bytes).
TEST_F(BatchJob, OutWritesTheChosenArray)
{
    const Invocation r = run("nCurrentDataSave=540 --out -");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::size_t array = r.out.size() - 128 * 1537;
    EXPECT_EQ(r.out.substr(array + 44 * 1537 + 62 * 12, 36),
              "    0.000000    1.000000    1.000000");
    EXPECT_FALSE(exists("-"));
}

// SVG in device pixels, titled once.
TEST_F(BatchJob, SvgPictureTakesTheSizeInDevicePixels)
{
    EXPECT_EQ(run("--size 640x480 --plot psf-x-slice " + dir + "/a.svg").status, 0);
    const std::string svg = read("a.svg");
    EXPECT_NE(svg.find("viewBox=\"0 0 640 480\""), std::string::npos);
    const std::string title = ">X-Slice (Y=0) of Point Spread Function</text>";
    EXPECT_NE(svg.find(title), std::string::npos);
    EXPECT_EQ(svg.find(title), svg.rfind(title));
}

TEST_F(BatchJob, FailedPictureStopsTheJobKeepingTheEarlierOnes)
{
    const Invocation p = run("--plot psf-x-slice " + dir + "/a.svg --plot psf-y-slice " + dir +
                             "/missing/b.svg --plot phase-3d " + dir + "/c.svg");
    EXPECT_EQ(p.status, 1);
    EXPECT_NE(p.err.find(dir + "/missing/b.svg: No such file or directory"), std::string::npos)
        << p.err;
    EXPECT_TRUE(exists("a.svg"));
    EXPECT_FALSE(exists("c.svg"));
}

// Every writer: a file the user may not write, a reader that has gone, a file-size limit; each a
// failed write with its path and reason, status 1.
TEST_F(BatchJob, FailedWriteIsReportedWithStatus1)
{
    for (const char *name : {"ro.csv", "ro.txt"}) {
        std::ofstream(dir + "/" + name) << "old\n";
        fs::permissions(dir + "/" + name, fs::perms::owner_read | fs::perms::others_read);
    }
    const rlim_t NONE = RLIM_INFINITY;
    const struct {
        std::vector<std::string> args;
        rlim_t limit;
        bool unread;
        const char *err;  // after "cannot write "
    } rows[] = {
        {{"--batch", "--sweep", "defocus=-1:1:3", "--csv", "ro.csv"},
         NONE,
         false,
         "ro.csv: Permission denied"},
        {{"--batch", "--out", "ro.txt"}, NONE, false, "ro.txt: Permission denied"},
        // The limit stops the rows streaming into the new file after the header and a few rows.
        {{"--batch", "--sweep", "defocus=-1:1:20", "--csv", "big.csv"},
         2000,
         false,
         "big.csv: File too large"},
        {{"--batch"}, NONE, true, "standard output: Broken pipe"},
        {{"--batch"}, 0, false, "standard output: File too large"},
        {{"--eval", "1", "2", "3"}, 0, false, "standard output: File too large"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.err);
        const Invocation r = run_as_user(row.args, row.limit, row.unread);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, std::string("orvinta: cannot write ") + row.err + "\n");
    }
    EXPECT_EQ(read("ro.txt"), "old\n");
    const auto files = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    EXPECT_EQ(files, 3) << "ro.csv, ro.txt, stdout: no part of big.csv";
}

TEST_F(BatchJob, PictureForDashIsAnSvgOnStandardOutput)
{
    const Invocation r = run("--plot psf-x-slice -");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.ends_with("</svg>\n"));
    EXPECT_FALSE(exists("-"));
}

// Each error is one line on standard error; a value is printed with up to 17 digits.
TEST(EvalCommand, PrintsTheValueOrWhyThereIsNone)
{
    const struct {
        std::vector<std::string> args;  // after --eval
        int status;
        const char *out, *errStart;
    } rows[] = {
        {{"x*y", "2", "3"}, 0, "6\n", ""},
        {{"0.1", "0", "0"}, 0, "0.10000000000000001\n", ""},
        {{"sqrt(-1)", "0", "0"}, 0, "nan\n", ""},
        {{"SIN X", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"},
        {{"1"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "a", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "2", "3x"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        std::vector<std::string> storage = row.args;
        std::vector<char *> argv;
        for (std::string &a : storage) argv.push_back(a.data());
        argv.push_back(nullptr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(eval_main(static_cast<int>(row.args.size()), argv.data()), row.status);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.out);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(err.starts_with(row.errStart)) << err;
        EXPECT_EQ(std::ranges::count(err, '\n'), *row.errStart ? 1 : 0) << err;
        EXPECT_EQ(storage, row.args) << "the arguments are left as given";
    }
}

using WindowProgram = TempFolderTest;

TEST_F(WindowProgram, ExitStatusTellsWhetherTheWindowCouldStart)
{
    const char *const headless = "env QT_QPA_PLATFORM=offscreen ORVINTA_QUIT_WHEN_IDLE=1";
    const char *const noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const struct {
        const char *environment, *args;
        int status;
    } rows[] = {
        {headless, "", 0},                 // a run that quits when idle
        {headless, "missing/psf.txt", 0},  // the same with an unreadable data file
        {"env QT_QPA_PLATFORM=offscreen", "--has-window-system", 0},
        {noDisplay, "--has-window-system", 1},
        {noDisplay, "", 1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run_orvinta(dir, row.args, row.environment).status, row.status)
            << row.environment << " " << row.args;
}

// The toolkit and CFITSIO (with its thirty network libraries) load only for the jobs that use
// them; the dynamic loader names each library it opens (LD_DEBUG=files).
TEST_F(WindowProgram, JobsLoadOnlyTheLibrariesTheyUse)
{
    const struct {
        const char *args, *library;
        bool loaded;
    } rows[] = {
        {"--batch", "libQt6Core", false},
        {"--batch", "libcfitsio", false},
        {"--batch --out psf.txt", "libQt6Core", false},
        {"--eval X+Y 1 2", "libQt6Core", false},
        {"--batch --out psf.fits", "libcfitsio", true},
        {"--batch --plot psf-x-slice slice.svg", "libQt6Core", true},
    };
    for (const auto &row : rows) {
        const Invocation run = run_orvinta(dir, row.args, "env LD_DEBUG=files");
        EXPECT_EQ(run.status, 0) << row.args;
        EXPECT_EQ(run.err.find(row.library) != std::string::npos, row.loaded)
            << row.args << ": " << row.library;
    }
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
        if (names.empty()) {
            names = fields;
            continue;
        }
        CsvRow &row = rows.emplace_back();
        for (std::size_t k = 0; k < names.size() && k < fields.size(); k++)
            row[names[k]] = fields[k];
    }
    return rows;
}

class SweepJob : public BatchJob {
protected:
    // 40 trials scattering fnumber 1 and defocus 0 for each of two pupil radii.
    std::string trials(const std::string &options)
    {
        const Invocation r = run("fnumber=1 --random fnumber=1 --random defocus=0.1 --trials 40 "
                                 "--sweep pupilradius=10:20:2 --csv - " +
                                 options);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
};

// Rows numbered from 1, each value stepping from the first to the last; names in any case.
TEST_F(SweepJob, TwoSweepsGiveTheProductWithTheLastFastest)
{
    const Invocation r = run("HasDefocus=1 HasComa=0 HasZern26=0 --sweep FNUMBER=4:8:3 --csv "
                             "out.csv --sweep Wavelength=400:600:2 --jobs 2");
    EXPECT_EQ(r.status, 0) << r.err;
    const auto rows = table(read("out.csv"));
    ASSERT_EQ(rows.size(), 6u);
    for (int k = 0; k < 6; k++) {
        const double fnumber = 4 + 2 * (k / 2), wavelength = k % 2 ? 600 : 400;
        EXPECT_EQ(rows[k].at("row"), std::to_string(k + 1));
        EXPECT_EQ(number(rows[k], "fnumber"), fnumber) << k;
        EXPECT_EQ(number(rows[k], "wavelength"), wavelength) << k;
        // The PSF scales with lambda F: its width in microns follows the product.
        EXPECT_NEAR(number(rows[k], "fwhm_x_um") / number(rows[0], "fwhm_x_um"),
                    fnumber * wavelength / 1600, 1e-4)
            << k;
    }
}

// A random phase pattern's generator starts afresh for each row, as in a single run, also
// within one worker.
TEST_F(SweepJob, EveryRowIsTheSingleRunOfItsSettings)
{
    const std::string base =
        "nDoCentroidError=1 nCurrentPhasePattern=503 HasZern5=1 nCurrentPSFUnits=172";
    const Invocation r = run(base + " --sweep PhasePatternPeriod=2:4:2 --random zern5=0.2 "
                                    "--trials 2 --jobs 1 --csv - --mtf-at 0.05");
    EXPECT_EQ(r.status, 0) << r.err;
    const auto rows = table(r.out);
    EXPECT_EQ(rows.size(), 4u);
    const char *const figures[] = {
        "wavesrms",           "strehl",   "fwhm_x_arcsec", "fwhm_y_arcsec", "ee50_radius_arcsec",
        "ee80_radius_arcsec", "xpsfcent", "ypsfcent",      "rmsx",          "rmsy"};
    for (const auto &row : rows) {
        SCOPED_TRACE("row " + row.at("row"));
        const Invocation single = run(base + " PhasePatternPeriod=" + row.at("PhasePatternPeriod") +
                                      " Zern5=" + row.at("Zern5") + " --mtf-at 0.05");
        EXPECT_EQ(single.status, 0) << single.err;
        const CsvRow printed = lines_of(single.out);
        for (const std::string column : figures)  // the report names a figure without its unit
            EXPECT_EQ(row.at(column), printed.at(column.substr(0, column.find("_arcsec"))))
                << column;
        EXPECT_EQ(row.at("peak_i") + " " + row.at("peak_j"), printed.at("peak"));
        EXPECT_EQ(row.at("mtf50_x_cy_per_arcsec"), printed.at("mtf50_x"));
        EXPECT_EQ(row.at("mtf_y@0.05"), printed.at("mtf_y@0.05"));
    }
}

// A coefficient file and a phase map are part of every row's settings.
TEST_F(SweepJob, CoefficientFileAndPhaseMapHoldInEveryRow)
{
    std::ofstream(dir + "/z.csv") << "# ordering=noll normalisation=rms unit=waves\n11,0.05\n";
    std::ofstream(dir + "/m.txt") << "0 0.2\n0.1 0\n";
    const std::string base = "HasComa=0 phasemap=m.txt --zernikes z.csv";
    const Invocation r = run(base + " --sweep phasemapscale=0:2:2 --jobs 1 --csv -");
    EXPECT_EQ(r.status, 0) << r.err;
    const auto rows = table(r.out);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto &row : rows) {
        const Invocation single = run(base + " phasemapscale=" + row.at("phasemapscale"));
        const CsvRow printed = lines_of(single.out);
        for (const char *column : {"wavesrms", "strehl"})
            EXPECT_EQ(row.at(column), printed.at(column)) << row.at("row") << " " << column;
    }
}

// The default seed is 1; the number of workers changes nothing.
TEST_F(SweepJob, TrialsDependOnTheSeedOnly)
{
    const std::string first = trials("--jobs 1");
    EXPECT_EQ(trials("--jobs 2"), first);
    EXPECT_EQ(trials("--jobs 3 --seed 1"), first);
    EXPECT_NE(trials("--seed 2"), first);
}

// The sweep is the outer loop: the 40 trials of radius 10, then those of radius 20. fnumber 1
// with SIGMA 1 goes below its least value 0.001 one time in six and is drawn again.
TEST_F(SweepJob, EachSweptValueGetsItsTrialsDrawnWithinRange)
{
    const std::string csv = trials("");
    const auto rows = table(csv);
    EXPECT_EQ(rows.size(), 80u);
    double sum = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE("row " + row.at("row"));
        EXPECT_EQ(number(row, "pupilradius"), std::stoi(row.at("row")) <= 40 ? 10 : 20);
        EXPECT_GE(number(row, "fnumber"), 0.001);
        sum += number(row, "defocus");
    }
    EXPECT_NEAR(sum / 80, 0.0, 0.05);  // 4 standard errors of 0.1 / sqrt(80)
    const std::size_t redrawn = csv.rfind("\n# redrawn: ");
    ASSERT_NE(redrawn, std::string::npos);
    EXPECT_GT(std::stoi(csv.substr(redrawn + 12)), 0);
}

// Ctrl-C while the workers run: status 130, no worker left, no message, no file.
TEST_F(SweepJob, InterruptStopsTheJobWritingNothing)
{
    const std::string csv = dir + "/out.csv", out = dir + "/stdout", err = dir + "/stderr";
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(err.c_str(), "w", stderr) || !freopen(out.c_str(), "w", stdout)) _exit(99);
        execl(ORVINTA_EXE, ORVINTA_EXE, "--batch", "--sweep", "defocus=-1:1:1000000", "--jobs", "2",
              "--csv", csv.c_str(), static_cast<char *>(nullptr));
        _exit(98);
    }
    // The job takes interrupts once its workers run.
    const std::string children =
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
    std::string workers;
    for (int wait = 0; wait < 400 && workers.empty(); wait++) {
        usleep(50000);
        workers = slurp(children);
    }
    EXPECT_NE(workers, "") << "no worker ever ran";
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 130) << status;
    std::istringstream ids(workers);
    for (pid_t worker = 0; ids >> worker;)
        EXPECT_NE(kill(worker, 0), 0) << "worker " << worker << " still runs";
    EXPECT_EQ(read("stderr"), "");
    const auto files = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    EXPECT_EQ(files, 2) << "stdout, stderr";
}

// The shards' files put together in order are the file of one run: the header once, every row
// in order, the whole job's count of redraws last (fnumber 1 with SIGMA 3 goes below 0.001 about
// one draw in three, so early shards have redraws too). 5 shards of 3 rows and 15 of 12 leave
// some empty. The one run has three workers that take chunks of one row in turn (12 rows into
// 4 x 3 chunks), the shards one worker: the chunks are written in row order.
TEST_F(SweepJob, ShardsPutTogetherAreTheFileOfOneRun)
{
    const char *const sweep = "--sweep defocus=-1:1:3";
    const char *const trials = "fnumber=1 --random fnumber=3 --trials 12 --seed 4";
    const struct {
        const char *args;
        long shards;
        long lines;  // the header, the rows and the count of redraws
    } rows[] = {
        {sweep, 1, 4},   {sweep, 2, 4},   {sweep, 5, 4},
        {trials, 2, 14}, {trials, 3, 14}, {trials, 15, 14},
    };
    for (const auto &row : rows) {
        const std::string args = std::string(row.args) + " --csv - --jobs ";
        SCOPED_TRACE(args + " shards " + std::to_string(row.shards));
        const Invocation whole = run(args + "3");
        EXPECT_EQ(whole.status, 0) << whole.err;
        EXPECT_EQ(std::ranges::count(whole.out, '\n'), row.lines);
        std::string joined;
        for (long k = 1; k <= row.shards; k++) {
            const Invocation shard =
                run(args + "1 --shard " + std::to_string(k) + "/" + std::to_string(row.shards));
            EXPECT_EQ(shard.status, 0) << shard.err;
            joined += shard.out;
        }
        EXPECT_EQ(joined, whole.out);
    }
}

TEST_F(SweepJob, SweepsReadEveryValueAsNameValueDoes)
{
    // first, last: the column's values in the two rows. 1e-6, the least aspect ratio, as a float.
    const struct {
        const char *args, *column, *first, *last;
    } rows[] = {
        {"nCurrentPupilShape=138 --sweep PupilAspectRatio=1e-6:1:2", "PupilAspectRatio",
         "9.99999997e-07", "1"},
        {"nDoCentroidError=1 --sweep NumPixels=3:4.0:2", "NumPixels", "3", "4"},
        {"'fnumber=5.6 ' NumPixels=4.0 --sweep 'defocus= -1 :1 : 2' --seed ' 7 '", "defocus", "-1",
         "1"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args);
        const Invocation r = run(std::string(row.args) + " --csv -");
        EXPECT_EQ(r.status, 0) << r.err;
        const auto csv = table(r.out);
        ASSERT_EQ(csv.size(), 2u);
        EXPECT_EQ(csv[0].at(row.column), row.first);
        EXPECT_EQ(csv[1].at(row.column), row.last);
    }
}

}  // namespace
