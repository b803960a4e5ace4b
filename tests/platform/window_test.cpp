// Windows and messages: creation, destruction, the queue, toolkit events, scroll bars, captions,
// focus, menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/menu_internal.h"
#include "platform/qt_convert.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "platform/window_internal.h"

namespace {

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;
LRESULT createResult = 0;
LPVOID createParam = nullptr;
std::vector<UINT> handled;  // messages answered with 0 instead of default processing

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) seen.push_back({hwnd, message, wParam, lParam});
    if (message == WM_CREATE) {
        createParam = reinterpret_cast<const CREATESTRUCTA *>(lParam)->lpCreateParams;
        return createResult;
    }
    if (message == WM_VSCROLL || message == WM_HSCROLL)
        return 0;  // the thumb stays where the program put it
    for (UINT m : handled)
        if (m == message) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen.clear();
        handled.clear();
        createResult = 0;
        createParam = nullptr;
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "TestFrame";
        ASSERT_NE(RegisterClassA(&wc), 0);
        wc.lpszClassName = "MenuFrame";
        wc.lpszMenuName = "Orvinta";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    void TearDown() override
    {
        for (HWND w : testing_top_level_windows()) DestroyWindow(w);
        UnregisterClassA("TestFrame", nullptr);
        UnregisterClassA("MenuFrame", nullptr);
        testing_process_events();
    }
    static HWND top(LPVOID param = nullptr, const char *title = "Top",
                    const char *cls = "TestFrame")
    {
        const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        return CreateWindowExA(0, cls, title, style, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                               param);
    }
    static HWND child(HWND parent, DWORD extra, const char *title)
    {
        const DWORD style = WS_CHILD | WS_VISIBLE | extra;
        return CreateWindowExA(0, "testframe", title, style, 10, 20, 400, 300, parent, nullptr,
                               nullptr, nullptr);
    }
    static HMENU menu_of(HWND window)
    {
        HMENU menu = GetMenu(window);
        EXPECT_NE(menu, nullptr);
        return menu;
    }
    // What a real box showed, and the answer it gave.
    struct ShownBox {
        bool shown = false;
        std::string text, caption;
        Qt::TextFormat format = Qt::AutoText;
        int answer = 0;
    };
    // Shows a real box while the other window takes the focus, as a window manager may leave it;
    // an owner's box is closed as a window manager would, one without an owner with OK.
    static ShownBox show_real_box(HWND owner, UINT type, QWidget &other)
    {
        ShownBox result;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box) {
                result.shown = true;
                result.text = box->text().toStdString();
                result.caption = box->windowTitle().toStdString();
                result.format = box->textFormat();
            }
            other.show();
            other.activateWindow();
            QApplication::processEvents();
            if (box && owner) box->close();
            if (box && !owner) box->done(QMessageBox::Ok);
        });
        result.answer = MessageBoxA(owner, "File <b>x</b>.txt cannot be read!", "Orvinta", type);
        testing_process_events();
        return result;
    }
    // A view with both bars: vertical 0..91 at 45, horizontal 0..110 at 55.
    HWND scrolling_view()
    {
        HWND view = child(top(), WS_CAPTION | WS_VSCROLL | WS_HSCROLL, "Table");
        testing_process_events();
        SetScrollRange(view, SB_VERT, 0, 91, FALSE);
        SetScrollPos(view, SB_VERT, 45, TRUE);
        SetScrollRange(view, SB_HORZ, 0, 110, FALSE);
        SetScrollPos(view, SB_HORZ, 55, TRUE);
        seen.clear();
        return view;
    }
};

TEST_F(Windows, CreateSendsTheCreationParameter)
{
    char param[] = "data.txt";
    EXPECT_NE(top(param), nullptr);
    EXPECT_EQ(createParam, param);  // taken from WM_CREATE
}

