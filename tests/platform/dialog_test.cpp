// Dialogs and texts: the open and save file dialogs (scripted, and the toolkit's own driven
// through its widgets), the setup dialogs' templates, message boxes, resources, file titles.
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
        ofn.lpstrFilter = "Text Files (*.TXT)\0*.txt\0ASCII Files (*.ASC)\0*.asc\0All Files (*.*)\0*.*\0"
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
    // Answers the next dialog with these paths, one per time it is shown.
    static void choose(std::initializer_list<std::string> paths)
    {
        std::vector<TestFileDialogAnswer> choices;
        for (const std::string &p : paths) choices.push_back(testing_file_choice(p));
        testing_filedlg_begin(choices);
    }
    static std::vector<std::string> box_texts()
    {
        std::vector<std::string> texts;
        for (const TestMessageBox &box : testing_message_boxes()) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(FileDialogTest, ChosenNameGetsTheDefaultExtensionOnlyWhenItHasNone)
{
    fs::create_directory(dir + "/a.d");
    // The path expected relative to dir, its title, and nFileExtension counted from its end.
    const struct { const char *typed, *defaultExtension, *path, *title; int extension; } rows[] = {
        {"psf1", "txt", "psf1.txt", "psf1.txt", 3}, {"psf1.asc", "txt", "psf1.asc", "psf1.asc", 3},
        {"psf1.FFT", "txt", "psf1.FFT", "psf1.FFT", 3},
        {"a.d/psf2", "txt", "a.d/psf2.txt", "psf2.txt", 3},  // a dot in the folder is no extension
        {"psf3.", "txt", "psf3.", "psf3.", -1},               // a final dot: the name has one
        {"psf4", nullptr, "psf4", "psf4", 0},                 // no default: kept as typed
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        Buffers b;
        OPENFILENAMEA ofn = description(b, 0);
        ofn.lpstrDefExt = row.defaultExtension;
        choose({dir + "/" + row.typed});
        ASSERT_NE(GetSaveFileNameA(&ofn), 0);
        const std::string path = dir + "/" + row.path;
        const std::size_t extension = row.extension < 0 ? 0 : path.size() - row.extension;
        EXPECT_EQ(std::tuple(std::string(b.file), std::string(b.title), std::size_t(ofn.nFileOffset), std::size_t(ofn.nFileExtension)),
                  std::tuple(path, std::string(row.title), path.size() - std::strlen(row.title), extension));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
    }
}

// Each row opens one dialog, answers it with `first`, and answers its question (if any) with
// `reply`; a refused choice keeps the dialog open, and the script's second choice is taken.
TEST_F(FileDialogTest, ReplaceAndCreatePromptsDecideWhetherTheDialogCloses)
{
    const std::string replace = " already exists.\nDo you want to replace it?";
    const std::string create = "\nThis file does not exist.\nDo you want to create it?";
    struct Row {
        const char *name;
        bool save;
        DWORD flags;
        bool exists;
        int reply;             // IDYES, IDNO, or 0 for no question expected
        std::string question;  // the box text expected, after the file name
    } rows[] = {
        {"save over an existing file, yes", true, OFN_OVERWRITEPROMPT, true, IDYES, replace},
        {"save over an existing file, no", true, OFN_OVERWRITEPROMPT, true, IDNO, replace},
        {"save a new file: no question", true, OFN_OVERWRITEPROMPT, false, 0, ""},
        {"save without the option: no question", true, 0, true, 0, ""},
        {"open a missing file, yes", false, OFN_CREATEPROMPT, false, IDYES, create},
        {"open a missing file, no", false, OFN_CREATEPROMPT, false, IDNO, create},
        {"open an existing file: no question", false, OFN_CREATEPROMPT, true, 0, ""},
        {"open a missing file without the option", false, 0, false, 0, ""},
    };
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string firstName = "first" + std::to_string(++n) + ".txt", secondName = "second" + std::to_string(n) + ".txt";
        if (row.exists) make_file(firstName);
        if (!row.save) make_file(secondName);  // the second choice asks nothing: a new name to save, a file to open
        testing_begin(row.reply ? std::vector<int>{row.reply} : std::vector<int>{});
        choose({dir + "/" + firstName, dir + "/" + secondName});
        Buffers b;
        OPENFILENAMEA ofn = description(b, row.flags);
        ASSERT_NE(row.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn), 0);
        EXPECT_EQ(std::string(b.file), dir + "/" + (row.reply == IDNO ? secondName : firstName));
        EXPECT_EQ(testing_filedlg_requests().size(), 1u);
        EXPECT_EQ(box_texts(), row.reply ? std::vector<std::string>{firstName + row.question} : std::vector<std::string>{});
        if (!row.reply) continue;
        EXPECT_EQ(testing_message_boxes()[0].caption, row.save ? "Save As" : "Open");
        EXPECT_EQ(testing_message_boxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    }
}

