// File dialogs (scripted and the toolkit's own), dialog templates, message boxes, resources,
// file titles.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/cursor_internal.h"
#include "platform/dialog_template.h"
#include "platform/filedlg.h"
#include "platform/filedlg_internal.h"
#include "platform/resources_internal.h"
#include "platform/testing.h"
#include "platform/testing_filedlg.h"
#include "platform/win32.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string kReplace = "old.txt already exists.\nDo you want to replace it?";
const std::string kCreate = "new.txt\nThis file does not exist.\nDo you want to create it?";

// Buffers filled with a mark byte, so that any write, even past the text, shows.
struct Buffers {
    char file[64];
    char title[32];
    explicit Buffers(const char *initial = "")
    {
        std::memset(file, '#', sizeof file);
        std::memset(title, '#', sizeof title);
        std::strcpy(file, initial);
        title[0] = '\0';
    }
};

// Drives the toolkit's dialog: types and confirms each name of `typed`; an empty name presses
// Cancel.
struct ToolkitUser {
    explicit ToolkitUser(std::vector<std::string> names) : typed(std::move(names)) {}
    std::vector<std::string> typed;
    std::size_t step = 0;
    QString title, firstName, folder;
    QStringList shown;
    int current = -1;

    void act()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) return QTimer::singleShot(20, [this] { act(); });
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        if (!name || step >= typed.size()) {
            ADD_FAILURE() << (name ? "the dialog stays open after every name was refused"
                                   : "no name field");
            return dialog->reject();
        }
        if (step == 0) {
            title = dialog->windowTitle();
            firstName = name->text();
            folder = dialog->directory().absolutePath();
            if (auto *combo = dialog->findChild<QComboBox *>("fileTypeCombo")) {
                for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
                current = combo->currentIndex();
            }
        }
        const std::string text = typed[step++];
        if (text.empty()) return dialog->reject();  // Cancel
        name->setText(QString::fromStdString(text));
        static_cast<QDialog *>(dialog)->accept();  // as the Save or Open button does
        if (dialog->isVisible()) QTimer::singleShot(20, [this] { act(); });
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
    static OPENFILENAMEA description(Buffers &b, DWORD flags)
    {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter =
            "Text Files (*.TXT)\0*.txt\0ASCII Files (*.ASC)\0*.asc\0All Files (*.*)\0*.*\0"
            "FFT Files (*.FFT)\0*.FFT\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = b.file;
        ofn.nMaxFile = sizeof b.file;
        ofn.lpstrFileTitle = b.title;
        ofn.nMaxFileTitle = sizeof b.title;
        ofn.lpstrDefExt = "txt";
        ofn.Flags = flags;
        return ofn;
    }
    void make_file(const std::string &name) { std::ofstream(dir + "/" + name) << "old\n"; }
    // Shows the toolkit's own dialog (no script) in the test's folder to user.
    BOOL toolkit_dialog(bool save, DWORD flags, ToolkitUser &user, Buffers &b)
    {
        QTimer::singleShot(0, [&user] { user.act(); });
        OPENFILENAMEA ofn = description(b, flags);
        ofn.lpstrInitialDir = dir.c_str();
        return save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    }
    // Answers the next dialog with these paths, one per time it is shown.
    static void choose(std::initializer_list<std::string> paths)
    {
        std::vector<TestFileDialogAnswer> choices;
        for (const std::string &p : paths) choices.push_back(testing_file_choice(p));
        testing_filedlg_begin(choices);
    }
};

