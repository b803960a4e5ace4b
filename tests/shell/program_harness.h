// Shared by the tests that run the windowed program headless: one toolkit for the whole test
// run, and the program started through its own entry point with the test body run at its
// first idle moment. Message boxes, dialogs and file dialogs are answered by the test support
// (a dialog or file dialog with no script is cancelled) and recorded.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/app.h"
#include "platform/testing.h"
#include "platform/testing_dialogs.h"
#include "platform/testing_filedlg.h"
#include "platform/window.h"
#include "shell/entry.h"
#include "tests/temp_folder.h"

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

// The main window's caption while no data file is current.
inline constexpr char kDefaultCaption[] = "Orvinta: Diffraction Point Spread Function of Wavefront";
