// The setup dialogs' templates as the program loads them: caption, and for every control that
// carries an id its kind and its text, character for character (a doubled ampersand is how
// a template writes one), plus the labels beside the fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "platform/window_internal.h"

namespace {

using K = DialogControlKind;

struct ExpectedControl {
    int id;
    K kind;  // PushButton stands for either kind of push button
    std::string text;
};

struct ExpectedDialog {
    const char *name;
    std::vector<ExpectedControl> controls;  // every control with an id
};

std::vector<ExpectedDialog> expected_dialogs()
{
    std::vector<ExpectedDialog> dialogs = {
        {"SystemBox",
         {{116, K::Edit, "500.0"}, {117, K::Edit, "5.6"}, {120, K::GroupBox, "Field of View is in ..."},
          {118, K::RadioButton, "X (horizontal direction)"}, {119, K::RadioButton, "Y (vertical direction)"},
          {1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"PupilBox",
         {{136, K::GroupBox, "Shape"}, {137, K::RadioButton, "Round"}, {138, K::RadioButton, "Rectangle with"},
          {139, K::Edit, "1.0"}, {131, K::GroupBox, "Dimensions && Units"}, {132, K::Edit, "10.0"},
          {133, K::RadioButton, "Inches"}, {134, K::RadioButton, "Centimeters"}, {135, K::RadioButton, "Millimeters"},
          {1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"ObscurationBox",
         {{142, K::GroupBox, "Pupil Shadows"}, {140, K::CheckBox, "Central Obscuration"}, {141, K::Edit, "0.12345"},
          {143, K::CheckBox, "Struts"}, {1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"ApodBox",
         {{156, K::GroupBox, "Apodization"}, {158, K::RadioButton, "No Apodization"},
          {159, K::RadioButton, "Triangular"}, {160, K::RadioButton, "Circular"},
          {161, K::RadioButton, "Rectangular"}, {151, K::Edit, "0.3"}, {157, K::GroupBox, "  Supergausian  "},
          {152, K::Edit, "1.50000"}, {153, K::Edit, "2.50000"}, {154, K::Edit, "2.50000"}, {1, K::PushButton, "OK"},
          {2, K::PushButton, "Cancel"}}},
        {"ThirdOrderInputDiaBox",
         {{109, K::GroupBox, "Peak Value, in waves"}, {101, K::CheckBox, "Spherical"}, {102, K::CheckBox, "Coma"},
          {103, K::CheckBox, "Astigmatism"}, {104, K::CheckBox, "Defocus"}, {105, K::Edit, "0.1"},
          {106, K::Edit, "0.2"}, {107, K::Edit, "0.3"}, {108, K::Edit, "0.4"}, {1, K::PushButton, "Okay"},
          {2, K::PushButton, "Cancel"}}},
        {"ZernInputDiaBox",
         {{1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"PhasePatternBox",
         {{507, K::GroupBox, "Phase Pattern Type"}, {500, K::RadioButton, "None"},
          {501, K::RadioButton, "Checker Board"}, {502, K::RadioButton, "Waffle"}, {503, K::RadioButton, "Random"},
          {506, K::GroupBox, "Phase Pattern Parameters"}, {505, K::Edit, "0.25"}, {504, K::Edit, "5"},
          {1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"PhasePlate",
         {{520, K::CheckBox, "Enabled"}, {522, K::Edit, "0.5"}, {524, K::Edit, "0"}, {1, K::PushButton, "OK"},
          {2, K::PushButton, "Cancel"}}},
        {"AnalyOptDlg",
         {{174, K::GroupBox, "Plot PSF versus ..."}, {175, K::GroupBox, "image space position in"},
          {170, K::RadioButton, "microns"}, {185, K::GroupBox, "object space angle in"},
          {171, K::RadioButton, "milliradians"}, {172, K::RadioButton, "arc seconds"},
          {178, K::GroupBox, "PSF plot type"}, {176, K::RadioButton, "linear"}, {177, K::RadioButton, "logarithmic"},
          {179, K::Edit, "4.0"}, {180, K::CheckBox, "Zoom plot"}, {173, K::Edit, "20"},
          {183, K::CheckBox, "Do Centroid Error Analysis (Slow!)"}, {181, K::RadioButton, "3 by 3"},
          {182, K::RadioButton, "4 by 4"}, {1, K::PushButton, "OK"}, {2, K::PushButton, "Cancel"}}},
        {"DataSavingOptions",
         {{543, K::GroupBox, "   On the next File Save operation,"}, {540, K::RadioButton, "Pupil Transmission"},
          {541, K::RadioButton, "Pupil Phase"}, {542, K::RadioButton, "PSF Modulus"}, {1, K::PushButton, "OK"},
          {2, K::PushButton, "Cancel"}}},
        {"AboutBox",
         {{1, K::PushButton, "Close"}}},
    };
    // Zernike term k: check box 450 + k named "Zkk" with two digits, its coefficient in edit 400 + k.
    for (ExpectedDialog &d : dialogs) {
        if (std::string(d.name) != "ZernInputDiaBox") continue;
        for (int k = 1; k <= 37; ++k) {
            d.controls.push_back({450 + k, K::CheckBox, (k < 10 ? "Z0" : "Z") + std::to_string(k)});
            d.controls.push_back({400 + k, K::Edit, "0.1"});
        }
    }
    return dialogs;
}

bool is_push_button(K kind) { return kind == K::PushButton || kind == K::DefPushButton; }
bool is_static(K kind) { return kind == K::LeftText || kind == K::RightText || kind == K::CenterText; }

TEST(DialogTemplateTexts, EveryControlWithAnIdHasItsKindAndText)
{
    for (const ExpectedDialog &want : expected_dialogs()) {
        const DialogTemplate *t = dialog_template_find(want.name);
        ASSERT_NE(t, nullptr) << want.name;
        std::map<int, const DialogControlTemplate *> byId;
        for (const DialogControlTemplate &c : t->controls) {
            if (c.id == -1) continue;
            EXPECT_EQ(byId.count(c.id), 0u) << want.name << ": id " << c.id << " used twice";
            byId[c.id] = &c;
        }
        for (const ExpectedControl &e : want.controls) {
            const auto found = byId.find(e.id);
            if (found == byId.end()) {
                ADD_FAILURE() << want.name << ": no control " << e.id << " \"" << e.text << "\"";
                continue;
            }
            const DialogControlTemplate &c = *found->second;
            if (e.kind == K::PushButton)
                EXPECT_TRUE(is_push_button(c.kind)) << want.name << ": control " << e.id << " is not a button";
            else
                EXPECT_EQ(static_cast<int>(c.kind), static_cast<int>(e.kind)) << want.name << ": kind of " << e.id;
            EXPECT_EQ(c.text, e.text) << want.name << ": text of " << e.id;
            byId.erase(found);
        }
        for (const auto &[id, c] : byId) ADD_FAILURE() << want.name << ": unexpected control " << id << " \"" << c->text << "\"";
    }
}

// A message box shows its text as written, also when the text (a file title inside it) looks
// like markup: the box for "File <b>x</b>.txt cannot be read!" must not show a bold x.
TEST(MessageBoxText, ShownAsPlainTextWithItsCaption)
{
    const char text[] = "File <b>x</b>.txt cannot be read!";
    QString shownText, shownCaption;
    Qt::TextFormat format = Qt::AutoText;
    bool seen = false;
    // The box runs its own loop; look for it there, note what it shows, and close it.
    QTimer finder;
    finder.setInterval(10);
    QObject::connect(&finder, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible()) continue;
            shownText = box->text();
            shownCaption = box->windowTitle();
            format = box->textFormat();
            seen = true;
            box->done(QMessageBox::Ok);
            finder.stop();
            return;
        }
    });
    finder.start();
    EXPECT_EQ(MessageBoxA(nullptr, text, "Orvinta", MB_ICONEXCLAMATION | MB_OK), IDOK);
    finder.stop();
    ASSERT_TRUE(seen);
    EXPECT_EQ(shownText.toStdString(), text);
    EXPECT_EQ(shownCaption.toStdString(), "Orvinta");
    EXPECT_EQ(format, Qt::PlainText);
}

LRESULT CALLBACK CaptionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The caption the window system shows: every character of the text, brackets and stars too.
TEST(WindowCaptionText, ShownAsWrittenWhenCreatedAndWhenChanged)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CaptionProc;
    wc.lpszClassName = "CaptionTest";
    ASSERT_NE(RegisterClassA(&wc), 0);
    const struct Row { const char *created, *changed; } rows[] = {
        {"Orvinta: Diffraction Point Spread Function of Wavefront", "Orvinta - psf1.txt"},
        {"Orvinta - run[*].txt", "Orvinta - a[*][*]b.txt"},
        {"[*]", "Orvinta - [x]*.txt"},
    };
    for (const Row &row : rows) {
        HWND w = CreateWindowExA(0, "CaptionTest", row.created, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(w, nullptr) << row.created;
        testing_process_events();
        ASSERT_TRUE(w->frame && w->frame->windowHandle()) << row.created;
        EXPECT_EQ(w->frame->windowHandle()->title().toStdString(), row.created);
        SetWindowTextA(w, row.changed);
        EXPECT_EQ(w->frame->windowHandle()->title().toStdString(), row.changed);
        char back[128] = {};
        GetWindowTextA(w, back, sizeof back);
        EXPECT_STREQ(back, row.changed);
        DestroyWindow(w);
    }
    UnregisterClassA("CaptionTest", nullptr);
    testing_process_events();
}

}  // namespace
