// Hooks into the message loop for the test support. Internal to platform/.
#pragma once

#include <functional>

// Runs once, the first time GetMessageA finds nothing to do.
void message_loop_set_idle_hook(std::function<void()> hook);
// Forgets queued messages and the hook (between test runs).
void message_loop_reset();
