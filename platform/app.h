// Starting and ending the toolkit under the windowed program and the tests. Qt-free.
#pragma once

// Creates the application object (once; later calls do nothing). False when no window system
// can be opened.
bool platform_start(int argc, char **argv);
// Destroys the windows still open; the last finish for the first start also frees the
// cursors and the application object (when this layer made it).
void platform_finish();
// Puts the C library's number format back to the decimal point after the toolkit adopted
// the user's locale; every place that creates the application object calls it.
void keep_c_number_format();
// Sends the toolkit's own diagnostics nowhere (a fatal one is still printed); every place
// that creates the application object calls it first.
void route_toolkit_messages();
// Whether a window system can be opened: the toolkit is tried in a child process, so a
// missing display cannot end this one.
bool platform_window_system_available();
