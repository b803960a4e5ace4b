// Menus, resource scripts, cursors and message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cursor_internal.h"
#include "platform/menu_internal.h"
#include "platform/resources_internal.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "platform/window_internal.h"

namespace {

TEST(ProgramResources, ImagesAndCursorsExistWithTheirSizesAndHotSpots)
{
    const QImage bitmap = resource_image("BITMAP", "orvintabmp");
    EXPECT_EQ(bitmap.size(), QSize(64, 64));
    EXPECT_FALSE(resource_icon("orvinta").isNull());
    for (const char *name : {"fftCursor", "WavefrontCursor", "DataSaveCursor"}) {
        QPoint hot(-1, -1);
        const QImage image = resource_cursor_image(name, &hot);
        EXPECT_EQ(image.size(), QSize(32, 32)) << name;
        EXPECT_EQ(hot, QPoint(16, 16)) << name;
    }
    EXPECT_TRUE(resource_image("BITMAP", "nothing").isNull());
    HBITMAP loaded = LoadBitmapA(nullptr, "ORVINTABMP");
    EXPECT_NE(loaded, nullptr) << "names compare without case";
    DeleteObject(loaded);
}

TEST(MessageBoxes, AnsweredFromTheScriptAndRecorded)
{
    testing_begin({IDCANCEL, IDNO});
    EXPECT_EQ(MessageBoxA(nullptr, "first", "One", UINT(MB_OKCANCEL) | UINT(MB_ICONQUESTION)), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Two", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "third", nullptr, MB_OK), IDOK) << "script used up: OK";
    MessageBeep(0);
    MessageBeep(MB_ICONEXCLAMATION);
    ASSERT_EQ(testing_message_boxes().size(), 3u);
    struct Row {
        const char *text, *caption;
        UINT type;
    } rows[] = {{"first", "One", UINT(MB_OKCANCEL) | UINT(MB_ICONQUESTION)}, {"second", "Two", MB_YESNO}, {"third", "Error", MB_OK}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(testing_message_boxes()[k].text, rows[k].text);
        EXPECT_EQ(testing_message_boxes()[k].caption, rows[k].caption) << rows[k].text;
        EXPECT_EQ(testing_message_boxes()[k].type, rows[k].type) << rows[k].text;
    }
    EXPECT_EQ(testing_beep_count(), 2);
    testing_end();
    EXPECT_TRUE(testing_message_boxes().empty());
}

std::vector<UINT> commands;

LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = MenuOwnerProc;
        wc.lpszClassName = "MenuOwner";
        wc.lpszMenuName = "Orvinta";
        ASSERT_NE(RegisterClassA(&wc), 0);
        window = CreateWindowExA(0, "MenuOwner", "Menus", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        menu = GetMenu(window);
        ASSERT_NE(menu, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        UnregisterClassA("MenuOwner", nullptr);
    }
    HWND window = nullptr;
    HMENU menu = nullptr;
};

TEST_F(MenuTest, ItemsAreFoundByCommandAnywhereInTheTree)
{
    struct Row {
        UINT id;
        const char *text;
    } rows[] = {{22, "&Save Data"}, {102, "&Optics Specifications..."}, {40, "&Review Domains"},
                {63, "&PSF"},       {83, "PSF, Contour"},               {90, "&About"}};
    for (const Row &row : rows) {
        char text[64] = "";
        EXPECT_EQ(GetMenuStringA(menu, row.id, text, sizeof text, MF_BYCOMMAND),
                  static_cast<int>(std::strlen(row.text)));
        EXPECT_STREQ(text, row.text) << "id=" << row.id;
        EXPECT_EQ(GetMenuState(menu, row.id, MF_BYCOMMAND), 0u) << "id=" << row.id;
    }
    EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), MENU_ITEM_NOT_FOUND);
    EXPECT_EQ(GetMenuItemCount(menu), 7);  // File, Setup, Review Domains, Create PSF, two View menus, About
    EXPECT_EQ(GetMenuItemID(menu, 2), 40u);
    EXPECT_EQ(GetMenuItemID(menu, 0), MENU_ITEM_NOT_FOUND) << "a pop-up has no id";
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4) << "File: two items, a separator, Exit";
}

TEST_F(MenuTest, EnableAndModifyChangeTheItemAndItsAction)
{
    struct Row { UINT flags; UINT previous; bool grayed; } rows[] = {
        {MF_BYCOMMAND | MF_GRAYED, MF_ENABLED, true},
        {MF_BYCOMMAND | MF_GRAYED, MF_GRAYED, true},
        {MF_BYCOMMAND | MF_ENABLED, MF_GRAYED, false},
        {MF_BYCOMMAND | MF_DISABLED, MF_ENABLED, true},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(EnableMenuItem(menu, 51, row.flags), row.previous) << "flags=" << row.flags;
        const MenuItem *item = menu_find_by_command(menu, 51);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->grayed, row.grayed);
        ASSERT_TRUE(item->action);
        EXPECT_EQ(item->action->isEnabled(), !row.grayed);
    }
    EXPECT_EQ(EnableMenuItem(menu, 4242, MF_GRAYED), MENU_ITEM_NOT_FOUND);

    // Replacing the text sets the state from the flags too: the item comes back enabled.
    EXPECT_TRUE(ModifyMenuA(menu, 51, MF_BYCOMMAND, 51, "FFT Done"));
    const MenuItem *item = menu_find_by_command(menu, 51);
    EXPECT_EQ(item->text, "FFT Done");
    EXPECT_FALSE(item->grayed);
    EXPECT_EQ(item->action->text().toStdString(), "FFT Done");
    EXPECT_TRUE(ModifyMenuA(menu, 51, MF_BYCOMMAND | MF_GRAYED, 52, "Other"));
    EXPECT_EQ(menu_find_by_command(menu, 51), nullptr);
    EXPECT_EQ(GetMenuState(menu, 52, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
    EXPECT_FALSE(ModifyMenuA(menu, 51, MF_BYCOMMAND, 51, "gone"));
}

TEST_F(MenuTest, ChoosingAnItemPostsItsCommandToTheOwner)
{
    MenuItem *about = menu_find_by_command(menu, 90);
    ASSERT_TRUE(about && about->action);
    about->action->trigger();
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(LOWORD(msg.wParam), 90);

    // A greyed item cannot be chosen.
    EnableMenuItem(menu, 90, MF_BYCOMMAND | MF_GRAYED);
    about->action->trigger();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(testing_choose_menu_item(window, 90));
    commands.clear();
    EXPECT_TRUE(testing_choose_menu_item(window, 25)) << "Exit is enabled";
    EXPECT_EQ(commands, std::vector<UINT>{25});
}

}  // namespace