TEST_F(FileDialogTest, ChoicesTheDialogRefusesKeepItOpen)
{
    make_file("there.txt");
    fs::create_directory(dir + "/folder");
    const struct { const char *name; DWORD flags; std::string first; const char *boxSays; } rows[] = {
        {"path longer than the buffer", 0, dir + "/" + std::string(70, 'x') + ".txt",
         "\nThis path is too long: at most 63 characters."},
        {"folder that does not exist", OFN_CREATEPROMPT, dir + "/none/psf.txt", "/none/psf.txt\nThe folder does not exist."},
        {"file must exist", OFN_FILEMUSTEXIST, dir + "/missing.txt", "missing.txt\nFile not found."},
        {"a folder is opened, not chosen", 0, dir + "/folder", ""},  // no box
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        testing_begin();
        choose({row.first, dir + "/there.txt"});
        Buffers b("initial");
        OPENFILENAMEA ofn = description(b, row.flags);
        ASSERT_NE(GetOpenFileNameA(&ofn), 0);
        EXPECT_EQ(std::string(b.file), dir + "/there.txt");
        const std::vector<std::string> texts = box_texts();
        ASSERT_EQ(texts.size(), *row.boxSays ? 1u : 0u);
        if (*row.boxSays) { EXPECT_NE(texts[0].find(row.boxSays), std::string::npos) << texts[0]; }
    }
}

