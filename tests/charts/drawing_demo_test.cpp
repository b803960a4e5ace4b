// The demonstration page, drawn into a recording context: its symbols, swatches, pens, bars,
// circles and text boxes where the page's layout puts them, a few pixels of the picture, and
// the context left as found. Expected places are worked out from the layout in comments.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "charts/drawing_demo.h"
#include "platform/dc.h"
#include "tests/charts/recorded.h"

namespace {

class DrawingDemo : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateRecordingDC(kDrawingDemoWidth, kDrawingDemoHeight);
        ASSERT_NE(dc, nullptr);
        objects = GdiLiveObjectCount();
        zDrawingLayerDemonstration(dc);
        for (const RecordedOp &op : RecordedOps(dc))
            byKind[static_cast<int>(op.kind)].push_back(op);
    }
    void TearDown() override { DeleteDC(dc); }
    const std::vector<RecordedOp> &ops(RecordedKind kind) { return byKind[static_cast<int>(kind)]; }
    // The text drawn with this string, or an empty op.
    RecordedOp text(const std::string &s)
    {
        for (const RecordedOp &op : ops(RecordedKind::Text))
            if (op.text == s) return op;
        ADD_FAILURE() << "no text \"" << s << "\"";
        return {};
    }
    HDC dc = nullptr;
    int objects = 0;
    std::vector<RecordedOp> byKind[9];
};

TEST_F(DrawingDemo, LeavesTheContextAsFoundAndPaintsTheDocumentedPixels)
{
    EXPECT_EQ(GdiLiveObjectCount(), objects) << "objects leaked";
    EXPECT_EQ(std::tuple(GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
                         GetCurrentObject(dc, OBJ_FONT)),
              std::tuple(GetStockObject(BLACK_PEN), GetStockObject(WHITE_BRUSH),
                         GetStockObject(SYSTEM_FONT)));
    EXPECT_EQ(std::tuple(GetTextAlign(dc), GetBkMode(dc)),
              std::tuple(UINT(TA_LEFT | TA_TOP), OPAQUE));
    const COLORREF white = RGB(255, 255, 255);
    const struct {
        const char *what;
        int x, y;
        COLORREF expected;
    } rows[] = {
        // Symbol 3, kind 30, from (300, 62) with s = 16: triangle (300,62), (292,78), (308,78),
        // filled in set colour 3 (table entry 13, magenta).
        {"inside the triangle", 300, 72, RGB(255, 0, 255)},
        {"beside the triangle", 292, 66, white},
        // Hatched swatch 0 (horizontal) spans x 110..162, y 166..202: red lines on rows with
        // y mod 8 = 4, the ground left white.
        {"horizontal hatch line", 120, 172, RGB(255, 0, 0)},
        {"between hatch lines", 120, 174, white},
        // Pattern swatch 6 (checkerboard CC CC 33 33 ...) spans x 482..534, y 210..246; the
        // pattern repeats from the origin: column 488 is bit 7 of row 216 mod 8 = 0 (0xCC: set,
        // background), column 490 is bit 5 (clear, text colour = set colour 6, entry 4).
        {"pattern background bit", 488, 216, white},
        {"pattern text bit", 490, 216, RGB(128, 0, 0)},
        {"pattern row 2 flips", 488, 218, RGB(128, 0, 0)},
    };
    for (const auto &row : rows) EXPECT_EQ(GetPixel(dc, row.x, row.y), row.expected) << row.what;
}

