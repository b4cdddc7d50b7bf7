// The program's four windows each paint their gradient title bar.
#include <gtest/gtest.h>

#include "Wordcap.h"
#include "program_fixture.h"
#include "wordcap_win.h"

namespace sorv {
namespace {

using test::PumpUntil;

// The first pixel of the title bar: black, where the platform's is not.
COLORREF TitleBarStart(const tk::Form& form) {
    const caption::CaptionMetrics metrics = caption::CurrentCaptionMetrics();
    const caption::FrameState frame = caption::FrameStateOf(form);
    const Rect bar = caption::TitleBarRect(metrics, frame);
    const tk::WindowDc dc(form.Handle(), tk::WindowDc::Area::Whole);
    return GetPixel(dc.get(), bar.left, bar.top);
}

TEST(ProgramCaptions, EachWindowCarriesOneWithTheStoredFontKinds) {
    test::Program program;
    const std::vector<tk::Form*> forms{&program.Form1, &program.AboutBox, &program.Form3, &program.Form4};
    for (tk::Form* form : forms) {
        auto* caption = dynamic_cast<caption::TMSOfficeCaption*>(form->FindComponent("MSOfficeCaption1"));
        ASSERT_NE(caption, nullptr) << form->ClassName();
        EXPECT_TRUE(caption->Hooked());
        EXPECT_EQ(caption->AppNameText().FontKind(), caption::TFontKind::fkSystemB);
        EXPECT_EQ(caption->CaptionText().FontKind(), caption::TFontKind::fkSystem);
        EXPECT_EQ(caption->CompanyText().FontKind(), caption::TFontKind::fkSystemBI);
        EXPECT_TRUE(caption->AppNameText().Visible() && caption->CaptionText().Visible() &&
                    caption->CompanyText().Visible());
    }
    EXPECT_EQ(program.AboutBox.Caption(), "A propos");
    EXPECT_EQ(program.Form1.Caption(), "Sorv");
    EXPECT_EQ(TitleBarStart(program.Form1), 0u);

    // A modal dialog over the main window: both painted, the main one inactive.
    int checked = 0;
    test::WhenWindowAppears whenShown(L"TAboutBox", [&](HWND) {
        PumpUntil([] { return false; }, 200);
        EXPECT_EQ(TitleBarStart(program.AboutBox), 0u);
        auto* main = dynamic_cast<caption::TMSOfficeCaption*>(program.Form1.FindComponent("MSOfficeCaption1"));
        EXPECT_FALSE(main->IsFormActive());
        EXPECT_EQ(TitleBarStart(program.Form1), 0u);
        ++checked;
        program.AboutBox.SetModalResult(tk::mrOk);
    });
    program.AboutBox.ShowModal();
    EXPECT_EQ(checked, 1);
}

}  // namespace
}  // namespace sorv
