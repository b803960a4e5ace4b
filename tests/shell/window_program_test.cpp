// The program binary with and without a window system.
#include "tests/shell/program_harness.h"

namespace {

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

}  // namespace