// Symbol i hangs from (60 + 80 i, 62) with s = 16, its kind written centred 38 below.
TEST_F(DrawingDemo, SymbolRowHasEveryKindInItsSetColourWithItsNumberBelow)
{
    const auto &polys = ops(RecordedKind::Polygon);
    ASSERT_GE(polys.size(), 6u);
    const struct {
        int kind;
        std::size_t vertices;
        std::string shape;
    } symbols[] = {
        {1, 12, ""},
        {2, 8, ""},
        {4, 4, "(220,62)(210,72)(220,81)(230,72)"},  // half width zRound(9.6), height zRound(19.2)
        {30, 3, "(300,62)(292,78)(308,78)"},         // half width s / 2 = 8, height s
        {31, 3, "(372,62)(388,62)(380,78)"},
        {254, 4, ""},
    };
    std::set<COLORREF> colours;
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE("symbol " + std::to_string(i));
        const RecordedOp &p = polys[i];
        EXPECT_EQ(p.points.size(), symbols[i].vertices);
        if (!symbols[i].shape.empty()) {
            EXPECT_EQ(points_text(p.points), symbols[i].shape);
        }
        for (const POINT &v : p.points)
            EXPECT_TRUE(std::abs(v.x - (60 + 80 * static_cast<int>(i))) <= 10 && v.y >= 62 &&
                        v.y <= 82)
                << v.x << "," << v.y;
        colours.insert(p.brush.color);
        EXPECT_EQ(p.pen.color, RGB(0, 0, 0)) << "outlined in the axis colour";
        const RecordedOp label = text(std::to_string(symbols[i].kind));
        EXPECT_EQ(points_text(label.points), points_text({{60 + 80 * static_cast<LONG>(i), 100}}));
        EXPECT_EQ(label.textAlign, static_cast<UINT>(TA_CENTER | TA_BASELINE));
    }
    EXPECT_EQ(colours.size(), 6u) << "a colour of its own for each set";
    // Kinds 42, 43 and 'o' are characters, their cell's top left at (x - s / 2, y - s).
    const struct {
        const char *text;
        int x;
    } characters[] = {{"*", 532}, {"+", 612}, {"o", 692}};
    for (const auto &c : characters)
        EXPECT_EQ(points_text(text(c.text).points), points_text({{c.x, 46}})) << c.text;
    EXPECT_EQ(points_text(text("111").points), "(700,100)") << "the number of 'o'";
}

// Swatch k of a row starting at y spans x 110 + 62 k .. + 52, y .. y + 36: 10 solid, 6 hatched,
// 10 patterned; then three 3-D bars of depth 10 (three faces each) and a flat one.
TEST_F(DrawingDemo, SwatchesBarsAndCirclesStandWhereTheLayoutPutsThem)
{
    const auto &polys = ops(RecordedKind::Polygon);
    ASSERT_EQ(polys.size(), 6u + 26u + 3u * 3u + 1u);
    const struct {
        int y, count;
        UINT kind;
    } rowsOfSwatches[] = {{122, 10, BS_SOLID}, {166, 6, BS_HATCHED}, {210, 10, BS_PATTERN}};
    std::size_t next = 6;
    for (const auto &row : rowsOfSwatches)
        for (int k = 0; k < row.count; ++k, ++next) {
            SCOPED_TRACE("swatch " + std::to_string(k) + " at y " + std::to_string(row.y));
            const int x = 110 + 62 * k;
            EXPECT_EQ(
                points_text(polys[next].points),
                points_text({{x, row.y}, {x, row.y + 36}, {x + 52, row.y + 36}, {x + 52, row.y}}));
            EXPECT_EQ(polys[next].brush.kind, row.kind);
            if (row.kind == BS_HATCHED) {
                EXPECT_EQ(polys[next].brush.hatch, k);
            }
            if (row.kind == BS_SOLID && k < 6) {
                EXPECT_EQ(polys[next].brush.color, polys[k].brush.color);
            }
        }
    // Bar k from (530 + 50 k, 320 - 15 k) to (+30, 380): its front face comes last.
    for (int k = 0; k < 3; ++k, next += 3) {
        const int x = 530 + 50 * k, top = 320 - 15 * k;
        EXPECT_EQ(points_text(polys[next + 2].points),
                  points_text({{x, top}, {x, 380}, {x + 30, 380}, {x + 30, top}}));
        EXPECT_EQ(points_text(polys[next].points),
                  points_text({{x, top}, {x + 10, top - 10}, {x + 40, top - 10}, {x + 30, top}}))
            << "top of bar " << k;
    }
    EXPECT_EQ(points_text(polys[next].points), "(690,330)(690,380)(720,380)(720,330)");

    // Circles (260, 382) r 24 aspect 1, (330, 382) r 24 aspect 0.5, (400, 382) r 16 aspect 1.5:
    // half heights 24, 12 and 24; each arc starts and ends at its top.
    const auto &arcs = ops(RecordedKind::Arc);
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(points_text(arcs[0].points), "(236,358)(284,406)(260,358)(260,358)");
    EXPECT_EQ(points_text(arcs[1].points), "(306,370)(354,394)(330,370)(330,370)");
    EXPECT_EQ(points_text(arcs[2].points), "(384,358)(416,406)(400,358)(400,358)");
}

