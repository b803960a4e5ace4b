// Sizing, scrolling and keys of the table windows, driven through the running program: a
// table is opened from the menu, then given size, scroll and key messages as the window
// system would send them.

#include "platform/paint.h"
#include "platform/scrollbar.h"
#include "views/child.h"
#include "views/table.h"
#include "tests/shell/program_harness.h"

namespace {

// The default font as a view measures it, read independently of the window procedure.
struct Metrics { int cx, caps, cy, maxWidth; };
Metrics default_font_metrics()
{
    TEXTMETRICA tm{};
    HDC dc = GetDC(mainhwnd);
    GetTextMetricsA(dc, &tm);
    ReleaseDC(mainhwnd, dc);
    Metrics m{};
    m.cx = static_cast<int>(tm.tmAveCharWidth);
    m.caps = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 3 * m.cx / 2 : m.cx;
    m.cy = static_cast<int>(tm.tmHeight + tm.tmExternalLeading);
    m.maxWidth = 128 * 10 * m.cx + 22 * m.caps;  // 128 columns of 10 characters and a margin
    return m;
}

// Opens a view from its menu command and lets the toolkit settle its real size, so that no
// later layout pass overrides the sizes the tests send.
HWND open_view(UINT id, HWND *handle)
{
    testing_send_command(mainhwnd, id);
    testing_process_events();
    return *handle;
}

LRESULT size(HWND view, int width, int height)
{
    return SendMessageA(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// Puts a table's scroll position (and thumbs) where a row of a test starts.
void place(HWND view, int kind, int line, int character)
{
    iVscrollPos[kind] = line;
    iHscrollPos[kind] = character;
    SetScrollPos(view, SB_VERT, line, TRUE);
    SetScrollPos(view, SB_HORZ, character, TRUE);
}

// Vertical range = max(0, 129 + 2 - lines in the client); horizontal range = max(0, 10 + (line
// width - client width) / cxChar), the quotient truncated toward zero, so a client a part
// character short of line + 10 characters still scrolls 1; each position half its range.
TEST(TableScroll, RangesCountTheClientInWholeLinesAndCharactersAndStartInTheMiddle)
{
    // Client height: lines * cyChar + pixels (-1: a part line of cyChar - 1 pixels); width:
    // line width + chars * cxChar + pixels.
    struct Row { int lines, linePixels, chars, charPixels, vmax, vpos, hmax, hpos; } rows[] = {
        {40, 0, -100, 0, 91, 45, 110, 55},  {40, -1, -100, 1, 91, 45, 109, 54}, {130, 0, 10, -1, 1, 0, 1, 0},
        {200, 0, -1000, 0, 0, 0, 1010, 505}, {0, 0, 40, 0, 131, 65, 0, 0},      {1, 0, 0, 0, 130, 65, 10, 5},
        {131, 0, 10, 0, 0, 0, 0, 0},  // last: with no scroll bar left the toolkit lays the view out anew
    };
    run_program([&] {
        EXPECT_EQ(open_view(IDM_TABLE_PSF, &hwndChildModulusOutput), nullptr) << "no PSF yet";
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const HWND psf = open_view(IDM_TABLE_PSF, &hwndChildModulusOutput);
        ASSERT_NE(psf, nullptr);
        const Metrics m = default_font_metrics();
        for (const Row &row : rows) {
            SCOPED_TRACE(testing::Message() << row.lines << " lines, " << row.chars << " characters");
            const int height = row.lines * m.cy + (row.linePixels < 0 ? m.cy - 1 : row.linePixels);
            const int width = m.maxWidth + row.chars * m.cx + row.charPixels;
            ASSERT_TRUE(width > 0 && width < 65536);
            EXPECT_EQ(size(psf, width, height), 0);
            EXPECT_EQ(iVscrollMax[6], row.vmax);
            EXPECT_EQ(iVscrollPos[6], row.vpos);
            EXPECT_EQ(iHscrollMax[6], row.hmax);
            EXPECT_EQ(iHscrollPos[6], row.hpos);
            int lo = -1, hi = -1;
            GetScrollRange(psf, SB_VERT, &lo, &hi);
            EXPECT_EQ(lo, 0);
            EXPECT_EQ(hi, row.vmax);
            GetScrollRange(psf, SB_HORZ, &lo, &hi);
            EXPECT_EQ(hi, row.hmax);
            EXPECT_EQ(GetScrollPos(psf, SB_VERT), row.vpos);
            EXPECT_EQ(GetScrollPos(psf, SB_HORZ), row.hpos);
            EXPECT_EQ(cxClient, width);
            EXPECT_EQ(cyClient, height);
        }
    });
}

TEST(TableScroll, RequestsAndKeysMoveByLinesCharactersAndPagesWithinTheRange)
{
    // A 40-line client 100 characters narrower than the line: lines 0..91 (a page is 40),
    // characters 0..110 (a page is 8).
    struct Row { const char *name; UINT message; WPARAM param; int fromLine, fromChar, line, character; } rows[] = {
        {"line up", WM_VSCROLL, SB_LINEUP, 45, 55, 44, 55}, {"line down", WM_VSCROLL, SB_LINEDOWN, 45, 55, 46, 55},
        {"page up", WM_VSCROLL, SB_PAGEUP, 45, 55, 5, 55}, {"page down", WM_VSCROLL, SB_PAGEDOWN, 45, 55, 85, 55},
        {"page up stops at the top", WM_VSCROLL, SB_PAGEUP, 5, 55, 0, 55},
        {"page down stops at the bottom", WM_VSCROLL, SB_PAGEDOWN, 85, 55, 91, 55},
        {"line up at the top", WM_VSCROLL, SB_LINEUP, 0, 55, 0, 55},
        {"line down at the bottom", WM_VSCROLL, SB_LINEDOWN, 91, 55, 91, 55},
        {"top", WM_VSCROLL, SB_TOP, 45, 55, 0, 55}, {"bottom", WM_VSCROLL, SB_BOTTOM, 45, 55, 91, 55},
        {"thumb being dragged", WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 45, 55, 45, 55},
        {"thumb released", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 45, 55, 10, 55},
        {"thumb released beyond the end", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 200), 45, 55, 91, 55},
        {"end of scrolling", WM_VSCROLL, SB_ENDSCROLL, 45, 55, 45, 55},
        {"line left", WM_HSCROLL, SB_LINELEFT, 45, 55, 45, 54},
        {"line right", WM_HSCROLL, SB_LINERIGHT, 45, 55, 45, 56},
        {"page left", WM_HSCROLL, SB_PAGELEFT, 45, 55, 45, 47},
        {"page right", WM_HSCROLL, SB_PAGERIGHT, 45, 55, 45, 63},
        {"page left stops at the left edge", WM_HSCROLL, SB_PAGELEFT, 45, 3, 45, 0},
        {"page right stops at the right edge", WM_HSCROLL, SB_PAGERIGHT, 45, 105, 45, 110},
        {"line left at the left edge", WM_HSCROLL, SB_LINELEFT, 45, 0, 45, 0},
        {"horizontal thumb being dragged", WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 45, 55, 45, 55},
        {"horizontal thumb released", WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 45, 55, 45, 7},
        {"horizontal thumb beyond the end", WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500), 45, 55, 45, 110},
        {"Page Up", WM_KEYDOWN, VK_PRIOR, 45, 55, 5, 55}, {"Page Down", WM_KEYDOWN, VK_NEXT, 45, 55, 85, 55},
        {"End", WM_KEYDOWN, VK_END, 45, 55, 91, 55}, {"Home", WM_KEYDOWN, VK_HOME, 45, 55, 0, 55},
        {"Up", WM_KEYDOWN, VK_UP, 45, 55, 44, 55}, {"Down", WM_KEYDOWN, VK_DOWN, 45, 55, 46, 55},
        {"Left: eight characters", WM_KEYDOWN, VK_LEFT, 45, 55, 45, 47},
        {"Right: eight characters", WM_KEYDOWN, VK_RIGHT, 45, 55, 45, 63},
        {"Return does nothing", WM_KEYDOWN, VK_RETURN, 45, 55, 45, 55},
        {"a letter does nothing", WM_KEYDOWN, 'A', 45, 55, 45, 55},
    };
    run_program([&] {
        const HWND view = open_view(IDM_TABLE_TRANSMISSION, &hwndChildRealInput);
        ASSERT_NE(view, nullptr);
        const Metrics m = default_font_metrics();
        size(view, m.maxWidth - 100 * m.cx, 40 * m.cy);
        ASSERT_EQ(iVscrollMax[0], 91);
        ASSERT_EQ(iHscrollMax[0], 110);
        for (const Row &row : rows) {
            place(view, 0, row.fromLine, row.fromChar);
            EXPECT_EQ(SendMessageA(view, row.message, row.param, row.message == WM_KEYDOWN ? 1 : 0), 0) << row.name;
            EXPECT_EQ(iVscrollPos[0], row.line) << row.name;
            EXPECT_EQ(iHscrollPos[0], row.character) << row.name;
            EXPECT_EQ(GetScrollPos(view, SB_VERT), row.line) << row.name;
            EXPECT_EQ(GetScrollPos(view, SB_HORZ), row.character) << row.name;
        }
    });
}

TEST(TableScroll, PlotWindowsIgnoreKeysAndScrollRequests)
{
    run_program([] {
        const HWND table = open_view(IDM_TABLE_TRANSMISSION, &hwndChildRealInput);
        const HWND plot = open_view(IDM_PLOT_TRANS_CONTOUR, &hwndChildInRealPlotCont);
        ASSERT_NE(table, nullptr);
        ASSERT_NE(plot, nullptr);
        const Metrics m = default_font_metrics();
        size(table, m.maxWidth - 100 * m.cx, 40 * m.cy);
        place(table, 0, 45, 55);
        const int plotThumb = GetScrollPos(plot, SB_VERT);
        struct Row { const char *name; UINT message; int param; } rows[] = {
            {"Page Down", WM_KEYDOWN, VK_NEXT}, {"End", WM_KEYDOWN, VK_END},
            {"Home", WM_KEYDOWN, VK_HOME},      {"Left", WM_KEYDOWN, VK_LEFT},
            {"Right", WM_KEYDOWN, VK_RIGHT},    {"Down", WM_KEYDOWN, VK_DOWN},
            {"line down", WM_VSCROLL, SB_LINEDOWN}, {"bottom", WM_VSCROLL, SB_BOTTOM},
            {"page right", WM_HSCROLL, SB_PAGERIGHT}, {"thumb released", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3)},
        };
        for (const Row &row : rows) {
            EXPECT_EQ(SendMessageA(plot, row.message, static_cast<WPARAM>(row.param), 0), 0) << row.name;
            EXPECT_EQ(iVscrollPos[0], 45) << row.name;
            EXPECT_EQ(iHscrollPos[0], 55) << row.name;
            EXPECT_EQ(GetScrollPos(plot, SB_VERT), plotThumb) << row.name;
            EXPECT_TRUE(IsWindow(plot)) << row.name;
        }
        // A plot's size is the last size all the same, but leaves the tables' ranges alone.
        EXPECT_EQ(size(plot, 321, 123), 0);
        EXPECT_EQ(cxClient, 321);
        EXPECT_EQ(cyClient, 123);
        EXPECT_EQ(iVscrollMax[0], 91);
        EXPECT_EQ(iHscrollMax[0], 110);
    });
}

}  // namespace