// The toolkit's own dialog, driven through its widgets once it is open: each name of `typed`
// is typed into the name field and confirmed; an empty name presses Cancel.
struct ToolkitUser {
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
            ADD_FAILURE() << (name ? "the dialog stays open after every name was refused" : "no name field");
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

TEST_F(FileDialogTest, ToolkitDialogListsTheFiltersAddsTheExtensionAndAsksItsQuestions)
{
    testing_filedlg_end();  // no script: the toolkit's dialog opens
    make_file("old.txt");
    make_file("there.txt");
    fs::create_directory(dir + "/sub");
    const QStringList filters = {"Text Files (*.TXT)", "ASCII Files (*.ASC)", "All Files (*.*)", "FFT Files (*.FFT)"};
    const std::string replaceOld = "old.txt already exists.\nDo you want to replace it?";
    struct Row {
        const char *name;
        bool save;
        DWORD flags;
        std::string initial;             // lpstrFile before the dialog
        std::vector<std::string> typed;  // "" presses Cancel
        std::vector<int> replies;        // answers to the questions, in order
        std::string chosen;              // "" for a cancelled dialog
        std::vector<std::string> questions;
    } rows[] = {
        {"save: replace refused, then a new name", true, OFN_OVERWRITEPROMPT, "", {"old", "new"}, {IDNO},
         dir + "/new.txt", {replaceOld}},
        {"save: replace accepted", true, OFN_OVERWRITEPROMPT, "", {"old.txt"}, {IDYES}, dir + "/old.txt", {replaceOld}},
        {"open: create refused, then an existing file", false, OFN_CREATEPROMPT, "", {"missing", "there"}, {IDNO},
         dir + "/there.txt", {"missing.txt\nThis file does not exist.\nDo you want to create it?"}},
        {"open: the current name is offered, cancel", false, OFN_CREATEPROMPT, dir + "/sub/start.txt", {""}, {}, "", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        testing_begin(row.replies);
        ToolkitUser user;
        user.typed = row.typed;
        QTimer::singleShot(0, [&user] { user.act(); });
        Buffers b(row.initial.c_str());
        const Buffers before = b;
        OPENFILENAMEA ofn = description(b, row.flags);
        ofn.lpstrInitialDir = dir.c_str();
        const BOOL ok = row.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        EXPECT_EQ(ok != 0, !row.chosen.empty());
        EXPECT_EQ(user.title, row.save ? "Save As" : "Open");
        EXPECT_EQ(user.shown, filters);
        EXPECT_EQ(user.current, 0);
        if (row.chosen.empty()) {
            EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0) << "a cancelled dialog writes nothing";
            EXPECT_EQ(user.firstName, "start.txt");
            EXPECT_EQ(user.folder.toStdString(), dir + "/sub");
        } else {
            EXPECT_EQ(std::string(b.file), row.chosen);
            EXPECT_EQ(std::string(b.title), row.chosen.substr(dir.size() + 1));
            EXPECT_EQ(user.folder.toStdString(), dir);
        }
        EXPECT_EQ(box_texts(), row.questions);
    }
}

// File types come from the name alone and nothing is opened: a file whose bytes say PNG but
// whose name says nothing, a text file holding other bytes, a FIFO that would block a reader.
using FileDialogIcons = TempFolderTest;

TEST_F(FileDialogIcons, TypesComeFromTheNameAloneAndNothingIsOpened)
{
    std::ofstream(dir + "/picture", std::ios::binary) << "\x89PNG\r\n\x1a\n";
    std::ofstream(dir + "/notes.txt") << "%PDF-1.4";
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    fs::create_directory(dir + "/folder");
    const struct { const char *name, *type; } rows[] = {
        {"picture", "File"}, {"notes.txt", "TXT File"}, {"pipe", "File"}, {"folder", "Folder"}};
    QAbstractFileIconProvider *provider = filedlg_icon_provider();
    for (const auto &row : rows) {
        const QFileInfo info(QString::fromStdString(dir + "/" + row.name));
        EXPECT_EQ(provider->type(info).toStdString(), row.type) << row.name;
        provider->icon(info);  // must return, even for the FIFO
    }
}

TEST(FileTitles, TitleOfAPathAndFormattedText)
{
    const struct { const char *path; WORD size; short result; const char *title; } rows[] = {
        {"/home/u/psf1.txt", 512, 0, "psf1.txt"}, {"psf1.txt", 512, 0, "psf1.txt"},
        {"C:\\data\\a b.dat", 512, 0, "a b.dat"},
        {"/home/u/psf1.txt", 4, 9, ""},  // too small: the size needed, terminator included
        {"/home/u/", 512, -1, ""}, {"", 512, -1, ""},
    };
    for (const auto &row : rows) {
        char title[512] = "";
        EXPECT_EQ(GetFileTitleA(row.path, title, row.size), row.result) << "path=" << row.path;
        if (row.result == 0) { EXPECT_STREQ(title, row.title) << "path=" << row.path; }
    }
    char buffer[1024];
    EXPECT_EQ(wsprintfA(buffer, "%s - %s", "Orvinta", "psf1.txt"), 18);
    EXPECT_STREQ(buffer, "Orvinta - psf1.txt");
}

// The setup dialogs' templates as the program loads them: for every control that carries an id
// its kind and its text, character for character (a doubled ampersand is how a template writes one).
using K = DialogControlKind;
struct ExpectedControl { int id; K kind; std::string text; };  // PushButton stands for either kind of push button

std::map<std::string, std::vector<ExpectedControl>> expected_dialogs()
{
    const ExpectedControl ok{1, K::PushButton, "OK"}, cancel{2, K::PushButton, "Cancel"};
    std::map<std::string, std::vector<ExpectedControl>> dialogs = {
        {"SystemBox", {{116, K::Edit, "500.0"}, {117, K::Edit, "5.6"}, {120, K::GroupBox, "Field of View is in ..."},
                       {118, K::RadioButton, "X (horizontal direction)"}, {119, K::RadioButton, "Y (vertical direction)"},
                       ok, cancel}},
        {"PupilBox", {{136, K::GroupBox, "Shape"}, {137, K::RadioButton, "Round"}, {138, K::RadioButton, "Rectangle with"},
                      {139, K::Edit, "1.0"}, {131, K::GroupBox, "Dimensions && Units"}, {132, K::Edit, "10.0"},
                      {133, K::RadioButton, "Inches"}, {134, K::RadioButton, "Centimeters"},
                      {135, K::RadioButton, "Millimeters"}, ok, cancel}},
        {"ObscurationBox", {{142, K::GroupBox, "Pupil Shadows"}, {140, K::CheckBox, "Central Obscuration"},
                            {141, K::Edit, "0.12345"}, {143, K::CheckBox, "Struts"}, ok, cancel}},
        {"ApodBox", {{156, K::GroupBox, "Apodization"}, {158, K::RadioButton, "No Apodization"},
                     {159, K::RadioButton, "Triangular"}, {160, K::RadioButton, "Circular"},
                     {161, K::RadioButton, "Rectangular"}, {151, K::Edit, "0.3"}, {157, K::GroupBox, "  Supergausian  "},
                     {152, K::Edit, "1.50000"}, {153, K::Edit, "2.50000"}, {154, K::Edit, "2.50000"}, ok, cancel}},
        {"ThirdOrderInputDiaBox", {{109, K::GroupBox, "Peak Value, in waves"}, {101, K::CheckBox, "Spherical"},
                                   {102, K::CheckBox, "Coma"}, {103, K::CheckBox, "Astigmatism"},
                                   {104, K::CheckBox, "Defocus"}, {105, K::Edit, "0.1"}, {106, K::Edit, "0.2"},
                                   {107, K::Edit, "0.3"}, {108, K::Edit, "0.4"}, {1, K::PushButton, "Okay"}, cancel}},
        {"ZernInputDiaBox", {ok, cancel}},
        {"PhasePatternBox", {{507, K::GroupBox, "Phase Pattern Type"}, {500, K::RadioButton, "None"},
                             {501, K::RadioButton, "Checker Board"}, {502, K::RadioButton, "Waffle"},
                             {503, K::RadioButton, "Random"}, {506, K::GroupBox, "Phase Pattern Parameters"},
                             {505, K::Edit, "0.25"}, {504, K::Edit, "5"}, ok, cancel}},
        {"PhasePlate", {{520, K::CheckBox, "Enabled"}, {522, K::Edit, "0.5"}, {524, K::Edit, "0"}, ok, cancel}},
        {"AnalyOptDlg", {{174, K::GroupBox, "Plot PSF versus ..."}, {175, K::GroupBox, "image space position in"},
                         {170, K::RadioButton, "microns"}, {185, K::GroupBox, "object space angle in"},
                         {171, K::RadioButton, "milliradians"}, {172, K::RadioButton, "arc seconds"},
                         {178, K::GroupBox, "PSF plot type"}, {176, K::RadioButton, "linear"},
                         {177, K::RadioButton, "logarithmic"}, {179, K::Edit, "4.0"}, {180, K::CheckBox, "Zoom plot"},
                         {173, K::Edit, "20"}, {183, K::CheckBox, "Do Centroid Error Analysis (Slow!)"},
                         {181, K::RadioButton, "3 by 3"}, {182, K::RadioButton, "4 by 4"}, ok, cancel}},
        {"DataSavingOptions", {{543, K::GroupBox, "   On the next File Save operation,"},
                               {540, K::RadioButton, "Pupil Transmission"}, {541, K::RadioButton, "Pupil Phase"},
                               {542, K::RadioButton, "PSF Modulus"}, ok, cancel}},
        {"AboutBox", {{1, K::PushButton, "Close"}}},
    };
    // Zernike term k: check box 450 + k named "Zkk" with two digits, its coefficient in edit 400 + k.
    for (int k = 1; k <= 37; ++k) {
        dialogs["ZernInputDiaBox"].push_back({450 + k, K::CheckBox, (k < 10 ? "Z0" : "Z") + std::to_string(k)});
        dialogs["ZernInputDiaBox"].push_back({400 + k, K::Edit, "0.1"});
    }
    return dialogs;
}

TEST(DialogTemplateTexts, EveryControlWithAnIdHasItsKindAndText)
{
    for (const auto &[name, controls] : expected_dialogs()) {
        SCOPED_TRACE(name);
        const DialogTemplate *t = dialog_template_find(name.c_str());
        ASSERT_NE(t, nullptr);
        std::map<int, const DialogControlTemplate *> byId;
        for (const DialogControlTemplate &c : t->controls)
            if (c.id != -1) { EXPECT_TRUE(byId.emplace(c.id, &c).second) << "id " << c.id << " used twice"; }
        for (const ExpectedControl &e : controls) {
            const auto found = byId.find(e.id);
            if (found == byId.end()) {
                ADD_FAILURE() << "no control " << e.id << " \"" << e.text << "\"";
                continue;
            }
            const K kind = found->second->kind == K::DefPushButton ? K::PushButton : found->second->kind;
            EXPECT_EQ(static_cast<int>(kind), static_cast<int>(e.kind)) << "kind of " << e.id;
            EXPECT_EQ(found->second->text, e.text) << "text of " << e.id;
            byId.erase(found);
        }
        for (const auto &[id, c] : byId) ADD_FAILURE() << "unexpected control " << id << " \"" << c->text << "\"";
    }
}

TEST(MessageBoxes, AnsweredFromTheScriptAndRecorded)
{
    testing_begin({IDCANCEL, IDNO});
    EXPECT_EQ(MessageBoxA(nullptr, "first", "One", UINT(MB_OKCANCEL) | UINT(MB_ICONQUESTION)), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Two", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "third", nullptr, MB_OK), IDOK) << "script used up: OK";
    MessageBeep(0);
    MessageBeep(MB_ICONEXCLAMATION);
    const struct { const char *text, *caption; UINT type; } rows[] = {
        {"first", "One", UINT(MB_OKCANCEL) | UINT(MB_ICONQUESTION)}, {"second", "Two", MB_YESNO}, {"third", "Error", MB_OK}};
    ASSERT_EQ(testing_message_boxes().size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(testing_message_boxes()[k].text, rows[k].text);
        EXPECT_EQ(testing_message_boxes()[k].caption, rows[k].caption) << rows[k].text;
        EXPECT_EQ(testing_message_boxes()[k].type, rows[k].type) << rows[k].text;
    }
    EXPECT_EQ(testing_beep_count(), 2);
    testing_end();
    EXPECT_TRUE(testing_message_boxes().empty());
}

TEST(ProgramResources, ImagesAndCursorsExistWithTheirSizesAndHotSpots)
{
    EXPECT_EQ(resource_image("BITMAP", "orvintabmp").size(), QSize(64, 64));
    EXPECT_FALSE(resource_icon("orvinta").isNull());
    for (const char *name : {"fftCursor", "WavefrontCursor", "DataSaveCursor"}) {
        QPoint hot(-1, -1);
        EXPECT_EQ(resource_cursor_image(name, &hot).size(), QSize(32, 32)) << name;
        EXPECT_EQ(hot, QPoint(16, 16)) << name;
    }
    EXPECT_TRUE(resource_image("BITMAP", "nothing").isNull());
    HBITMAP loaded = LoadBitmapA(nullptr, "ORVINTABMP");
    EXPECT_NE(loaded, nullptr) << "names compare without case";
    DeleteObject(loaded);
}

}  // namespace
