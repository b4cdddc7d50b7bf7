// The message boxes and the standard error box, read and answered while they
// are up, as the user would.
#include <gtest/gtest.h>

#include <stdexcept>

#include "application.h"
#include "box_driver.h"
#include "buttons.h"
#include "form.h"
#include "guard.h"
#include "message_box.h"
#include "window_probe.h"

namespace sorv::tk {
namespace {

using test::BoxContents;
using test::Press;
using test::ReadBox;
using test::WhenBoxAppears;

FormDescription Design(const char* className, const char* caption) {
    FormDescription design;
    design.className = className;
    design.caption = caption;
    design.clientWidth = 200;
    design.clientHeight = 100;
    return design;
}

class BoxesTest : public ::testing::Test {
protected:
    void SetUp() override { App().SetTitle("sorv"); }

    // Shows a box, lets `answer` read and close it, returns the result.
    BoxAnswer Show(BoxKind kind, const std::string& text, const std::function<void(HWND)>& answer) {
        WhenBoxAppears driver([&](HWND box) {
            seen = ReadBox(box);
            answer(box);
        });
        const BoxAnswer result = ShowMessageBox(kind, text);
        EXPECT_EQ(driver.Count(), 1);
        return result;
    }

    BoxContents seen;
};

TEST_F(BoxesTest, PlainMessageHasOneOkButtonTheApplicationTitleAndNoIcon) {
    const BoxAnswer answer = Show(BoxKind::Message, "Pas besoin de couper", [](HWND box) { Press(box, IDOK); });
    EXPECT_EQ(answer, BoxAnswer::Ok);
    EXPECT_EQ(seen.title, L"sorv");
    EXPECT_EQ(seen.text, L"Pas besoin de couper");
    EXPECT_EQ(seen.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(seen.icon, nullptr);
}

TEST_F(BoxesTest, WarningAsksYesOrNoWithTheWarningIcon) {
    const BoxAnswer answer =
        Show(BoxKind::Warning, "Le fichier existe déjà. Voulez-vous le remplacer ?", [](HWND box) { Press(box, IDNO); });
    EXPECT_EQ(answer, BoxAnswer::No);
    EXPECT_EQ(seen.title, L"Avertissement");
    EXPECT_EQ(seen.text, L"Le fichier existe d\u00e9j\u00e0. Voulez-vous le remplacer ?");
    EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Oui", L"&Non"}));
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_WARNING));
    EXPECT_EQ(seen.defaultId, IDYES);
}

TEST_F(BoxesTest, ConfirmationHasTheQuestionIconAndYesAnswers) {
    const BoxAnswer answer = Show(BoxKind::Confirmation, "Effacer les tranches ?", [](HWND box) { Press(box, IDYES); });
    EXPECT_EQ(answer, BoxAnswer::Yes);
    EXPECT_EQ(seen.title, L"Confirmation");
    EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Oui", L"&Non"}));
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_QUESTION));
}

TEST_F(BoxesTest, QuestionWithoutIconIsTitledWithTheApplication) {
    const BoxAnswer answer =
        Show(BoxKind::Question, "Voulez-vous arreter le traitement?", [](HWND box) { Press(box, IDYES); });
    EXPECT_EQ(answer, BoxAnswer::Yes);
    EXPECT_EQ(seen.title, L"sorv");
    EXPECT_EQ(seen.text, L"Voulez-vous arreter le traitement?");
    EXPECT_EQ(seen.icon, nullptr);
    EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Oui", L"&Non"}));
}

TEST_F(BoxesTest, EnterAnswersYesAndEscapeAnswersNo) {
    EXPECT_EQ(Show(BoxKind::Question, "Enter", [](HWND box) { test::PostKey(GetDlgItem(box, IDYES), VK_RETURN); }),
              BoxAnswer::Yes);
    EXPECT_EQ(Show(BoxKind::Warning, "Escape", [](HWND box) { test::PostKey(GetDlgItem(box, IDYES), VK_ESCAPE); }),
              BoxAnswer::No);
}

TEST_F(BoxesTest, ClosingByTheTitleBarGivesNoAnswer) {
    for (BoxKind kind : {BoxKind::Warning, BoxKind::Confirmation, BoxKind::Question}) {
        EXPECT_EQ(Show(kind, "Fermer", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }),
                  BoxAnswer::None);
    }
}

TEST_F(BoxesTest, ABoxDisablesTheProgramsWindowsAndGivesTheFocusBack) {
    Form owner(Design("TBoxOwner", "Propri\u00e9taire"));
    Button button(owner, "Button1", Rect::FromOrigin({10, 10}, {80, 25}), "&Ok");
    owner.Show();
    button.SetFocus();
    bool ownerEnabledDuringBox = true;
    HWND boxOwner = nullptr;
    Show(BoxKind::Message, "Texte", [&](HWND box) {
        ownerEnabledDuringBox = IsWindowEnabled(owner.Handle()) != FALSE;
        boxOwner = GetWindow(box, GW_OWNER);
        Press(box, IDOK);
    });
    EXPECT_FALSE(ownerEnabledDuringBox);
    EXPECT_EQ(boxOwner, owner.Handle());
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(GetFocus(), button.Handle());
}

