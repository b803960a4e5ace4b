// The open and save file dialogs: what they show, the questions they ask, and what they hand
// back. Most tests answer the dialogs from a script; one drives the toolkit's own dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/filedlg.h"
#include "platform/testing.h"
#include "platform/testing_filedlg.h"
#include "platform/win32.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const char kFilters[] =
    "Text Files (*.TXT)\0*.txt\0"
    "ASCII Files (*.ASC)\0*.asc\0"
    "All Files (*.*)\0*.*\0"
    "FFT Files (*.FFT)\0*.FFT\0";

// Buffers filled with a mark byte, so that any write, even past the text, shows.
struct Buffers {
    char file[64];
    char title[32];
    Buffers(const char *initial = "")
    {
        std::memset(file, '#', sizeof file);
        std::memset(title, '#', sizeof title);
        std::strcpy(file, initial);
        title[0] = '\0';
    }
};

class FileDialogTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        testing_begin();
    }
    void TearDown() override
    {
        testing_filedlg_end();
        testing_end();
        TempFolderTest::TearDown();
    }

    OPENFILENAMEA description(Buffers &b, DWORD flags)
    {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = kFilters;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = b.file;
        ofn.nMaxFile = sizeof b.file;
        ofn.lpstrFileTitle = b.title;
        ofn.nMaxFileTitle = sizeof b.title;
        ofn.lpstrDefExt = "txt";
        ofn.Flags = flags;
        return ofn;
    }

    std::string make_file(const std::string &name)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << "old\n";
        return path;
    }
};

TEST_F(FileDialogTest, ChosenNameGetsTheDefaultExtensionOnlyWhenItHasNone)
{
    fs::create_directory(dir + "/a.d");
    // The path expected relative to dir, its title, and nFileExtension counted from its end.
    const struct { const char *typed, *defaultExtension, *path, *title; int extension; } rows[] = {
        {"psf1", "txt", "psf1.txt", "psf1.txt", 3},
        {"psf1.asc", "txt", "psf1.asc", "psf1.asc", 3},
        {"psf1.FFT", "txt", "psf1.FFT", "psf1.FFT", 3},
        {"a.d/psf2", "txt", "a.d/psf2.txt", "psf2.txt", 3},  // a dot in the folder is no extension
        {"psf3.", "txt", "psf3.", "psf3.", -1},            // a final dot: the name has one
        {"psf4", nullptr, "psf4", "psf4", 0},             // no default: kept as typed
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        Buffers b;
        OPENFILENAMEA ofn = description(b, 0);
        ofn.lpstrDefExt = row.defaultExtension;
        testing_filedlg_begin({testing_file_choice(dir + "/" + row.typed)});
        ASSERT_NE(GetSaveFileNameA(&ofn), 0);
        const std::string path = dir + "/" + row.path;
        const std::size_t extension = row.extension < 0 ? 0 : path.size() - row.extension;
        EXPECT_EQ(std::tuple(std::string(b.file), std::string(b.title), std::size_t(ofn.nFileOffset)),
                  std::tuple(path, std::string(row.title), path.size() - std::strlen(row.title)));
        EXPECT_EQ(ofn.nFileExtension, extension);
        EXPECT_EQ(CommDlgExtendedError(), 0u);
    }
}

