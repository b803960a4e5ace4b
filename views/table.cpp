// The table views: what each shows, and the paint that lays its array out as text.
#include "views/table.h"

#include <algorithm>
#include <cstdio>

#include "optics/settings.h"
#include "optics/transfer_function.h"
#include "views/child.h"

int iVscrollPos[TABLE_KIND_SLOTS], iVscrollMax[TABLE_KIND_SLOTS];
int iHscrollPos[TABLE_KIND_SLOTS], iHscrollMax[TABLE_KIND_SLOTS];
int cyTableClient[TABLE_KIND_SLOTS];
char szBuffer[CELL_BUFFER_SIZE];

namespace {

// Transmission lies in 0..1 and the pupil phase is in waves, so three decimals show them
// whole; the far-field amplitude and phase are the raw transform outputs (a few thousand at
// the peak for a large pupil) and the PSF is scaled to a peak of 100. The MTF lies in 0..1
// and is computed from the PSF at each paint, six decimals filling the column.
const TableView kTables[] = {
    {0, &r_input, "%6.3f", nullptr},   {1, &phase_input, "%7.3f", nullptr},
    {2, &r_output, " %9.3f", nullptr}, {3, &i_output, " %7.3f", nullptr},
    {6, &m_output, " %9.3f", nullptr}, {19, &mtf_output, " %9.6f", compute_mtf_output},
};

// Whether a text ending at x (right-aligned) and at most `width` pixels wide, with glyphs
// overhanging by up to `slack`, can put a pixel in [left, right).
bool ReachesColumns(int x, int width, int slack, const RECT &update)
{
    return x + slack > update.left && x - width - slack < update.right;
}

}  // namespace

const TableView *TableFor(int kind)
{
    for (const TableView &table : kTables)
        if (table.kind == kind) return &table;
    return nullptr;
}

void PaintTable(HDC dc, int kind, const RECT &update)
{
    const TableView *table = TableFor(kind);
    if (!table || !*table->array) return;
    if (table->fill) table->fill();
    float **values = *table->array;

    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int widestChar = tm.tmMaxCharWidth > 0 ? static_cast<int>(tm.tmMaxCharWidth) : 4 * cxChar;
    const int widestCell = (CELL_BUFFER_SIZE - 1) * widestChar;

    // Row i is text line i - iVscrollPos; a line's text lies within its cyChar pixels, and one
    // line of margin on either side covers fonts whose glyphs spill over.
    for (int i = 1; i <= GRID; i++) {
        const int lineTop = (i - iVscrollPos[kind]) * cyChar;
        if (lineTop + 2 * cyChar <= update.top || lineTop - cyChar >= update.bottom) continue;
        for (int j = 1; j <= GRID; j++) {
            const int cellRight = (TABLE_COLUMN_CHARS * j - iHscrollPos[kind]) * cxChar;
            if (!ReachesColumns(cellRight, widestCell, widestChar, update)) continue;
            const int length =
                std::min(std::snprintf(szBuffer, sizeof szBuffer, table->format, values[j][i]),
                         CELL_BUFFER_SIZE - 1);
            if (length <= 0 || !ReachesColumns(cellRight, length * widestChar, widestChar, update))
                continue;
            SetTextAlign(dc, TA_RIGHT | TA_TOP);
            TextOutA(dc, cellRight, lineTop, szBuffer, length);
            SetTextAlign(dc, TA_LEFT | TA_TOP);
        }
    }
}
