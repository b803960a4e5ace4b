// Creation of the standard scroll bars. Internal to platform/.
#pragma once

#include "platform/window_internal.h"

class QScrollBar;
class QWidget;

// The bar (SB_HORZ or SB_VERT) of a new window, wired to send its scroll messages.
QScrollBar *scrollbar_create(HWND hwnd, int bar, QWidget *parent);
// The window is going: its bars send nothing more.
void scrollbar_detach(HWND hwnd);
