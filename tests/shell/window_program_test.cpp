// The program binary with and without a window system.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int exit_status(const std::string &environment, const std::string &args)
{
    const std::string command = environment + " " + ORVINTA_EXE + " " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WindowProgram, StartsAndQuitsByItsEntryPointsExitStatus)
{
    struct Row { const char *name; const char *environment; const char *args; int status; } rows[] = {
        {"headless window run that quits when idle", "env QT_QPA_PLATFORM=offscreen ORVINTA_QUIT_WHEN_IDLE=1", "", 0},
        {"same with an unreadable data file", "env QT_QPA_PLATFORM=offscreen ORVINTA_QUIT_WHEN_IDLE=1",
         "/nonexistent/psf.txt", 0},
        {"offscreen counts as a window system", "env QT_QPA_PLATFORM=offscreen", "--has-window-system", 0},
        {"no display at all", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", "--has-window-system", 1},
        {"no display: the window cannot start", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", "", 1},
    };
    for (const Row &row : rows) EXPECT_EQ(exit_status(row.environment, row.args), row.status) << row.name;
}

}  // namespace