// The questions of the dialogs: each row opens one dialog, answers it with `first`, and
// answers its question (if any) with `reply`; a refused choice keeps the dialog open, and the
// script's second choice is then taken.
TEST_F(FileDialogTest, ReplaceAndCreatePromptsDecideWhetherTheDialogCloses)
{
    struct Row {
        const char *name;
        bool save;
        DWORD flags;
        bool exists;
        int reply;            // IDYES, IDNO, or 0 for no question expected
        const char *question; // the box text expected, after the file name
        bool firstTaken;
    } rows[] = {
        {"save over an existing file, yes", true, OFN_OVERWRITEPROMPT, true, IDYES,
         " already exists.\nDo you want to replace it?", true},
        {"save over an existing file, no", true, OFN_OVERWRITEPROMPT, true, IDNO,
         " already exists.\nDo you want to replace it?", false},
        {"save a new file: no question", true, OFN_OVERWRITEPROMPT, false, 0, "", true},
        {"save without the option: no question", true, 0, true, 0, "", true},
        {"open a missing file, yes", false, OFN_CREATEPROMPT, false, IDYES,
         "\nThis file does not exist.\nDo you want to create it?", true},
        {"open a missing file, no", false, OFN_CREATEPROMPT, false, IDNO,
         "\nThis file does not exist.\nDo you want to create it?", false},
        {"open an existing file: no question", false, OFN_CREATEPROMPT, true, 0, "", true},
        {"open a missing file without the option", false, 0, false, 0, "", true},
    };
    int n = 0;
    for (const Row &row : rows) {
        const std::string first = dir + "/first" + std::to_string(++n) + ".txt";
        const std::string second = dir + "/second" + std::to_string(n) + ".txt";
        if (row.exists) make_file("first" + std::to_string(n) + ".txt");
        // The second choice asks nothing: a new name to save, an existing file to open.
        if (!row.save) make_file("second" + std::to_string(n) + ".txt");
        testing_begin(row.reply ? std::vector<int>{row.reply} : std::vector<int>{});
        testing_filedlg_begin({testing_file_choice(first), testing_file_choice(second)});
        Buffers b;
        OPENFILENAMEA ofn = description(b, row.flags);
        ASSERT_NE(row.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn), 0) << row.name;
        EXPECT_EQ(std::string(b.file), row.firstTaken ? first : second) << row.name;
        EXPECT_EQ(testing_filedlg_requests().size(), 1u) << row.name;
        if (!row.reply) {
            EXPECT_TRUE(testing_message_boxes().empty()) << row.name;
            continue;
        }
        ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
        const TestMessageBox &box = testing_message_boxes()[0];
        EXPECT_EQ(box.text, "first" + std::to_string(n) + ".txt" + row.question) << row.name;
        EXPECT_EQ(box.caption, row.save ? "Save As" : "Open") << row.name;
        EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO)) << row.name;
    }
}

TEST_F(FileDialogTest, ChoicesTheDialogRefusesKeepItOpen)
{
    const std::string longName = dir + "/" + std::string(70, 'x') + ".txt";  // over 64 bytes
    make_file("there.txt");
    fs::create_directory(dir + "/folder");
    struct Row {
        const char *name;
        DWORD flags;
        std::string first;
        const char *boxSays;  // part of the box text; "" when no box is expected
    } rows[] = {
        {"path longer than the buffer", 0, longName, "\nThis path is too long: at most 63 characters."},
        {"folder that does not exist", OFN_CREATEPROMPT, dir + "/none/psf.txt", "/none/psf.txt\nThe folder does not exist."},
        {"file must exist", OFN_FILEMUSTEXIST, dir + "/missing.txt", "missing.txt\nFile not found."},
        {"a folder is opened, not chosen", 0, dir + "/folder", ""},
    };
    for (const Row &row : rows) {
        testing_begin();
        testing_filedlg_begin({testing_file_choice(row.first), testing_file_choice(dir + "/there.txt")});
        Buffers b("initial");
        OPENFILENAMEA ofn = description(b, row.flags);
        ASSERT_NE(GetOpenFileNameA(&ofn), 0) << row.name;
        EXPECT_EQ(std::string(b.file), dir + "/there.txt") << row.name;
        if (!*row.boxSays) {
            EXPECT_TRUE(testing_message_boxes().empty()) << row.name;
            continue;
        }
        ASSERT_EQ(testing_message_boxes().size(), 1u) << row.name;
        EXPECT_NE(testing_message_boxes()[0].text.find(row.boxSays), std::string::npos)
            << row.name << ": " << testing_message_boxes()[0].text;
    }
}

// The toolkit's own dialog, driven through its widgets once it is open: each name of `typed`
// is typed into the name field and confirmed; an empty name presses Cancel.
struct ToolkitUser {
    std::vector<std::string> typed;
    std::size_t step = 0;
    bool opened = false;
    QString title, firstName, folder;
    QStringList shown;
    int current = -1;

