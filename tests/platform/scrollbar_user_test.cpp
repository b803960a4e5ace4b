// Scroll bars as the user works them: dragging the thumb, letting it go, turning the wheel
// over the bar or over the window. The window asks; the thumb shows only what the program set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"
#include "platform/window_internal.h"

namespace {

struct Request { UINT message; int request; int thumb; };
std::vector<Request> requests;
bool follow = false;  // whether the procedure moves its thumb where a finished move asks

LRESULT CALLBACK ScrollingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
        requests.push_back({message, LOWORD(wParam), HIWORD(wParam)});
        if (follow && LOWORD(wParam) == SB_THUMBPOSITION)
            SetScrollPos(hwnd, message == WM_VSCROLL ? SB_VERT : SB_HORZ, HIWORD(wParam), TRUE);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class ScrollBarUser : public ::testing::Test {
protected:
    void SetUp() override
    {
        requests.clear();
        follow = false;
        WNDCLASSA wc{};
        wc.lpfnWndProc = ScrollingProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "ScrollBarUser";
        ASSERT_NE(RegisterClassA(&wc), 0);
        frame = CreateWindowExA(0, "ScrollBarUser", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
        view = CreateWindowExA(0, "ScrollBarUser", "Table",
                               WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_VSCROLL | WS_HSCROLL, 10, 10, 400, 300,
                               frame, nullptr, nullptr, nullptr);
        ASSERT_NE(view, nullptr);
        testing_process_events();
        SetScrollRange(view, SB_VERT, 0, 91, FALSE);
        SetScrollPos(view, SB_VERT, 45, TRUE);
        SetScrollRange(view, SB_HORZ, 0, 110, FALSE);
        SetScrollPos(view, SB_HORZ, 55, TRUE);
        requests.clear();
    }
    void TearDown() override
    {
        DestroyWindow(frame);
        UnregisterClassA("ScrollBarUser", nullptr);
        testing_process_events();
    }
    QScrollBar *bar(int which) { return view->bars[which]; }

    // One wheel notch (120 eighths of a degree) down (dy < 0) or sideways, sent to a widget.
    static void turn_wheel(QWidget *target, int dx, int dy)
    {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(dx, dy), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &wheel);
    }

    HWND frame = nullptr, view = nullptr;
};

TEST_F(ScrollBarUser, DraggingTheThumbAsksToTrackAndReleasingItAsksToMove)
{
    QScrollBar *vertical = bar(SB_VERT);
    ASSERT_NE(vertical, nullptr);
    vertical->setSliderDown(true);
    vertical->setSliderPosition(60);
    vertical->setSliderPosition(70);
    vertical->setSliderDown(false);
    const std::vector<Request> expected = {
        {WM_VSCROLL, SB_THUMBTRACK, 60},
        {WM_VSCROLL, SB_THUMBTRACK, 70},
        {WM_VSCROLL, SB_THUMBPOSITION, 70},
        {WM_VSCROLL, SB_ENDSCROLL, 0},
    };
    ASSERT_EQ(requests.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); k++) {
        EXPECT_EQ(requests[k].message, expected[k].message) << "request " << k;
        EXPECT_EQ(requests[k].request, expected[k].request) << "request " << k;
        EXPECT_EQ(requests[k].thumb, expected[k].thumb) << "request " << k;
    }
    // The procedure did not move: the thumb goes back to its position.
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 45);
    EXPECT_EQ(vertical->value(), 45);
}

TEST_F(ScrollBarUser, TheWheelOverTheWindowOrTheBarTurnsTheMatchingBar)
{
    // A notch moves the wheel's number of lines, one bar step each.
    const int lines = QApplication::wheelScrollLines();
    ASSERT_GT(lines, 0);
    struct Row { const char *name; bool overBar; int dx, dy; UINT message; int thumb; } rows[] = {
        {"down over the client area", false, 0, -120, WM_VSCROLL, 45 + lines},
        {"up over the client area", false, 0, 120, WM_VSCROLL, 45 - lines},
        {"sideways over the client area", false, -120, 0, WM_HSCROLL, 55 + lines},
        {"down over the vertical bar", true, 0, -120, WM_VSCROLL, 45 + lines},
    };
    for (const Row &row : rows) {
        SetScrollPos(view, SB_VERT, 45, TRUE);
        SetScrollPos(view, SB_HORZ, 55, TRUE);
        requests.clear();
        QWidget *target = row.overBar ? static_cast<QWidget *>(bar(SB_VERT)) : view->client.data();
        turn_wheel(target, row.dx, row.dy);
        ASSERT_EQ(requests.size(), 1u) << row.name;
        EXPECT_EQ(requests[0].message, row.message) << row.name;
        EXPECT_EQ(requests[0].request, SB_THUMBPOSITION) << row.name;
        EXPECT_EQ(requests[0].thumb, row.thumb) << row.name;
        EXPECT_EQ(GetScrollPos(view, SB_VERT), 45) << row.name << ": the program did not move";
        EXPECT_EQ(bar(SB_VERT)->value(), 45) << row.name;
        EXPECT_EQ(bar(SB_HORZ)->value(), 55) << row.name;
    }
}

}  // namespace
