#pragma once
// The options dialog: the context-menu verb, the ".d" file type, the main
// window's drop target and the recovery slices of each split, each on or
// off. Created once at start-up and shown modally on demand; it keeps
// nothing of its own: the boxes are read again each time it shows, and
// "&Ok" writes all four from them.
#include "Wordcap.h"
#include "buttons.h"
#include "file_system.h"
#include "filedrag.h"
#include "form.h"
#include "registry.h"

namespace sorv {

inline constexpr char kExecutableMissingText[] = "Sorv.exe est introuvable dans le chemin courant.";

class TForm4 : public tk::Form {
public:
    // `mainForm` gives the caption at creation; `fileDrag` is the main
    // window's drop target, read and switched by the third box. Settings and
    // shell keys go through `registry`; `fileSystem` looks for the executable.
    TForm4(const tk::Form& mainForm, TFileDrag& fileDrag, RegistryStore& registry = SystemRegistry(),
           FileSystem& fileSystem = NativeFileSystem());
    ~TForm4() override { BeginDestroy(); }

    tk::GroupBox GroupBox1;
    tk::CheckBox CheckBox1;
    tk::CheckBox CheckBox2;
    tk::CheckBox CheckBox3;
    tk::CheckBox CheckBox4;
    // Made in the tab order.
    tk::Button Button1;
    tk::Button Button2;
    caption::TMSOfficeCaption MSOfficeCaption1;

    void FormCreate();
    void FormActivate();
    void Button1Click();
    void Button2Click();

private:
    const tk::Form& mainForm_;
    TFileDrag& fileDrag_;
    RegistryStore& registry_;
    FileSystem& fileSystem_;
};

}  // namespace sorv