    void act()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(20, [this] { act(); });
            return;
        }
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        if (!name) {
            ADD_FAILURE() << "no name field";
            dialog->reject();
            return;
        }
        if (!opened) {
            opened = true;
            title = dialog->windowTitle();
            firstName = name->text();
            folder = dialog->directory().absolutePath();
            if (auto *combo = dialog->findChild<QComboBox *>("fileTypeCombo")) {
                for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
                current = combo->currentIndex();
            }
        }
        if (step >= typed.size()) {
            ADD_FAILURE() << "the dialog stays open after every name was refused";
            dialog->reject();
            return;
        }
        const std::string text = typed[step++];
        if (text.empty()) {
            dialog->reject();  // Cancel
            return;
        }
        name->setText(QString::fromStdString(text));
        static_cast<QDialog *>(dialog)->accept();  // as the Save or Open button does
        if (dialog->isVisible()) QTimer::singleShot(20, [this] { act(); });
    }
};

TEST_F(FileDialogTest, ToolkitDialogListsTheFiltersAddsTheExtensionAndAsksItsQuestions)
{
    testing_filedlg_end();  // no script: the toolkit's dialog opens
    make_file("old.txt");
    make_file("there.txt");
    fs::create_directory(dir + "/sub");
    const QStringList filters = {"Text Files (*.TXT)", "ASCII Files (*.ASC)", "All Files (*.*)", "FFT Files (*.FFT)"};
    struct Row {
        const char *name;
        bool save;
        DWORD flags;
        std::string initial;               // lpstrFile before the dialog
        std::vector<std::string> typed;    // "" presses Cancel
        std::vector<int> replies;          // answers to the questions, in order
        std::string chosen;                // "" for a cancelled dialog
        std::vector<std::string> questions;
    } rows[] = {
        {"save: replace refused, then a new name", true, OFN_OVERWRITEPROMPT, "", {"old", "new"}, {IDNO},
         dir + "/new.txt", {"old.txt already exists.\nDo you want to replace it?"}},
        {"save: replace accepted", true, OFN_OVERWRITEPROMPT, "", {"old.txt"}, {IDYES}, dir + "/old.txt",
         {"old.txt already exists.\nDo you want to replace it?"}},
        {"open: create refused, then an existing file", false, OFN_CREATEPROMPT, "", {"missing", "there"}, {IDNO},
         dir + "/there.txt", {"missing.txt\nThis file does not exist.\nDo you want to create it?"}},
        {"open: the current name is offered, cancel", false, OFN_CREATEPROMPT, dir + "/sub/start.txt", {""}, {},
         "", {}},
    };
    for (const Row &row : rows) {
        testing_begin(row.replies);
        ToolkitUser user;
        user.typed = row.typed;
        QTimer::singleShot(0, [&user] { user.act(); });
        Buffers b(row.initial.c_str());
        const Buffers before = b;
        OPENFILENAMEA ofn = description(b, row.flags);
        ofn.lpstrInitialDir = dir.c_str();
        const BOOL ok = row.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        EXPECT_EQ(ok != 0, !row.chosen.empty()) << row.name;
        EXPECT_EQ(user.title, row.save ? "Save As" : "Open") << row.name;
        EXPECT_EQ(user.shown, filters) << row.name;
        EXPECT_EQ(user.current, 0) << row.name;
        if (row.chosen.empty()) {
            EXPECT_EQ(std::memcmp(b.file, before.file, sizeof b.file), 0) << row.name;
            EXPECT_EQ(std::memcmp(b.title, before.title, sizeof b.title), 0) << row.name;
            EXPECT_EQ(user.firstName, "start.txt") << row.name;
            EXPECT_EQ(user.folder.toStdString(), dir + "/sub") << row.name;
        } else {
            EXPECT_EQ(std::string(b.file), row.chosen) << row.name;
            EXPECT_EQ(std::string(b.title), row.chosen.substr(dir.size() + 1)) << row.name;
            EXPECT_EQ(user.folder.toStdString(), dir) << row.name;
        }
        std::vector<std::string> questions;
        for (const TestMessageBox &box : testing_message_boxes()) questions.push_back(box.text);
        EXPECT_EQ(questions, row.questions) << row.name;
    }
}

}  // namespace
