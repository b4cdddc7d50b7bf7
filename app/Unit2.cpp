#include "Unit2.h"

#include <string>

namespace sorv {
namespace {

tk::FormDescription AboutDescription() {
    tk::FormDescription design;
    design.className = "TAboutBox";
    design.caption = "A propos";
    design.clientWidth = 227;
    design.clientHeight = 219;
    design.border = tk::BorderStyle::Dialog;
    design.helpContext = 0;
    design.screenCenter = true;
    return design;
}

tk::SharedFont ArialFont(int height, int weight) {
    tk::FontDescription font;
    font.face = "Arial";
    font.height = height;
    font.weight = weight;
    return tk::MakeFont(font);
}

}  // namespace

TAboutBox::TAboutBox()
    : Form(AboutDescription()),
      Panel1(*this, "Panel1", Rect::FromOrigin({8, 8}, {209, 89}), Bevel::Raised, Bevel::Lowered),
      ProgramIcon(Panel1, Rect{8, 8, 8 + 41, 8 + 41}, LoadProgramIcon()),
      Label2(Panel1, "Label2", Rect::FromOrigin({80, 8}, {85, 19}), "SOrv V1.50", false),
      Panel2(Panel1, "Panel2", Rect::FromOrigin({71, 32}, {105, 2}), Bevel::None, Bevel::Lowered),
      Label3(Panel1, "Label3", Rect::FromOrigin({26, 64}, {150, 15}), "Logiciel libre, \u00e9quipe Sorv", false),
      GroupBox1(*this, "GroupBox1", Rect::FromOrigin({8, 112}, {209, 65}), "Me contacter"),
      UrlLabel1(GroupBox1, "UrlLabel1", Rect::FromOrigin({22, 20}, {158, 13}), kHomePage, false),
      UrlLabel2(GroupBox1, "UrlLabel2", Rect::FromOrigin({22, 44}, {106, 13}), kContactAddress, false),
      OKButton(*this, "OKButton", Rect::FromOrigin({143, 188}, {75, 25}), "OK"),
      MSOfficeCaption1(*this, {caption::TFontKind::fkSystemB, caption::TFontKind::fkSystem,
                                caption::TFontKind::fkSystemBI, "A propos"}) {
    Label2.SetControlFont(ArialFont(-16, FW_BOLD));
    Label3.SetControlFont(ArialFont(-12, FW_NORMAL));
    UrlLabel1.URL = kHomePage;
    UrlLabel2.URL = std::string("mailto:") + kContactAddress + "?subject=Sorv ";
    // Enter closes the box; no button is its cancel button, so Escape
    // does nothing.
    OKButton.SetDefault(true);
    OKButton.ModalResult = tk::mrOk;
    OKButton.OnClick = [this] { OKButtonClick(); };
}

void TAboutBox::OKButtonClick() {
    // Shown modally, the button's modal result already ends the showing, as
    // OK; closing would turn it into a cancel.
    if (Modal() && ModalResult() != tk::mrNone) return;
    Close();
}

}  // namespace sorv