TEST_F(FileDialogTest, ChosenNameGetsTheEndingOfTheChosenTypeOnlyWhenItHasNone)
{
    fs::create_directory(dir + "/a.d");
    // The path expected relative to dir, its title, and nFileExtension counted from its end;
    // the type chosen (0: the first, as shown).
    struct Row {
        const char *typed, *defaultExtension, *path, *title;
        int extension, type = 0;
    };
    const Row rows[] = {
        {"psf1", "txt", "psf1.txt", "psf1.txt", 3},
        {"psf1.asc", "txt", "psf1.asc", "psf1.asc", 3},
        {"a.d/psf2", "txt", "a.d/psf2.txt", "psf2.txt", 3},  // a dot in the folder is no extension
        {"psf3.", "txt", "psf3.", "psf3.", -1},              // a final dot: the name has one
        {"psf5", "txt", "psf5.FFT", "psf5.FFT", 3, 4},       // "*.FFT": the type's own ending
        {"psf6", "txt", "psf6.txt", "psf6.txt", 3, 3},       // "*.*" names none: the default
        {"psf7", nullptr, "psf7", "psf7", 0, 4},             // no default: no ending at all
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        Buffers b;
        OPENFILENAMEA ofn = description(b, 0);
        ofn.lpstrDefExt = row.defaultExtension;
        testing_filedlg_begin({testing_file_choice(dir + "/" + row.typed, row.type)});
        EXPECT_NE(GetSaveFileNameA(&ofn), 0);
        EXPECT_EQ(ofn.nFilterIndex, DWORD(row.type ? row.type : 1));
        const std::string path = dir + "/" + row.path;
        const std::size_t extension = row.extension < 0 ? 0 : path.size() - row.extension;
        EXPECT_EQ(std::string(b.file), path);
        EXPECT_EQ(std::string(b.title), row.title);
        EXPECT_EQ(ofn.nFileOffset, path.size() - std::strlen(row.title));
        EXPECT_EQ(ofn.nFileExtension, extension);
        EXPECT_EQ(CommDlgExtendedError(), 0u);
    }
}

// Answers `first`, then `reply` to any question; a refused choice leaves the script's second one.
TEST_F(FileDialogTest, EachQuestionOrRefusalDecidesWhetherTheDialogCloses)
{
    make_file("old.txt");
    make_file("there.txt");
    fs::create_directory(dir + "/folder");
    const std::string too_long = ".txt\nThis path is too long: at most 63 characters.";
    const std::string no_folder = "/none/psf.txt\nThe folder does not exist.";
    // `box`: the whole text of a question, a part of the text of a refusal, "" for no box.
    const struct {
        const char *name;
        bool save;
        DWORD flags;
        std::string first;
        int reply;
        std::string box;
        bool firstTaken;
    } rows[] = {
        {"save over a file, yes", true, OFN_OVERWRITEPROMPT, "old.txt", IDYES, kReplace, true},
        {"save over a file, no", true, OFN_OVERWRITEPROMPT, "old.txt", IDNO, kReplace, false},
        {"save a new file: no question", true, OFN_OVERWRITEPROMPT, "new.txt", 0, "", true},
        {"save without the option: no question", true, 0, "old.txt", 0, "", true},
        {"open a missing file, yes", false, OFN_CREATEPROMPT, "new.txt", IDYES, kCreate, true},
        {"open a missing file, no", false, OFN_CREATEPROMPT, "new.txt", IDNO, kCreate, false},
        {"open an existing file: no question", false, OFN_CREATEPROMPT, "old.txt", 0, "", true},
        {"open a missing file without the option", false, 0, "new.txt", 0, "", true},
        {"path longer than the buffer (64)", false, 0, std::string(70, 'x'), 0, too_long, false},
        {"open in a missing folder", false, OFN_CREATEPROMPT, "none/psf.txt", 0, no_folder, false},
        {"save in a missing folder", true, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, "none/psf.txt",
         0, no_folder, false},
        {"file must exist", false, OFN_FILEMUSTEXIST, "gone.txt", 0, "gone.txt\nFile not found.",
         false},
        {"a folder is opened, not chosen", false, 0, "folder", 0, "", false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        testing_begin(row.reply ? std::vector<int>{row.reply} : std::vector<int>{});
        const std::string second = dir + (row.save ? "/fresh.txt" : "/there.txt");  // asks nothing
        choose({dir + "/" + row.first, second});
        Buffers b("initial");
        OPENFILENAMEA ofn = description(b, row.flags);
        EXPECT_NE(row.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn), 0);
        EXPECT_EQ(std::string(b.file), row.firstTaken ? dir + "/" + row.first : second);
        EXPECT_EQ(testing_filedlg_requests().size(), 1u);
        const std::vector<TestMessageBox> &boxes = testing_message_boxes();
        EXPECT_EQ(boxes.size(), row.box.empty() ? 0u : 1u);
        if (row.box.empty() || boxes.empty()) continue;
        if (row.reply) {
            EXPECT_EQ(boxes[0].text, row.box);
        } else {
            EXPECT_NE(boxes[0].text.find(row.box), std::string::npos) << boxes[0].text;
        }
        EXPECT_EQ(boxes[0].caption, row.save ? "Save As" : "Open");
        EXPECT_EQ(boxes[0].type & MB_TYPEMASK, row.reply ? UINT(MB_YESNO) : UINT(MB_OK));
    }
}

