// Hostile input through the real program: settings at and beyond their ranges in the batch
// job, output paths that must not be replaced, a FIFO named on the window program's command
// line, and where the file dialog starts after a failed save.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <thread>

#include "tests/shell/program_harness.h"

namespace {

Invocation batch(const std::string &dir, const std::string &args) { return run_orvinta(dir, "--batch " + args); }
double figure(const std::string &out, const std::string &name) { return number(lines_of(out), name); }

// Every "name: number" line but the notes and the peak holds a finite number.
bool all_finite(const std::string &out)
{
    for (const auto &[name, value] : lines_of(out))
        if (name.rfind("note", 0) != 0 && name != "peak" && !std::isfinite(std::strtod(value.c_str(), nullptr))) return false;
    return true;
}

using HostileInput = TempFolderTest;

TEST_F(HostileInput, SettingsAtAndBeyondTheirRangesGiveOneMessageOrFiniteFigures)
{
    const double startup_rms = figure(batch(dir, "").out, "wavesrms");
    ASSERT_NEAR(startup_rms, 0.160, 0.0005);
    struct Row {
        const char *args;
        const char *message;  // "" when accepted
        double rms_low = 0, rms_high = 0;  // the accepted run's wavesrms lies within
    } rows[] = {
        {"fnumber=0", "F-number (fnumber) must be above 0, not 0."},
        {"fnumber=1e-50", "F-number (fnumber) must be at least 0.001, not 1e-50."},
        {"fnumber=1e-320", "F-number (fnumber) must be at least 0.001, not 1e-320."},
        {"fnumber=1e-400", "F-number (fnumber) must be at least 0.001, not 1e-400."},
        {"fnumber=3.4e38", "F-number (fnumber) must be at most 1000000, not 3.4e38."},
        {"fnumber=3.5e38", "F-number (fnumber) must be at most 1000000, not 3.5e38."},
        {"fnumber=1e999", "F-number (fnumber) must be at most 1000000, not 1e999."},
        {"fnumber=abc", "F-number (fnumber) must be a number."}, {"fnumber=0.001", "", 0.159, 0.161},
        {"fnumber=1000000", "", 0.159, 0.161},
        {"pupildia=1e-50", "Pupil X-extent (pupildia) must be at least 1e-06, not 1e-50."},
        {"pupildia=3e38", "Pupil X-extent (pupildia) must be at most 1000000000, not 3e38."},
        {"PupilAspectRatio=1e-50", "Aspect ratio (y/x) (PupilAspectRatio) must be at least 1e-06, not 1e-50."},
        {"wavelength=-1", "Wavelength (nm) (wavelength) must be above 0, not -1."},
        {"spherical=1e17", "Spherical (spherical) must be at most 1000000, not 1e17."},
        {"Zern37=-1000000.5", "Zernike coefficient Z37 (Zern37) must be at least -1000000, not -1000000.5."},
        {"pupilradius=2.5", "Pupil radius (steps) (pupilradius) must be a whole number, not 2.5."},
        {"PhasePatternPeriod=2147483648", "Pattern period (steps) (PhasePatternPeriod) must be at most 2147483647, not 2147483648."},
        {"PhasePlateSteps=-2147483649", "Phase plate edge (steps) (PhasePlateSteps) must be at least -2147483648, not -2147483649."},
        // The RMS of rho^4 over the unit disc is sqrt(1/5 - 1/9) = 0.2981; a million waves of
        // spherical aberration (coma and Z26 off) gives about 298000 waves.
        {"HasComa=0 HasZern26=0 HasSpherical=1 spherical=1000000", "", 2.9e5, 3.07e5},
        // Periods and plate edges beyond the grid put no pattern on it and the whole pupil on
        // one side of the plate: the start-up RMS stays.
        {"nCurrentPhasePattern=501 PhasePatternPeriod=2147483617", "", 0.159, 0.161},
        {"nCurrentPhasePattern=502 PhasePatternPeriod=2147483647", "", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=2147483584", "", 0.159, 0.161},
        {"nHasPhasePlate=1 PhasePlateSteps=-2147483648", "", 0.159, 0.161},
        // The far corners of the ranges together.
        {"wavelength=1e9 fnumber=1e6 pupilradius=2147483647 nCurrentPSFUnits=172", "", 0, 1},
        {"wavelength=0.001 fnumber=0.001 pupildia=1e-6 nCurrentPupUnits=135", "", 0.159, 0.161},
        {"HasZern37=1 Zern37=1e6 nCurrentPupilShape=138 PupilAspectRatio=1e6 pupilradius=1", "", 1e30, 1e36},
    };
    for (const Row &row : rows) {
        const Invocation r = batch(dir, row.args);
        if (*row.message) {
            EXPECT_EQ(r.status, 2) << row.args;
            EXPECT_EQ(r.err, std::string("orvinta: ") + row.message + "\n") << row.args;
            EXPECT_EQ(r.out, "") << row.args;
            continue;
        }
        EXPECT_EQ(r.status, 0) << row.args << ": " << r.err;
        EXPECT_TRUE(all_finite(r.out)) << row.args << ":\n" << r.out;
        const double rms = figure(r.out, "wavesrms");
        EXPECT_TRUE(rms >= row.rms_low && rms <= row.rms_high) << row.args << ": wavesrms " << rms;
        EXPECT_GT(figure(r.out, "psf_graph_extent"), 0.0) << row.args;
    }
}

TEST_F(HostileInput, TheBatchJobWritesDevicesAndDescriptorsDirectlyAndRefusesFolders)
{
    // Standard output redirected to a file, the array named through a link to descriptor 1:
    // the figures come first, then the 128 lines, in the one file.
    fs::create_symlink("/dev/fd/1", dir + "/stdout-link");
    const std::string text = batch(dir, "--out stdout-link").out;
    EXPECT_EQ(text.rfind("wavesrms: ", 0), 0u) << text.substr(0, 40);
    const std::size_t array = text.find("\n", text.find("max_phase_step: ")) + 1;
    EXPECT_EQ(text.size() - array, 128u * (128 * 12 + 1)) << "the whole array after the figures";
    EXPECT_TRUE(fs::is_symlink(dir + "/stdout-link"));
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(fifo); });
    const Invocation to_fifo = batch(dir, "--out " + fifo);
    reader.join();
    EXPECT_EQ(to_fifo.status, 0) << to_fifo.err;
    EXPECT_EQ(received.size(), 128u * (128 * 12 + 1));
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "still a FIFO";
    fs::create_directory(dir + "/folder");
    const Invocation to_folder = batch(dir, "--out " + dir + "/folder");
    EXPECT_EQ(to_folder.status, 1);
    EXPECT_EQ(to_folder.err, "orvinta: cannot write " + dir + "/folder: Is a directory\n");
    EXPECT_TRUE(fs::is_empty(dir + "/folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3) << "nothing left beside them";
}

TEST_F(HostileInput, AFifoOnTheCommandLineCannotBeReadAndDoesNotStopTheStartUp)
{
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    run_program(
        [&] {
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            EXPECT_EQ(testing_message_boxes()[0].text, "File pipe cannot be read!");
            SendMessageA(mainhwnd, WM_CLOSE, 0, 0);
        },
        fifo);
}

TEST_F(HostileInput, AfterAFailedSaveTheDialogOffersTheNameInTheLastGoodFolder)
{
    fs::create_directory(dir + "/good");
    fs::create_directory(dir + "/bad");
    const std::string socket_path = dir + "/bad/sock.txt";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    run_program([&] {
        testing_begin({IDYES, IDOK});  // replace the socket? yes; "File Open failed": OK
        testing_filedlg_begin({testing_file_choice(dir + "/good/a.txt"), testing_file_choice(socket_path),
                               testing_file_cancel(), testing_file_choice(dir + "/good/b.txt"),
                               testing_file_cancel()});
        for (int k = 0; k < 5; k++) {
            testing_choose_menu_item(mainhwnd, IDM_SAVEAS);
            if (k == 2) {
                EXPECT_EQ(std::string(szFileName), socket_path) << "a cancelled dialog keeps the current name";
            }
        }
        const auto &requests = testing_filedlg_requests();
        ASSERT_EQ(requests.size(), 5u);
        ASSERT_EQ(testing_message_boxes().size(), 2u);
        EXPECT_EQ(testing_message_boxes()[1].text, "File Open failed");
        EXPECT_EQ(requests[1].initialName, dir + "/good/a.txt");
        EXPECT_EQ(requests[2].initialName, "sock.txt") << "the failed folder is not offered";
        EXPECT_EQ(requests[2].initialFolder, dir + "/good");
        EXPECT_EQ(requests[4].initialName, dir + "/good/b.txt") << "a good save is offered again in full";
        EXPECT_EQ(requests[4].initialFolder, "");
    });
    ::close(s);
}

}  // namespace