TEST_F(Windows, MinusOneFromCreateFailsTheWindow)
{
    createResult = -1;
    EXPECT_EQ(top(), nullptr);
    std::vector<UINT> messages;
    for (const Seen &s : seen) messages.push_back(s.message);
    ASSERT_EQ(messages, (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(seen.front().hwnd));
}

TEST_F(Windows, DestroyReachesTheWindowFirstThenItsChildrenInCreationOrder)
{
    HWND w = top();
    HWND a = child(w, WS_CAPTION | WS_SYSMENU, "A");
    HWND b = child(w, 0, "B");
    HWND b1 = child(b, 0, "B1");
    seen.clear();
    EXPECT_TRUE(DestroyWindow(w));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Seen &s : seen) order.emplace_back(s.hwnd, s.message);
    const std::vector<std::pair<HWND, UINT>> expected = {
        {w, WM_DESTROY},  {a, WM_DESTROY},    {a, WM_NCDESTROY}, {b, WM_DESTROY},
        {b1, WM_DESTROY}, {b1, WM_NCDESTROY}, {b, WM_NCDESTROY}, {w, WM_NCDESTROY},
    };
    EXPECT_EQ(order, expected);
    for (HWND h : {w, a, b, b1}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(Windows, CallsWithoutALiveWindowDoNothing)
{
    HWND w = top();
    DestroyWindow(w);
    PAINTSTRUCT ps;
    EXPECT_FALSE(DestroyWindow(w)) << "a dead window cannot be destroyed twice";
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_EQ(BeginPaint(w, &ps), nullptr);
    EXPECT_EQ(BeginPaint(top(), nullptr), nullptr) << "no paint structure";
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0)) << "not a window";
}

TEST_F(Windows, PostedMessagesComeOutOfTheLoopInOrderUntilQuit)
{
    HWND w = top();
    PostMessageA(w, WM_USER + 1, 11, 0);
    PostMessageA(w, WM_USER + 2, 22, 0);
    PostQuitMessage(5);
    PostMessageA(w, WM_USER + 3, 33, 0);
    // What GetMessageA returned, the message and its wParam; the first is dispatched.
    using Got = std::tuple<BOOL, UINT, WPARAM>;
    std::vector<Got> got;
    MSG msg{};
    seen.clear();
    for (int k = 0; k < 3; ++k) {
        const BOOL more = GetMessageA(&msg, nullptr, 0, 0);
        got.emplace_back(more, msg.message, msg.wParam);
        if (k == 0) DispatchMessageA(&msg);
    }
    const std::vector<Got> expected = {
        {TRUE, WM_USER + 1, 11}, {TRUE, WM_USER + 2, 22}, {FALSE, WM_QUIT, 5}};
    EXPECT_EQ(got, expected);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wParam, 11u);
    // The message posted after the quit message is still there.
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 33u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(WindowKeys, KeysBecomeVirtualKeys)
{
    const struct {
        int qtKey, vk;
    } rows[] = {{Qt::Key_PageUp, VK_PRIOR},
                {Qt::Key_PageDown, VK_NEXT},
                {Qt::Key_End, VK_END},
                {Qt::Key_Home, VK_HOME},
                {Qt::Key_Left, VK_LEFT},
                {Qt::Key_Up, VK_UP},
                {Qt::Key_Right, VK_RIGHT},
                {Qt::Key_Down, VK_DOWN},
                {Qt::Key_Escape, VK_ESCAPE},
                {Qt::Key_A, 'A'},
                {Qt::Key_7, '7'},
                {Qt::Key_F13, 0}};
    for (const auto &row : rows)
        EXPECT_EQ(toVirtualKey(row.qtKey), row.vk) << "qt key " << row.qtKey;
}

