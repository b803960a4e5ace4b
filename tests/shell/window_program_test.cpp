// The program binary with and without a window system.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/temp_folder.h"

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
    for (const auto &row : rows) {
        // The program's own output goes to a file in the test's folder.
        const std::string command = std::string(row.environment) + " " + ORVINTA_EXE + " " + row.args + " >" + dir +
                                    "/output.txt 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, row.status) << row.name;
    }
}

}  // namespace
