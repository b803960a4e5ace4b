// The key state behind GetAsyncKeyState, for platform/ only.
#pragma once

// Follows the key presses and releases of the running application from now on. Called when
// the application starts, so that a key held down before the first query is known.
void keys_track_application();
// Records a press (down) or release of a virtual key, as a key event of the toolkit does.
void keys_record(int vKey, bool down);