TEST_F(Windows, KeyAndMouseEventsReachTheProcedure)
{
    HWND c = child(top(), WS_CAPTION | WS_SYSMENU, "View");
    testing_process_events();
    seen.clear();
    handled = {WM_KEYDOWN, WM_LBUTTONDOWN};
    QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(c->client, &key);
    const QPointF at(12, 34);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(c->client, &press);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(std::tuple(seen[0].message, seen[0].wParam),
              std::tuple(UINT(WM_KEYDOWN), WPARAM(VK_NEXT)));
    EXPECT_EQ(std::tuple(seen[1].message, seen[1].lParam, seen[1].wParam & MK_LBUTTON),
              std::tuple(UINT(WM_LBUTTONDOWN), MAKELPARAM(12, 34), WPARAM(MK_LBUTTON)));
}

// Handled: the toolkit does not see the event. Left to default processing: it does.
TEST_F(Windows, OnlyEventsLeftToDefaultProcessingGoOnToTheToolkit)
{
    HWND c = child(top(), WS_CAPTION | WS_SYSMENU, "View");
    testing_process_events();
    handled = {WM_KEYDOWN};
    QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(c->client, &key);
    EXPECT_TRUE(key.isAccepted());
    handled.clear();
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(c->client, &other);
    EXPECT_FALSE(other.isAccepted());
    // Shift+F10 asks for the context menu, as the menu key does.
    seen.clear();
    QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
    QCoreApplication::sendEvent(c->client, &menuKey);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(std::tuple(seen[0].message, seen[0].wParam),
              std::tuple(UINT(WM_CONTEXTMENU), reinterpret_cast<WPARAM>(c)));
}

TEST_F(Windows, ScrollBarsKeepTheProgramsPositionWithinTheRange)
{
    HWND c = scrolling_view();
    for (const auto &[set, expected, previous] :
         {std::tuple{200, 91, 45}, {-3, 0, 91}, {10, 10, 0}}) {
        EXPECT_EQ(SetScrollPos(c, SB_VERT, set, TRUE), previous) << "set " << set;
        EXPECT_EQ(GetScrollPos(c, SB_VERT), expected) << "set " << set;
    }
    SetScrollRange(c, SB_VERT, 0, 5, FALSE);
    EXPECT_EQ(GetScrollPos(c, SB_VERT), 5) << "clamped into the new range";
}

TEST_F(Windows, EmptyRangeHidesTheBar)
{
    HWND c = scrolling_view();
    SetScrollRange(c, SB_VERT, 0, 0, TRUE);
    EXPECT_TRUE(c->bars[SB_VERT]->isHidden());
    SetScrollRange(c, SB_VERT, 0, 10, TRUE);
    EXPECT_FALSE(c->bars[SB_VERT]->isHidden());
}

// The window asks; the thumb shows only what the program set, and this program sets nothing.
TEST_F(Windows, DraggingTheThumbOrTurningTheWheelAsksToMoveTheMatchingBar)
{
    HWND view = scrolling_view();
    // A wheel notch (120 eighths of a degree) moves the wheel's number of lines, one bar step each.
    const int lines = QApplication::wheelScrollLines();
    EXPECT_GT(lines, 0);
    const auto turn = [view](int dx, int dy) {  // over the client area
        const QPointF global = view->client->mapToGlobal(QPointF(5, 5));
        QWheelEvent e({5, 5}, global, {}, {dx, dy}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->client, &e);
    };
    const auto drag = [view] {
        view->bars[SB_VERT]->setSliderDown(true);
        view->bars[SB_VERT]->setSliderPosition(60);
        view->bars[SB_VERT]->setSliderPosition(70);
        view->bars[SB_VERT]->setSliderDown(false);
    };
    const UINT V = WM_VSCROLL, H = WM_HSCROLL, POSITION = SB_THUMBPOSITION;
    // The scroll requests, in order: message, request, thumb.
    using Request = std::tuple<UINT, int, int>;
    const struct {
        const char *name;
        std::function<void()> act;
        std::vector<Request> requests;
    } rows[] = {
        {"drag to 60 and 70, release",
         drag,
         {{V, SB_THUMBTRACK, 60}, {V, SB_THUMBTRACK, 70}, {V, POSITION, 70}, {V, SB_ENDSCROLL, 0}}},
        {"wheel down", [&] { turn(0, -120); }, {{V, POSITION, 45 + lines}}},
        {"wheel sideways", [&] { turn(-120, 0); }, {{H, POSITION, 55 + lines}}},
    };
    for (const auto &row : rows) {
        seen.clear();
        row.act();
        std::vector<Request> requests;
        for (const Seen &s : seen)
            if (s.message == V || s.message == H)
                requests.emplace_back(s.message, LOWORD(s.wParam), HIWORD(s.wParam));
        EXPECT_EQ(requests, row.requests) << row.name;
        const auto positions = std::tuple(GetScrollPos(view, SB_VERT), view->bars[SB_VERT]->value(),
                                          view->bars[SB_HORZ]->value());
        EXPECT_EQ(positions, std::tuple(45, 45, 55)) << row.name << ": the program did not move";
    }
}

