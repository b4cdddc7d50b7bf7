#pragma once
// TMSOfficeCaption: the component a form carries to paint its own title bar,
// a colour gradient (separate colours while active and inactive) under up to
// three texts, each in its own font and colour: a company text, an
// application name and the caption proper. It watches the form's messages
// through the form's hook chain and paints whenever the frame is painted or
// the activation changes.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "colour.h"
#include "component.h"
#include "font.h"
#include "form.h"
#include "geometry.h"
#include "hook_chain.h"
#include "wordcap_rules.h"

namespace sorv::caption {

class TMSOfficeCaption;

// One of the three texts.
class TCompanyText {
public:
    explicit TCompanyText(TMSOfficeCaption& owner);
    virtual ~TCompanyText() = default;
    TCompanyText(const TCompanyText&) = delete;
    TCompanyText& operator=(const TCompanyText&) = delete;

    virtual std::string Caption() const { return caption_; }
    // A new text rewrites the form's window text.
    virtual void SetCaption(std::string_view caption);
    const std::string& StoredCaption() const { return caption_; }

    TColor ColorActive() const { return colorActive_; }
    void SetColorActive(TColor color) { colorActive_ = color; }
    TColor ColorInactive() const { return colorInactive_; }
    void SetColorInactive(TColor color) { colorInactive_ = color; }

    const tk::Font& Font() const { return *font_; }
    // Takes a copy; the kind becomes fkCustom unless it is fkAutoHeight,
    // which fits the new font's height at once.
    void SetFont(const tk::FontDescription& font);
    TFontKind FontKind() const { return fontKind_; }
    // Derives the font from the system caption font as the kind says.
    void SetFontKind(TFontKind kind);

    bool Visible() const { return visible_; }
    // A change rewrites the form's window text.
    void SetVisible(bool visible);

protected:
    TMSOfficeCaption& Owner() const { return owner_; }

private:
    friend class TMSOfficeCaption;
    void StoreCaption(std::string caption) { caption_ = std::move(caption); }

    std::string caption_;
    TColor colorActive_ = clCaptionText;
    TColor colorInactive_ = clInactiveCaptionText;
    tk::SharedFont font_;
    TFontKind fontKind_ = TFontKind::fkSystem;
    TMSOfficeCaption& owner_;
    bool visible_ = true;
};

class TAppNameText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
};

// Its Caption is read from the form: the window text less the other two.
class TCaptionText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
    std::string Caption() const override;
};

// What a form stores of its caption component beyond the defaults.
struct CaptionDesign {
    CaptionDesign() = default;
    CaptionDesign(TFontKind appName, TFontKind captionPart, TFontKind company,
                  std::optional<std::string> captionText = std::nullopt)
        : appNameKind(appName), captionKind(captionPart), companyKind(company), caption(std::move(captionText)) {}

    TFontKind appNameKind = TFontKind::fkSystem;
    TFontKind captionKind = TFontKind::fkSystem;
    TFontKind companyKind = TFontKind::fkSystem;
    std::optional<std::string> caption;
    bool appNameVisible = true;
    bool captionVisible = true;
    bool companyVisible = true;
};

class TMSOfficeCaption : public tk::Component {
public:
    // The handler may move the rectangle; the texts are laid out in what is left.
    using TOnDrawCaption = std::function<void(TMSOfficeCaption& Sender, const tk::Canvas& Canvas, Rect& R)>;

    explicit TMSOfficeCaption(tk::Form& owner, const CaptionDesign& design = {},
                              std::string name = "MSOfficeCaption1");
    ~TMSOfficeCaption() override;

    TAppNameText& AppNameText() { return appNameText_; }
    TCaptionText& CaptionText() { return captionText_; }
    TCompanyText& CompanyText() { return companyText_; }

    // Values show at the next frame repaint.
    TColor ColorLeftActive() const { return colorLeftActive_; }
    void SetColorLeftActive(TColor color) { colorLeftActive_ = color; }
    TColor ColorLeftInActive() const { return colorLeftInActive_; }
    void SetColorLeftInActive(TColor color) { colorLeftInActive_ = color; }
    TColor ColorRightActive() const { return colorRightActive_; }
    void SetColorRightActive(TColor color) { colorRightActive_ = color; }
    TColor ColorRightInActive() const { return colorRightInActive_; }
    void SetColorRightInActive(TColor color) { colorRightInActive_ = color; }
    TGradEnabled Enabled() const { return enabled_; }
    void SetEnabled(TGradEnabled enabled) { enabled_ = enabled; }
    TJustification Justification() const { return justification_; }
    void SetJustification(TJustification justification) { justification_ = justification; }
    int NumColors() const { return numColors_; }
    // 1 to 256: 0 or less is ignored, more than 256 stores 256.
    void SetNumColors(int count) { numColors_ = NumColorsAfterWrite(numColors_, count); }

    TOnDrawCaption OnDrawCaption;

    // The form's window text from the three texts.
    void ComposeWindowText();
    // The form's window text less the company and application-name texts.
    std::string ExtractCaption() const;
    bool IsFormActive() const;
    // Has the platform recompute and repaint the frame, nothing else.
    void RefreshFrame() const;
    // Paints the title bar; returns the rectangle covered (window
    // coordinates), empty when nothing was painted.
    Rect PaintCaption(bool active);

    bool Hooked() const { return hooked_; }
    const tk::Font& SystemCaptionFont() const { return *systemFont_; }

private:
    friend class TCompanyText;

    void HookForm();
    void UnhookForm();
    void Loaded();
    LRESULT FormMessage(const tk::Message& message, const tk::NextHook& next);
    LRESULT ApplicationMessage(const tk::Message& message, const tk::NextHook& next);
    LRESULT Activate(const tk::Message& message, const tk::NextHook& next);
    void AfterForwarding(const tk::Message& message);
    LRESULT PaintFrame(const tk::Message& message, const tk::NextHook& next);
    void ReadSystemFont();
    void SystemChanged();
    void DrawTexts(HDC dc, const Rect& textRect, bool active, const std::vector<Band>& background);

    tk::Form& form_;
    HWND formHandle_ = nullptr;
    CaptionFont systemCaption_;
    tk::SharedFont systemFont_;
    TCompanyText companyText_;
    TAppNameText appNameText_;
    TCaptionText captionText_;
    TColor colorLeftActive_ = clBlack;
    TColor colorLeftInActive_ = clBlack;
    TColor colorRightActive_ = clActiveCaption;
    TColor colorRightInActive_ = clInactiveCaption;
    TGradEnabled enabled_ = TGradEnabled::geSmart;
    TJustification justification_ = TJustification::jAuto;
    int numColors_ = kDefaultNumColors;
    bool hooked_ = false;
    bool active_ = true;
    bool activeKnown_ = false;
    bool recreating_ = false;
    tk::HookRegistration formHook_;
    tk::HookRegistration applicationHook_;
};

}  // namespace sorv::caption