// The dialog shows its title, every filter with the first chosen, and the current name in its
// folder.
TEST_F(FileDialogTest, CancelledToolkitDialogShowsItsSetUpWritingNothing)
{
    fs::create_directory(dir + "/sub");
    const QStringList filters = {"Text Files (*.TXT)", "ASCII Files (*.ASC)", "All Files (*.*)",
                                 "FFT Files (*.FFT)"};
    const struct {
        bool save;
        DWORD flags;
        const char *title, *current, *name, *folder;
    } rows[] = {
        {true, OFN_OVERWRITEPROMPT, "Save As", "", "", ""},
        {false, OFN_CREATEPROMPT, "Open", "/sub/start.txt", "start.txt", "/sub"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.title);
        Buffers b(*row.current ? (dir + row.current).c_str() : "");
        const Buffers before = b;
        ToolkitUser user({""});
        EXPECT_EQ(toolkit_dialog(row.save, row.flags, user, b), 0);
        EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0);
        EXPECT_EQ(user.title, row.title);
        EXPECT_EQ(user.shown, filters);
        EXPECT_EQ(user.current, 0);
        EXPECT_EQ(user.firstName, row.name);
        EXPECT_EQ(user.folder.toStdString(), dir + row.folder);
        EXPECT_TRUE(testing_message_boxes().empty());
    }
}

TEST_F(FileDialogTest, ToolkitDialogAsksItsQuestionsThenTakesTheNextName)
{
    make_file("old.txt");
    make_file("there.txt");
    // Each first name gets the default extension, and its question is answered no.
    const struct {
        const char *name;
        bool save;
        DWORD flags;
        std::vector<std::string> typed;
        std::string chosen, question;
    } rows[] = {
        {"save: replace refused", true, OFN_OVERWRITEPROMPT, {"old", "new"}, "new.txt", kReplace},
        {"open: create refused", false, OFN_CREATEPROMPT, {"new", "there"}, "there.txt", kCreate},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        testing_begin({IDNO});
        ToolkitUser user(row.typed);
        Buffers b;
        EXPECT_NE(toolkit_dialog(row.save, row.flags, user, b), 0);
        EXPECT_EQ(std::string(b.file), dir + "/" + row.chosen);
        EXPECT_EQ(std::string(b.title), row.chosen);
        EXPECT_EQ(user.folder.toStdString(), dir);
        std::vector<std::string> questions;
        for (const TestMessageBox &box : testing_message_boxes()) questions.push_back(box.text);
        EXPECT_EQ(questions, std::vector{row.question});
    }
}

// Nothing is opened (a FIFO would block): PNG bytes without a name say nothing, a ".txt" name
// says TXT.
TEST_F(FileDialogTest, IconTypeComesFromTheNameAlone)
{
    std::ofstream(dir + "/picture", std::ios::binary) << "\x89PNG\r\n\x1a\n";
    std::ofstream(dir + "/notes.txt") << "%PDF-1.4";
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    fs::create_directory(dir + "/folder");
    const struct {
        const char *name, *type;
    } rows[] = {
        {"picture", "File"},
        {"notes.txt", "TXT File"},
        {"pipe", "File"},
        {"folder", "Folder"},
    };
    QAbstractFileIconProvider *provider = filedlg_icon_provider();
    for (const auto &row : rows) {
        const QFileInfo info(QString::fromStdString(dir + "/" + row.name));
        EXPECT_EQ(provider->type(info).toStdString(), row.type) << row.name;
        provider->icon(info);  // must return, even for the FIFO
    }
}

TEST(FileTitles, TitleIsTheLastPartOfThePath)
{
    const struct {
        const char *path;
        WORD size;
        short result;
        const char *title;
    } rows[] = {
        {"/home/u/psf1.txt", 512, 0, "psf1.txt"},
        {"psf1.txt", 512, 0, "psf1.txt"},
        {"C:\\data\\a b.dat", 512, 0, "a b.dat"},
        {"/home/u/psf1.txt", 4, 9, ""},  // too small: the size needed, terminator included
        {"/home/u/", 512, -1, ""},
        {"", 512, -1, ""},
    };
    for (const auto &row : rows) {
        char title[512] = "";
        EXPECT_EQ(GetFileTitleA(row.path, title, row.size), row.result) << "path=" << row.path;
        EXPECT_STREQ(title, row.title) << "path=" << row.path;
    }
}

