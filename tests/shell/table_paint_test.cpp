// What a table paint draws: for known arrays, the text of each cell, where it lands and how
// it is aligned, recorded through a recording device context.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "optics/nrutil.h"
#include "optics/settings.h"
#include "platform/dc.h"
#include "views/child.h"
#include "views/table.h"

namespace {

constexpr int kWidth = 640, kHeight = 300;

// Gives every table a zeroed array of its own and fixed character metrics (8 x 15 pixels)
// for the length of a test; the program's arrays and metrics come back afterwards.
class TablePaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int k = 0; k < 5; k++) {
            saved[k] = *arrays[k];
            *arrays[k] = matrix(1, 128, 1, 128);
            for (int j = 1; j <= 128; j++)
                for (int i = 1; i <= 128; i++) (*arrays[k])[j][i] = 0.0f;
        }
        savedMetrics[0] = cxChar, savedMetrics[1] = cyChar;
        cxChar = 8, cyChar = 15;
        dc = CreateRecordingDC(kWidth, kHeight);
    }
    void TearDown() override
    {
        DeleteDC(dc);
        for (int k = 0; k < 5; k++) {
            free_matrix(*arrays[k], 1, 128, 1, 128);
            *arrays[k] = saved[k];
        }
        cxChar = savedMetrics[0], cyChar = savedMetrics[1];
        for (int kind : {0, 1, 2, 3, 6}) iVscrollPos[kind] = iHscrollPos[kind] = 0;
    }
    void paint(int kind, int line, int character, RECT update = {0, 0, kWidth, kHeight})
    {
        iVscrollPos[kind] = line;
        iHscrollPos[kind] = character;
        ClearRecordedOps(dc);
        PaintTable(dc, kind, update);
        ops = RecordedOps(dc);
    }
    // The text drawn with its reference point at (x, y), or "(none)".
    std::string text_at(int x, int y, UINT *align = nullptr) const
    {
        for (const RecordedOp &op : ops) {
            if (op.kind != RecordedKind::Text || op.points.empty()) continue;
            if (op.points[0].x == x && op.points[0].y == y) {
                if (align) *align = op.textAlign;
                return op.text;
            }
        }
        return "(none)";
    }
    float ***const arrays[5] = {&r_input, &phase_input, &r_output, &i_output, &m_output};
    float **saved[5] = {};
    int savedMetrics[2] = {};
    HDC dc = nullptr;
    std::vector<RecordedOp> ops;
};

TEST_F(TablePaint, EachCellIsFormattedAndRightAlignedAtTenCharactersPerColumn)
{
    // Column j ends at (10 j - characters scrolled) x 8 pixels; row i's top is at
    // (i - lines scrolled) x 15 pixels.
    struct Row { const char *name; int kind, j, i; float value; int line, character, x, y; const char *text; } rows[] = {
        {"transmission", 0, 1, 1, 0.25f, 0, 0, 80, 15, " 0.250"},
        {"transmission, negative fills the width", 0, 2, 1, -0.5f, 0, 0, 160, 15, "-0.500"},
        {"transmission, zero", 0, 3, 2, 0.0f, 0, 0, 240, 30, " 0.000"},
        {"transmission, scrolled to the middle", 0, 64, 65, 1.0f, 60, 600, 320, 75, " 1.000"},
        {"phase, negative", 1, 2, 3, -0.125f, 0, 0, 160, 45, " -0.125"},
        {"phase, scrolled", 1, 70, 70, 12.5f, 66, 650, 400, 60, " 12.500"},
        {"amplitude, negative fills the width", 2, 3, 1, -1234.5f, 0, 0, 240, 15, " -1234.500"},
        {"amplitude, scrolled to the peak", 2, 65, 65, 100.0f, 60, 600, 400, 75, "   100.000"},
        {"field phase, negative", 3, 1, 2, -2.5f, 0, 0, 80, 30, "  -2.500"},
        {"PSF peak", 6, 5, 5, 100.0f, 0, 0, 400, 75, "   100.000"},
        {"PSF, wider than its field", 6, 2, 4, -123456.75f, 0, 0, 160, 60, " -123456.750"},
        {"amplitude, the largest float is not cut", 2, 1, 6, -FLT_MAX, 0, 0, 80, 90,
         " -340282346638528859811704183484516925440.000"},
    };
    for (const Row &row : rows) {
        (*arrays[row.kind == 6 ? 4 : row.kind])[row.j][row.i] = row.value;
        paint(row.kind, row.line, row.character);
        UINT align = 0xFFFF;
        EXPECT_EQ(text_at(row.x, row.y, &align), row.text) << row.name;
        EXPECT_EQ(align, static_cast<UINT>(TA_RIGHT | TA_TOP)) << row.name;
        (*arrays[row.kind == 6 ? 4 : row.kind])[row.j][row.i] = 0.0f;
    }
}

TEST_F(TablePaint, APartialPaintGivesTheSamePixelsAsDrawingEveryCell)
{
    for (int j = 1; j <= 128; j++)
        for (int i = 1; i <= 128; i++) i_output[j][i] = static_cast<float>((j * 37 + i * 11) % 2000) - 1000.25f;
    struct Row { const char *name; RECT update; } rows[] = {
        {"middle", {150, 100, 420, 160}}, {"left edge", {0, 0, 5, kHeight}},
        {"bottom strip", {0, kHeight - 15, kWidth, kHeight}}, {"one pixel", {319, 150, 320, 151}},
    };
    for (const Row &row : rows) {
        HDC everything = CreateImageDC(kWidth, kHeight);
        iVscrollPos[3] = 40;
        iHscrollPos[3] = 300;
        PaintTable(everything, 3, RECT{-100000, -100000, 100000, 100000});
        paint(3, 40, 300, row.update);
        int differing = 0;
        for (int y = row.update.top; y < row.update.bottom; y++)
            for (int x = row.update.left; x < row.update.right; x++)
                if (GetPixel(dc, x, y) != GetPixel(everything, x, y)) differing++;
        EXPECT_EQ(differing, 0) << row.name;
        DeleteDC(everything);
        // Start the next row on a white page.
        DeleteDC(dc);
        dc = CreateRecordingDC(kWidth, kHeight);
    }
}

}  // namespace