// The caption the window system shows: every character of the text, brackets and stars too.
TEST_F(Windows, CaptionShownAsWrittenWhenCreatedAndWhenChanged)
{
    const struct {
        const char *created, *changed;
    } rows[] = {
        {"Orvinta: Diffraction Point Spread Function of Wavefront", "Orvinta - psf1.txt"},
        {"Orvinta - run[*].txt", "Orvinta - a[*][*]b.txt"},
        {"[*]", "Orvinta - [x]*.txt"},
    };
    for (const auto &row : rows) {
        HWND w = top(nullptr, row.created);
        testing_process_events();
        ASSERT_TRUE(w && w->frame && w->frame->windowHandle()) << row.created;
        EXPECT_EQ(w->frame->windowHandle()->title().toStdString(), row.created);
        SetWindowTextA(w, row.changed);
        EXPECT_EQ(w->frame->windowHandle()->title().toStdString(), row.changed);
        DestroyWindow(w);
    }
}

// A maximized child keeps its title bar inside the main window; the caption stays the program's.
TEST_F(Windows, MaximizingAChildLeavesTheCaptionAlone)
{
    HWND w = top(nullptr, "Main", "MenuFrame");
    HWND c = child(w, WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, "View");
    testing_process_events();
    ShowWindow(c, SW_SHOWMAXIMIZED);
    testing_process_events();
    ASSERT_TRUE(w->frame->windowHandle());
    EXPECT_EQ(w->frame->windowHandle()->title().toStdString(), "Main");
}

TEST_F(Windows, RealMessageBoxShowsMarkupAsPlainText)
{
    QWidget other;
    const ShownBox box = show_real_box(nullptr, UINT{MB_OK} | MB_ICONEXCLAMATION, other);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "File <b>x</b>.txt cannot be read!");
    EXPECT_EQ(box.caption, "Orvinta");
    EXPECT_EQ(box.format, Qt::PlainText);
    EXPECT_EQ(box.answer, IDOK);
}

TEST_F(Windows, ClosedMessageBoxGivesTheOwnerTheFocusBack)
{
    HWND owner = top();
    SetFocus(owner);
    testing_process_events();
    for (UINT type : {UINT{MB_OK}, UINT{MB_YESNO} | MB_ICONQUESTION}) {
        QWidget other;
        EXPECT_TRUE(show_real_box(owner, type, other).shown) << "box type " << type;
        EXPECT_EQ(GetFocus(), owner) << "box type " << type;
    }
}

