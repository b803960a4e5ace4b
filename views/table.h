// The six table views: every value of a 128 x 128 array as scrolling text, the first index
// across (column j ends at 10 x j characters), the second down (row i is text line i, so
// line 0 stays blank).
#pragma once

#include "platform/win32.h"

// Scroll state and page height are kept per kind, up to the MTF table (19); kinds 4, 5 and 7 to
// 18 are unused slots.
constexpr int TABLE_KIND_SLOTS = 20;
constexpr int TABLE_COLUMN_CHARS = 10;  // characters per column, right edge of column j at 10 j

struct TableView {
    int kind;
    float **const *array;  // the array global, [1..128][1..128]
    const char *format;    // printf format of one cell
    bool (*fill)();        // computes the array before a paint, or null for an array kept
};

// The table a kind shows, or null when the kind is not a table.
const TableView *TableFor(int kind);

// Lines are counted from the top of the table, characters from its left edge.
extern int iVscrollPos[TABLE_KIND_SLOTS], iVscrollMax[TABLE_KIND_SLOTS];
extern int iHscrollPos[TABLE_KIND_SLOTS], iHscrollMax[TABLE_KIND_SLOTS];
// Client height of each table window at its last size message: a page is that window's own
// height, whatever other views were sized since.
extern int cyTableClient[TABLE_KIND_SLOTS];

// One formatted cell; the longest ("%9.3f" of the largest float plus sign and blank) fits.
constexpr int CELL_BUFFER_SIZE = 64;
extern char szBuffer[CELL_BUFFER_SIZE];

// Draws table `kind` at its scroll position into dc. Only cells whose text can reach the
// update rectangle (client pixels) are formatted and drawn; the rest would be clipped anyway.
void PaintTable(HDC dc, int kind, const RECT &update);
