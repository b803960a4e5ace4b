// Headless test support: drive the program as a user would and watch what it shows, without
// a display (QT_QPA_PLATFORM=offscreen) and without anybody to press OK. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

struct TestMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;  // MB_ flags as passed
};

struct TestWindow {
    HWND hwnd;
    std::string title;
    RECT rect;  // frame rectangle in the parent's client coordinates
    DWORD style;
};

struct TestMenuItem {
    bool found = false;
    std::string text;
    bool grayed = false;
};

// From now on message boxes are not shown: each is recorded and answered with the next
// answer of the script (IDOK once the script is used up). Beeps and cursors are recorded too.
void testing_begin(std::vector<int> answers = {});
// Shows boxes again and forgets everything recorded.
void testing_end();
const std::vector<TestMessageBox> &testing_message_boxes();
int testing_beep_count();
// Names of the cursors shown by SetCursor, in order ("fftCursor", "IDC_ARROW", ...).
const std::vector<std::string> &testing_cursors();
void testing_clear_records();

// Chooses a menu item of a top-level window as the user would: nothing happens when the item
// is missing or greyed (false); otherwise WM_COMMAND goes to the window (true).
bool testing_choose_menu_item(HWND window, UINT id);
// Sends WM_COMMAND for any id, greyed or not.
void testing_send_command(HWND window, UINT id);
TestMenuItem testing_menu_item(HWND window, UINT id);
// The whole menu bar, one line per item in display order: "&File/&Save Data=22",
// "&File/-" for a separator, "&About=90" for a bar item.
std::vector<std::string> testing_menu_outline(HWND window);

// From now on pop-up menus (TrackPopupMenu) are not shown: each is answered with the next id
// of the script (0, nothing chosen, once it is used up) and its item texts are recorded.
void testing_answer_popup_menus(std::vector<UINT> choices);
const std::vector<std::vector<std::string>> &testing_popup_menus();

// The live child windows of a window, in creation order; a status bar is not among them.
std::vector<TestWindow> testing_child_windows(HWND parent);
// Lets the toolkit finish pending layout, paints and deletions.
void testing_process_events();
// The first time the message loop finds nothing to do, body runs; then every top-level
// window still open is closed (WM_CLOSE) so that the loop ends. Use it around the program's
// own entry point to test start-up, commands and shutdown in one run.
void testing_run_when_idle(std::function<void()> body);
// Resizes a top-level window (restoring it first) so that its client area is width x height.
bool testing_resize_client(HWND window, int width, int height);
// Renders a window (frame and children) into a PNG file.
bool testing_grab_window(HWND window, const char *png_path);
// The top-level windows still open.
std::vector<HWND> testing_top_level_windows();
// Presses (down) or releases a key (VK_ESCAPE ...) as the user's key event would, for the key
// state that GetAsyncKeyState reports; works with or without a running application.
void testing_set_key(int vKey, bool down);
