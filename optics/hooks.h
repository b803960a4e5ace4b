// The two ways the computation reaches the user: the busy cursor while it works, and a short
// message (the centroid error result, or why a PSF is empty). The window shell connects them
// to cursors and message boxes; without a window the cursor does nothing and messages print.
#pragma once

enum class OpticsCursor { Wavefront, FFT, DataSave, Arrow };

struct OpticsHooks {
    void (*set_cursor)(OpticsCursor cursor);
    // A message box with an OK button; beep asks for the default beep before it.
    void (*notify)(const char *caption, const char *text, bool beep);
};

// Installs new hooks and returns the previous ones; null members fall back to the defaults.
OpticsHooks set_optics_hooks(const OpticsHooks &hooks);
void optics_set_cursor(OpticsCursor cursor);
void optics_notify(const char *caption, const char *text, bool beep);