// A dialog template as the program loads it: every control that carries an id, in order, as
// "id kind text" with kind E edit, G group box, R radio button, C check box, P either push
// button; the text character for character. The analysis options hold every kind.
TEST(DialogTemplateTexts, EveryControlWithAnIdHasItsKindAndText)
{
    const std::map<DialogControlKind, char> letter = {
        {DialogControlKind::Edit, 'E'},        {DialogControlKind::GroupBox, 'G'},
        {DialogControlKind::RadioButton, 'R'}, {DialogControlKind::CheckBox, 'C'},
        {DialogControlKind::PushButton, 'P'},  {DialogControlKind::DefPushButton, 'P'}};
    const DialogTemplate *t = dialog_template_find("AnalyOptDlg");
    ASSERT_NE(t, nullptr);
    std::string shown;
    for (const DialogControlTemplate &c : t->controls) {
        if (c.id == -1) continue;
        const char kind = letter.count(c.kind) ? letter.at(c.kind) : '?';
        if (!shown.empty()) shown += '|';
        shown += std::to_string(c.id) + ' ' + kind + ' ' + c.text;
    }
    const std::string expected =
        "174 G Plot PSF versus ...|175 G image space position in|170 R microns|"
        "185 G object space angle in|171 R milliradians|172 R arc seconds|178 G PSF plot type|"
        "176 R linear|177 R logarithmic|179 E 4.0|180 C Zoom plot|173 E 20|"
        "183 C Do Centroid Error Analysis (Slow!)|181 R 3 by 3|182 R 4 by 4|1 P OK|2 P Cancel";
    EXPECT_EQ(shown, expected);
}

TEST(MessageBoxes, ScriptAnswersEachBoxInTurnThenOk)
{
    testing_begin({IDCANCEL, IDNO});
    const UINT question = UINT(MB_OKCANCEL) | UINT(MB_ICONQUESTION);
    EXPECT_EQ(MessageBoxA(nullptr, "first", "One", question), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Two", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "third", nullptr, MB_OK), IDOK) << "script used up: OK";
    using Box = std::tuple<std::string, std::string, UINT>;
    std::vector<Box> boxes;
    for (const TestMessageBox &box : testing_message_boxes())
        boxes.emplace_back(box.text, box.caption, box.type);
    // A box without a caption is captioned "Error".
    const std::vector<Box> expected = {
        {"first", "One", question}, {"second", "Two", MB_YESNO}, {"third", "Error", MB_OK}};
    EXPECT_EQ(boxes, expected);
    testing_end();
}

TEST(MessageBoxes, RecordsLastUntilTheScriptEnds)
{
    testing_begin();
    MessageBeep(0);
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(nullptr, "text", "Caption", MB_OK);
    EXPECT_EQ(testing_beep_count(), 2);
    testing_end();
    EXPECT_EQ(testing_beep_count(), 0);
    EXPECT_TRUE(testing_message_boxes().empty());
}

TEST(ProgramResources, ImagesAreFoundByNameInAnyCase)
{
    EXPECT_EQ(resource_image("BITMAP", "orvintabmp").size(), QSize(64, 64));
    EXPECT_FALSE(resource_icon("orvinta").isNull());
    EXPECT_TRUE(resource_image("BITMAP", "nothing").isNull());
    HBITMAP loaded = LoadBitmapA(nullptr, "ORVINTABMP");
    EXPECT_NE(loaded, nullptr);
    DeleteObject(loaded);
}

TEST(ProgramResources, CursorsHaveTheHotSpotAtTheirCentre)
{
    for (const char *name : {"fftCursor", "WavefrontCursor", "DataSaveCursor"}) {
        QPoint hot(-1, -1);
        EXPECT_EQ(resource_cursor_image(name, &hot).size(), QSize(32, 32)) << name;
        EXPECT_EQ(hot, QPoint(16, 16)) << name;
    }
}

}  // namespace