// Grid pen style s draws y = 264 + 16 s from x 110 to 410, named at (420, y - 7).
TEST_F(DrawingDemo, GridPensShowTheFiveStylesWithTheirNames)
{
    std::vector<RecordedOp> pens;
    for (const RecordedOp &op : ops(RecordedKind::Line))
        if (op.points[0].x == 110) pens.push_back(op);
    ASSERT_EQ(pens.size(), 5u);
    const struct {
        int style;
        const char *name;
    } rows[] = {{PS_SOLID, "0 solid"},
                {PS_DASH, "1 dash"},
                {PS_DOT, "2 dot"},
                {PS_DASHDOT, "3 dash-dot"},
                {PS_DASHDOTDOT, "4 dash-dot-dot"}};
    for (int s = 0; s < 5; ++s) {
        SCOPED_TRACE(rows[s].name);
        const int y = 264 + 16 * s;
        EXPECT_EQ(points_text(pens[static_cast<std::size_t>(s)].points),
                  points_text({{110, y}, {410, y}}));
        EXPECT_EQ(pens[static_cast<std::size_t>(s)].pen.style, rows[s].style);
        EXPECT_EQ(points_text(text(rows[s].name).points), points_text({{420, y - 7}}));
    }
}

// Each text box is framed by four lines and its text centred on (middle x, middle y + h / 5),
// in a font as high as the box and no wider than 0.6 of that, or the box width over the
// length of the sizing text.
TEST_F(DrawingDemo, TextBoxesAreFramedAndSizedFromTheirRectangles)
{
    const struct {
        const char *text;
        POINT at;
        int height, width;
    } rows[] = {
        // width 0: current font
        {"Drawing layer", {380, 25}, 30, 18},  // 400 / 13 = 30 > zRound(0.6 * 30) = 18
        {"Fits", {120, 468}, 0, 0},
        {"ABCDE", {340, 468}, 40, 24},                                  // 200 / 5 = 40 > 24
        {"Pupil Phase Contour Map, RMS 0.123 wv.", {600, 468}, 40, 7},  // 280 / 38 = 7
        {"Legend entry", {70, 544}, -1, -1},  // the character height: its own test
        {"Empty sizing text", {340, 548}, 40, 1},
        {"Shared size", {600, 548}, 40, 10},  // 280 / 26 = 10
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const RecordedOp t = text(row.text);
        EXPECT_EQ(points_text(t.points), points_text({row.at}));
        EXPECT_EQ(t.textAlign, static_cast<UINT>(TA_CENTER | TA_BASELINE));
        EXPECT_EQ(t.font.stock, row.height == 0);
        if (row.height > 0) {
            EXPECT_EQ(t.font.height, row.height);
        }
        if (row.width > 0) {
            EXPECT_EQ(t.font.width, row.width);
        }
    }
    const auto &lines = ops(RecordedKind::Line);
    const std::string frame =
        "(240,440)(440,440)(440,440)(440,480)(440,480)(240,480)(240,480)(240,440)";
    std::string all;
    for (const RecordedOp &op : lines) all += points_text(op.points);
    EXPECT_NE(all.find(frame), std::string::npos) << "the frame of the second box";
    EXPECT_EQ(lines.size(), 5u + 6u * 4u) << "five pens and six frames";
    for (const char *caption :
         {"Symbols (kind), character width 16:", "Brushes:", "solid", "hatched", "patterns",
          "Grid pens:", "3-D bars (depth 10, 0):", "Circles (aspect 1, 0.5, 1.5):",
          "Text in a rectangle (frame drawn around each):", "new font 40 high, 24 wide"})
        EXPECT_EQ(text(caption).textColor, RGB(0, 0, 0)) << caption;
    EXPECT_EQ(points_text(text("new font 40 high, 24 wide").points), "(240,424)")
        << "16 above its box";
}

}  // namespace
