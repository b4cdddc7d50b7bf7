#pragma once
// The About box: the program's icon, name and version, and two contact
// links. Created hidden at start-up and shown modally on request.
#include "UrlLabel.h"
#include "Wordcap.h"
#include "unit2_controls_win.h"
#include "buttons.h"
#include "form.h"
#include "label.h"

namespace sorv {

class TAboutBox : public tk::Form {
public:
    static constexpr char kHomePage[] = "http://sorv.example.org/";
    static constexpr char kContactAddress[] = "sorv@example.org";

    TAboutBox();
    ~TAboutBox() override { BeginDestroy(); }

    BevelPanel Panel1;
    IconImage ProgramIcon;
    tk::Label Label2;
    BevelPanel Panel2;
    tk::Label Label3;
    tk::GroupBox GroupBox1;
    TUrlLabel UrlLabel1;
    TUrlLabel UrlLabel2;
    tk::Button OKButton;
    caption::TMSOfficeCaption MSOfficeCaption1;

    void OKButtonClick();
};

}  // namespace sorv