TEST_F(BoxesTest, ErrorBoxShowsTheTextWithAFullStopAndTheStopIcon) {
    WhenBoxAppears driver([&](HWND box) {
        seen = ReadBox(box);
        Press(box, IDOK);
    });
    App().HandleException(std::runtime_error("Fichier introuvable"));
    ASSERT_EQ(driver.Count(), 1);
    EXPECT_EQ(seen.title, L"sorv");
    EXPECT_EQ(seen.text, L"Fichier introuvable.");
    EXPECT_EQ(seen.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_HAND));
}

TEST_F(BoxesTest, ErrorBoxLeavesATextEndingBeforeTheFullStopAsItIs) {
    WhenBoxAppears driver([&](HWND box) {
        seen = ReadBox(box);
        Press(box, IDOK);
    });
    App().HandleException(std::runtime_error("Type de donn\u00e9es incorrect pour 'Chemin'"));
    EXPECT_EQ(seen.text, L"Type de donn\u00e9es incorrect pour 'Chemin'");
}

TEST_F(BoxesTest, AnExceptionInAnEventHandlerIsShownAndTheProgramRunsOn) {
    Form form(Design("TThrowing", "Sorv"));
    Button button(form, "Button1", Rect::FromOrigin({10, 10}, {80, 25}), "&Ok");
    int clicks = 0;
    button.OnClick = [&] {
        ++clicks;
        if (clicks == 1) throw std::runtime_error("Disque plein");
    };
    form.Show();
    WhenBoxAppears driver([&](HWND box) {
        seen = ReadBox(box);
        Press(box, IDOK);
    });
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(seen.text, L"Disque plein.");
    EXPECT_TRUE(IsWindow(form.Handle()));
    // The handler runs again, this time without error and without a box.
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(driver.Count(), 1);
}

// Enter presses the default button from the message loop, outside any window
// procedure: its handler's error is still shown inside the modal loop, which
// then ends as the button says.
TEST_F(BoxesTest, AnErrorFromAButtonPressedByEnterLeavesItsModalDialogAsAClickWould) {
    Form owner(Design("TBoxOwner", "Sorv"));
    owner.Show();
    Form dialog(Design("TThrowingDialog", "Sorv"));
    Button ok(dialog, "Button1", Rect::FromOrigin({10, 10}, {80, 25}), "&Ok");
    ok.SetDefault(true);
    ok.ModalResult = mrOk;
    ok.OnClick = [] { throw std::runtime_error("Disque plein"); };
    WhenBoxAppears box([&](HWND shown) {
        seen = ReadBox(shown);
        Press(shown, IDOK);
    });
    test::WhenWindowAppears driver(L"TThrowingDialog", [&](HWND) { test::PostKey(ok.Handle(), VK_RETURN); });
    int result = 0;
    EXPECT_NO_THROW(result = dialog.ShowModal());
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(box.Count(), 1);
    EXPECT_EQ(seen.text, L"Disque plein.");
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(BoxesTest, AnErrorInACreationHandlerIsShownAndTheFormIsStillCreated) {
    class Failing : public Form {
    public:
        Failing() : Form(Design("TFailing", "")) {
            Guard([] { throw std::runtime_error("Erreur de cr\u00e9ation de la cl\u00e9 SOFTWARE\\TQ\\sorv"); });
        }
    };
    WhenBoxAppears driver([&](HWND box) {
        seen = ReadBox(box);
        Press(box, IDOK);
    });
    Failing form;
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(seen.text, L"Erreur de cr\u00e9ation de la cl\u00e9 SOFTWARE\\TQ\\sorv.");
    EXPECT_TRUE(IsWindow(form.Handle()));
}

int VisibleBoxes() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window) && test::ClassOf(window) == L"#32770") ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// A window whose painting fails until told otherwise.
class BrokenPaint : public Form {
public:
    BrokenPaint() : Form(Design("TBrokenPaint", "Sorv")) {}
    bool failing = true;
    int paints = 0;
    void Repaint() {
        InvalidateRect(Handle(), nullptr, TRUE);
        UpdateWindow(Handle());
    }

protected:
    bool PaintsItself() const override { return true; }
    void Paint(HDC, const Rect&) override {
        ++paints;
        if (failing) throw std::runtime_error("Ressource \u00e9puis\u00e9e");
    }
};

TEST_F(BoxesTest, APaintThatKeepsFailingOpensOneBoxUntilItPaintsAgain) {
    BrokenPaint form;
    form.Show();
    int boxesAtOnce = 0;
    WhenBoxAppears driver([&](HWND box) {
        seen = ReadBox(box);
        // Under the box the window paints, and fails, again; an error from
        // elsewhere meanwhile opens no box over this one either.
        form.Repaint();
        App().HandleException(std::runtime_error("Disque plein"));
        boxesAtOnce = VisibleBoxes();
        Press(box, IDOK);
    });
    driver.Repeat();
    form.Repaint();
    form.Repaint();  // the failure goes on: no new box
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(boxesAtOnce, 1);
    EXPECT_EQ(seen.text, L"Ressource \u00e9puis\u00e9e.");
    EXPECT_GE(form.paints, 3);

    form.failing = false;
    form.Repaint();
    form.failing = true;
    form.Repaint();  // a new failure after a good paint is shown
    EXPECT_EQ(driver.Count(), 2);
}

}  // namespace
}  // namespace sorv::tk
