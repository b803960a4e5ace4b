// Shared by the program's tests: one toolkit for the whole run, the windowed program started
// through its own entry point with the test body run at its first idle moment (boxes and dialogs
// answered and recorded by the test support), and the program binary run as a command.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "optics/settings.h"
#include "platform/app.h"
#include "platform/testing.h"
#include "platform/testing_dialogs.h"
#include "platform/testing_filedlg.h"
#include "platform/window.h"
#include "shell/entry.h"
#include "shell/globals.h"
#include "shell/wndproc.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace program_harness {
class Toolkit : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(platform_start(0, nullptr));
    }
    void TearDown() override { platform_finish(); }
};
inline const auto *const toolkit = ::testing::AddGlobalTestEnvironment(new Toolkit);
}  // namespace program_harness

// Runs the program, with file as its command line when not empty; returns its exit code.
inline int run_program(const std::function<void()> &body, const std::string &file = "")
{
    testing_begin();
    testing_dialogs_begin();
    testing_run_when_idle(body);
    char name[] = "orvinta";
    std::string path = file;
    char *argv[] = {name, file.empty() ? nullptr : path.data(), nullptr};
    const int code = window_main(file.empty() ? 1 : 2, argv);
    testing_filedlg_end();
    testing_dialogs_end();
    testing_end();
    return code;
}

inline std::string caption_of(HWND window)
{
    char text[700];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::vector<std::string> message_texts()
{
    std::vector<std::string> texts;
    for (const TestMessageBox &box : testing_message_boxes()) texts.push_back(box.text);
    return texts;
}

// The main window's caption while no data file is current.
inline constexpr char kDefaultCaption[] = "Orvinta: Diffraction Point Spread Function of Wavefront";

inline std::string slurp(const std::string &path)
{
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

struct Invocation {
    int status;
    std::string out, err;
};

// The program binary run in dir as "env ORVINTA_EXE args"; its output passes through files there.
inline Invocation run_orvinta(const std::string &dir, const std::string &args,
                              const std::string &env = "")
{
    const std::string out = dir + "/stdout", err = dir + "/stderr";
    const int status = std::system(
        ("cd '" + dir + "' && " + env + " " + ORVINTA_EXE + " " + args + " >" + out + " 2>" + err)
            .c_str());
    Invocation result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
}

// The "name: value" lines of the batch job's report.
inline std::map<std::string, std::string> lines_of(const std::string &out)
{
    std::map<std::string, std::string> values;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.find(": ") != std::string::npos)
            values[line.substr(0, line.find(": "))] = line.substr(line.find(": ") + 2);
    return values;
}

inline double number(const std::map<std::string, std::string> &values, const std::string &name)
{
    const auto it = values.find(name);
    return it == values.end() || it->second.empty() ? NAN : std::atof(it->second.c_str());
}