TEST_F(Windows, MenuItemsAreFoundByCommand)
{
    HMENU menu = menu_of(top(nullptr, "Menus", "MenuFrame"));
    const struct {
        UINT id;
        const char *text;
    } rows[] = {{22, "&Save Data"},      {102, "&Optics Specifications..."},
                {40, "&Review Domains"}, {63, "&PSF"},
                {83, "PSF, Contour"},    {90, "&About"}};
    for (const auto &row : rows) {
        char text[64] = "";
        const int length = GetMenuStringA(menu, row.id, text, sizeof text, MF_BYCOMMAND);
        EXPECT_EQ(length, int(std::strlen(row.text))) << row.id;
        EXPECT_STREQ(text, row.text) << "id=" << row.id;
        EXPECT_EQ(GetMenuState(menu, row.id, MF_BYCOMMAND), 0u) << "id=" << row.id;
    }
    EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), MENU_ITEM_NOT_FOUND);
    // File, Setup, Review Domains, Create PSF, 2 views, About.
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_EQ(GetMenuItemID(menu, 2), 40u);
    EXPECT_EQ(GetMenuItemID(menu, 0), MENU_ITEM_NOT_FOUND) << "a pop-up has no id";
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 7)
        << "File: two items, a separator, Exit, a separator, two loaders";
}

TEST_F(Windows, EnablingAMenuItemGivesItsPreviousState)
{
    HMENU menu = menu_of(top(nullptr, "Menus", "MenuFrame"));
    const struct {
        UINT flags, previous;
        bool grayed;
    } rows[] = {{MF_BYCOMMAND | MF_GRAYED, MF_ENABLED, true},
                {MF_BYCOMMAND | MF_GRAYED, MF_GRAYED, true},
                {MF_BYCOMMAND | MF_ENABLED, MF_GRAYED, false},
                {MF_BYCOMMAND | MF_DISABLED, MF_ENABLED, true}};
    const MenuItem *item = menu_find_by_command(menu, 51);
    ASSERT_TRUE(item && item->action);
    for (const auto &row : rows) {
        EXPECT_EQ(EnableMenuItem(menu, 51, row.flags), row.previous) << "flags=" << row.flags;
        EXPECT_EQ(item->grayed, row.grayed) << "flags=" << row.flags;
        EXPECT_EQ(item->action->isEnabled(), !row.grayed) << "flags=" << row.flags;
    }
    EXPECT_EQ(EnableMenuItem(menu, 4242, MF_GRAYED), MENU_ITEM_NOT_FOUND);
}

// Replacing the text sets the state from the flags too.
TEST_F(Windows, ModifyMenuReplacesTheItemWhole)
{
    HMENU menu = menu_of(top(nullptr, "Menus", "MenuFrame"));
    EnableMenuItem(menu, 51, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_TRUE(ModifyMenuA(menu, 51, MF_BYCOMMAND, 51, "FFT Done"));
    const MenuItem *item = menu_find_by_command(menu, 51);
    ASSERT_TRUE(item && item->action);
    EXPECT_EQ(item->text, "FFT Done");
    EXPECT_FALSE(item->grayed);
    EXPECT_EQ(item->action->text().toStdString(), "FFT Done");
    EXPECT_TRUE(ModifyMenuA(menu, 51, MF_BYCOMMAND | MF_GRAYED, 52, "Other"));
    EXPECT_EQ(menu_find_by_command(menu, 51), nullptr);
    EXPECT_EQ(GetMenuState(menu, 52, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
    EXPECT_FALSE(ModifyMenuA(menu, 51, MF_BYCOMMAND, 51, "gone"));
}

TEST_F(Windows, ChosenMenuItemPostsItsCommand)
{
    HWND window = top(nullptr, "Menus", "MenuFrame");
    MenuItem *about = menu_find_by_command(menu_of(window), 90);
    ASSERT_TRUE(about && about->action);
    about->action->trigger();
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(std::tuple(msg.hwnd, msg.message, LOWORD(msg.wParam)),
              std::tuple(window, UINT(WM_COMMAND), WORD(90)));
}

TEST_F(Windows, GreyedMenuItemCannotBeChosen)
{
    HWND window = top(nullptr, "Menus", "MenuFrame");
    EnableMenuItem(menu_of(window), 90, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_FALSE(testing_choose_menu_item(window, 90));
}

}  // namespace
