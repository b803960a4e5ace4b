// Names of the graded background fills, and the drawing-state guard the steps use.
#pragma once

#include "charts/graph.h"
#include "platform/gdi.h"

// GradedBkg values: bands bright at the top, bands bright at the bottom, rectangular rings
// bright in the centre, rings dark in the centre. Any other nonzero value fills from the top.
inline constexpr int zGradedFromTop = 1;
inline constexpr int zGradedFromBottom = 2;
inline constexpr int zGradedRingsBrightCentre = 4;
inline constexpr int zGradedRingsDarkCentre = 8;
// The graded fill steps through this many intensities, 4 apart.
inline constexpr int zGradedSteps = 64;

// Copies a label or title into a work buffer, cutting what does not fit; a missing text is
// an empty one. Returns the buffer.
const char *zCopyToWorkBuffer(char (&buffer)[zLabelBufferSize], const char *text);

// Remembers the pen and brush selected in a device context and puts them back when it goes
// out of scope, so that a drawing step leaves the context as it found it.
class zKeepPenAndBrush {
public:
    explicit zKeepPenAndBrush(HDC hdc)
        : hdc_(hdc), pen_(GetCurrentObject(hdc, OBJ_PEN)), brush_(GetCurrentObject(hdc, OBJ_BRUSH))
    {
    }
    ~zKeepPenAndBrush()
    {
        if (pen_) SelectObject(hdc_, pen_);
        if (brush_) SelectObject(hdc_, brush_);
    }
    zKeepPenAndBrush(const zKeepPenAndBrush &) = delete;
    zKeepPenAndBrush &operator=(const zKeepPenAndBrush &) = delete;

private:
    HDC hdc_;
    HGDIOBJ pen_, brush_;
};
