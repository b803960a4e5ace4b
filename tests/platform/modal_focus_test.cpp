// What the platform does around modal windows: the owner gets the keyboard focus back when a
// message box or a dialog closes, and the file dialogs name and draw files from their names
// alone, without opening them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/filedlg_internal.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(ModalFocus, TheOwnerHasTheFocusAgainWhenAMessageBoxCloses)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "FocusFrame";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND owner = CreateWindowExA(0, "FocusFrame", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SetFocus(owner);
    testing_process_events();

    for (UINT type : {UINT{MB_OK}, UINT{MB_YESNO} | MB_ICONQUESTION}) {
        // Another window takes the focus while the box is up, as a window manager may leave it.
        QWidget other;
        QWidget *seen_modal = nullptr;
        QTimer::singleShot(0, [&] {
            seen_modal = QApplication::activeModalWidget();
            other.show();
            other.activateWindow();
            QApplication::processEvents();
            if (seen_modal) seen_modal->close();
        });
        MessageBoxA(owner, "Text", "Caption", type);
        testing_process_events();
        EXPECT_NE(seen_modal, nullptr) << "a real box was shown";
        EXPECT_EQ(GetFocus(), owner) << "box type " << type;
    }
    DestroyWindow(owner);
    UnregisterClassA("FocusFrame", nullptr);
    testing_process_events();
}

TEST(FileDialogIcons, TypesComeFromTheNameAloneAndNothingIsOpened)
{
    char templ[] = "/tmp/orvinta-icons-XXXXXX";
    const std::string dir = mkdtemp(templ);
    // A file whose bytes say PNG image but whose name says nothing, a text file, a FIFO that
    // would block whoever opened it, and a folder.
    std::ofstream(dir + "/picture", std::ios::binary) << "\x89PNG\r\n\x1a\n";
    std::ofstream(dir + "/notes.txt") << "%PDF-1.4";
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir + "/folder");
    struct Row {
        const char *name, *type;
    } rows[] = {{"picture", "File"}, {"notes.txt", "TXT File"}, {"pipe", "File"}, {"folder", "Folder"}};
    QAbstractFileIconProvider *provider = filedlg_icon_provider();
    for (const Row &row : rows) {
        const QFileInfo info(QString::fromStdString(dir + "/" + row.name));
        EXPECT_EQ(provider->type(info).toStdString(), row.type) << row.name;
        provider->icon(info);  // must return, even for the FIFO
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
