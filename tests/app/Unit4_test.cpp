// The options dialog driven as a user drives it: shown modally over a main
// window that holds the drop target, boxes clicked and buttons pressed from a
// timer. The shell keys go to the real registry (writable under Wine) or to
// a memory registry that can refuse writes; the settings always go to memory
// so the prefix's own settings stay as they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <algorithm>
#include <cwctype>
#include <string>
#include <tuple>
#include <vector>

#include "Unit4.h"
#include "application.h"
#include "box_driver.h"
#include "window_probe.h"
#include "registry_memory.h"
#include "settings.h"
#include "temp_dir.h"
#include "timer.h"
#include "utf16.h"

namespace sorv {
namespace {

using test::PumpUntil;
using test::TextOf;

constexpr char kVerbKey[] = "*\\shell\\Sorv";
constexpr char kVerbCommandKey[] = "*\\shell\\Sorv\\command";
constexpr char kTypeKey[] = ".d";
constexpr char kTypeCommandKey[] = "sorv\\shell\\open\\command";
constexpr char kUserClasses[] = "Software\\Classes\\";
constexpr char kStaleCommand[] = "C:\\Ancien\\sorv.exe %1";

// The settings in memory, every other key in the system registry.
class ShellKeysInSystemRegistry final : public RegistryStore {
public:
    std::string ReadString(int root, const std::string& key, const std::string& name) override {
        return For(root, key).ReadString(root, key, name);
    }
    void WriteString(int root, const std::string& key, const std::string& name, const std::string& text) override {
        For(root, key).WriteString(root, key, name, text);
    }
    bool KeyHasDefault(int root, const std::string& key) override { return For(root, key).KeyHasDefault(root, key); }
    void EraseKey(int root, const std::string& key) override { For(root, key).EraseKey(root, key); }

private:
    RegistryStore& For(int root, const std::string& key) {
        return root == kSettingsRoot && key == kSettingsKey ? settings_ : SystemRegistry();
    }
    MemoryRegistry settings_;
};

bool SystemKeyExists(int root, const std::string& path) {
    HKEY key = nullptr;
    const HKEY rootKey = root == kRootClasses ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
    if (RegOpenKeyExW(rootKey, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

using KeyExists = std::function<bool(int root, const std::string& path)>;

struct Choice {
    bool verb;
    bool type;
    bool drop;
};

// The four shell keys as "&Ok" leaves them under `root`, below `prefix`.
void ExpectShellKeys(RegistryStore& store, const KeyExists& exists, int root, const std::string& prefix,
                     Choice choice, const std::string& commandLine) {
    if (choice.verb) {
        EXPECT_EQ(store.ReadString(root, prefix + kVerbKey, ""), "Utiliser Sorv");
        EXPECT_EQ(store.ReadString(root, prefix + kVerbCommandKey, ""), commandLine);
    } else {
        EXPECT_FALSE(exists(root, prefix + kVerbKey));
    }
    if (choice.type) {
        EXPECT_EQ(store.ReadString(root, prefix + kTypeKey, ""), "Sorv");
        EXPECT_EQ(store.ReadString(root, prefix + kTypeCommandKey, ""), commandLine);
    } else {
        EXPECT_FALSE(exists(root, prefix + kTypeKey));
        EXPECT_FALSE(exists(root, prefix + "sorv"));
    }
}

// Registrations left by an earlier install, with extra subkeys, and a ".d"
// type of another program.
void SeedStaleKeys(RegistryStore& store, int root, const std::string& prefix) {
    store.WriteString(root, prefix + kVerbKey, "", "Utiliser Sorv");
    store.WriteString(root, prefix + kVerbCommandKey, "", kStaleCommand);
    store.WriteString(root, prefix + kTypeKey, "", "AutreType");
    store.WriteString(root, prefix + kTypeCommandKey, "", kStaleCommand);
    store.WriteString(root, prefix + "sorv\\DefaultIcon", "", "C:\\Ancien\\sorv.exe,0");
}

bool Shown(const tk::CheckBox& box) { return SendMessageW(box.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// As a user clicks it, when it is not as wanted.
void SetLikeUser(tk::CheckBox& box, bool checked) {
    if (Shown(box) != checked) PostMessageW(box.Handle(), BM_CLICK, 0, 0);
}

void Choose(TForm4& dialog, Choice choice) {
    SetLikeUser(dialog.CheckBox1, choice.verb);
    SetLikeUser(dialog.CheckBox2, choice.type);
    SetLikeUser(dialog.CheckBox3, choice.drop);
}

void Press(tk::Button& button) { PostMessageW(button.Handle(), BM_CLICK, 0, 0); }

bool AcceptsFiles(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

tk::FormDescription MainDescription() {
    tk::FormDescription design;
    design.className = "TForm1";
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = tk::BorderStyle::Single;
    return design;
}

class OptionsDialog : public ::testing::Test {
protected:
    OptionsDialog() {
        tk::App().SetTitle("sorv");
        std::filesystem::create_directory(test::PathFromUtf8(folder));
        test::WriteFileBytes(folder + "sorv.exe", "MZ");
        main.Show();
        PumpUntil([this] { return GetActiveWindow() == main.Handle(); });
    }

    // Creates the dialog as start-up does, "Chemin" read then.
    TForm4& Create(RegistryStore& store) {
        dialog = std::make_unique<TForm4>(main, drag, store);
        return *dialog;
    }

    // Shows the dialog modally and plays the user once it is up. A dialog
    // still open after a while is closed, so that a failure cannot hang.
    void RunModal(const std::function<void(TForm4&)>& user) {
        test::WhenWindowAppears when(L"TForm4", [&](HWND) { user(*dialog); });
        tk::Timer watchdog(8000, [&] {
            ADD_FAILURE() << "the dialog did not close";
            if (HWND box = test::FindThreadWindow(L"#32770")) PostMessageW(box, WM_CLOSE, 0, 0);
            dialog->SetModalResult(tk::mrCancel);
        });
        dialog->ShowModal();
        EXPECT_EQ(when.Count(), 1);
    }

    tk::Form main{MainDescription()};
    TFileDrag drag{&main};
    test::TempDir dir;
    const std::string folder = dir.Path("Mes Données\\");
    // With a blank in the folder: the quotes keep the path one argument.
    const std::string commandLine = "\"" + folder + "sorv.exe\" \"%1\"";
    std::unique_ptr<TForm4> dialog;
};

// The real registry: keys written by a test are erased after it, with the
// parent "*\shell" when the test created it.
class OptionsDialogOnSystemRegistry : public OptionsDialog {
protected:
    ~OptionsDialogOnSystemRegistry() override {
        for (const std::string key : {kVerbKey, kTypeKey, "sorv"}) {
            EraseRegKey(kRootClasses, key);
            EraseRegKey(kRootCurrentUser, kUserClasses + key);
        }
        if (!hadShellKey_) EraseRegKey(kRootClasses, "*\\shell");
    }

    ShellKeysInSystemRegistry store;

private:
    bool hadShellKey_ = SystemKeyExists(kRootClasses, "*\\shell");
};

TEST_F(OptionsDialogOnSystemRegistry, OkWritesAndErasesExactlyTheShellKeysForEveryCombination) {
    WriteSetting(kInstallFolderSetting, folder, store);
    SeedStaleKeys(store, kRootClasses, "");
    drag.SetEnableDrop(false);
    Create(store);
    // The stale keys show both boxes checked, the foreign ".d" included.
    Choice before{true, true, false};
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // The third box follows the drop target, not the stored setting.
        if (round % 2 == 1) drag.SetEnableDrop(!drag.EnableDrop());
        before.drop = drag.EnableDrop();
        const Choice choice{(round & 1) != 0, (round & 2) != 0, (round & 4) != 0};
        Choice shown{};
        RunModal([&](TForm4& d) {
            shown = {Shown(d.CheckBox1), Shown(d.CheckBox2), Shown(d.CheckBox3)};
            Choose(d, choice);
            Press(d.Button1);
        });
        EXPECT_EQ(shown.verb, before.verb);
        EXPECT_EQ(shown.type, before.type);
        EXPECT_EQ(shown.drop, before.drop);

        ExpectShellKeys(store, SystemKeyExists, kRootClasses, "", choice, commandLine);
        EXPECT_EQ(ReadSetting(kDropSetting, store), choice.drop ? "Ok" : "No");
        EXPECT_EQ(drag.EnableDrop(), choice.drop);
        EXPECT_EQ(AcceptsFiles(main.Handle()), choice.drop);
        // Nothing falls back while the classes root takes the writes.
        EXPECT_FALSE(SystemKeyExists(kRootCurrentUser, std::string(kUserClasses) + kTypeKey));
        EXPECT_FALSE(SystemKeyExists(kRootCurrentUser, std::string(kUserClasses) + kVerbKey));
        before = choice;
    }
}

TEST_F(OptionsDialog, BoxesProbeTheCommandKeyAndTheExtensionOnly) {
    MemoryRegistry store;
    store.WriteString(kRootClasses, kVerbKey, "", "Utiliser Sorv");  // no command below
    store.WriteString(kRootClasses, kTypeCommandKey, "", kStaleCommand);
    store.WriteString(kRootClasses, std::string(kTypeKey) + "\\OpenWithList", "", "x");  // ".d" without default
    Create(store);
    Choice shown{true, true, true};
    RunModal([&](TForm4& d) {
        shown = {Shown(d.CheckBox1), Shown(d.CheckBox2), Shown(d.CheckBox3)};
        Press(d.Button2);
    });
    EXPECT_FALSE(shown.verb);
    EXPECT_FALSE(shown.type);
    EXPECT_TRUE(shown.drop);  // the drop target is on from its creation
}

// A standard user may not create keys under the classes root: the keys go to
// the user's classes instead, and unchecking erases them in both places.
class OptionsDialogRefused : public OptionsDialog, public ::testing::WithParamInterface<bool> {};

TEST_P(OptionsDialogRefused, RegistrationsFallBackToTheUsersClassesAndAreErasedFromBoth) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    SeedStaleKeys(store, kRootClasses, "");
    SeedStaleKeys(store, kRootCurrentUser, kUserClasses);
    if (GetParam()) {
        store.RefuseKeysUnder(kRootClasses);
    } else {
        store.RefuseValuesUnder(kRootClasses);
    }
    const KeyExists exists = [&](int root, const std::string& path) { return store.KeyExists(root, path); };
    Create(store);

    RunModal([&](TForm4& d) {
        Choose(d, {true, true, true});
        Press(d.Button1);
    });
    ExpectShellKeys(store, exists, kRootCurrentUser, kUserClasses, {true, true, true}, commandLine);
    EXPECT_EQ(store.ReadString(kRootClasses, kTypeKey, ""), "AutreType");
    EXPECT_EQ(ReadSetting(kDropSetting, store), "Ok");
    EXPECT_FALSE(dialog->Visible());

    RunModal([&](TForm4& d) {
        Choose(d, {false, false, false});
        Press(d.Button1);
    });
    ExpectShellKeys(store, exists, kRootClasses, "", {false, false, false}, commandLine);
    ExpectShellKeys(store, exists, kRootCurrentUser, kUserClasses, {false, false, false}, commandLine);
    EXPECT_EQ(ReadSetting(kDropSetting, store), "No");
    EXPECT_FALSE(drag.EnableDrop());
}

INSTANTIATE_TEST_SUITE_P(KeysOrValues, OptionsDialogRefused, ::testing::Bool());

TEST_F(OptionsDialog, AWriteRefusedInBothPlacesIsShownAndTheDialogStaysOpen) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    store.RefuseKeysUnder(kRootClasses);
    store.RefuseKeysUnder(kRootCurrentUser);
    Create(store);
    std::vector<test::BoxContents> boxes;
    bool openAfterError = false;
    RunModal([&](TForm4& d) {
        test::WhenBoxAppears box([&](HWND b) {
            boxes.push_back(test::ReadBox(b));
            test::Press(b, IDOK);
        });
        Choose(d, {true, true, false});
        Press(d.Button1);
        PumpUntil([&] { return box.Count() > 0 && !test::FindThreadWindow(L"#32770"); });
        PumpUntil([] { return false; }, 50);
        openAfterError = d.Visible() && d.ModalResult() == tk::mrNone;
        Press(d.Button2);
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Erreur de création de la clé Software\\Classes\\*\\shell\\Sorv.");
    EXPECT_EQ(boxes[0].title, L"sorv");
    EXPECT_NE(boxes[0].icon, nullptr);
    EXPECT_TRUE(openAfterError);
    // The steps after the failed write did not run.
    EXPECT_EQ(ReadSetting(kDropSetting, store), kRegNone);
    EXPECT_TRUE(drag.EnableDrop());
}

TEST_F(OptionsDialog, WithoutTheExecutableTheShellKeysStayButDragAndDropIsApplied) {
    for (const bool folderStored : {true, false}) {
        SCOPED_TRACE(folderStored ? "folder without sorv.exe" : "no folder stored");
        MemoryRegistry store;
        if (folderStored) WriteSetting(kInstallFolderSetting, dir.folder(), store);
        SeedStaleKeys(store, kRootClasses, "");
        drag.SetEnableDrop(false);
        Create(store);
        std::vector<test::BoxContents> boxes;
        std::string dropWhileBoxShown;
        RunModal([&](TForm4& d) {
            test::WhenBoxAppears box([&](HWND b) {
                boxes.push_back(test::ReadBox(b));
                dropWhileBoxShown = ReadSetting(kDropSetting, store);
                test::Press(b, IDOK);
            });
            Choose(d, {false, false, true});
            Press(d.Button1);
            PumpUntil([&] { return box.Count() > 0 && d.ModalResult() != tk::mrNone; });
        });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, Widen(kExecutableMissingText));
        EXPECT_EQ(boxes[0].title, L"sorv");
        EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(boxes[0].icon, nullptr);
        EXPECT_EQ(dropWhileBoxShown, kRegNone);

        EXPECT_EQ(store.ReadString(kRootClasses, kVerbCommandKey, ""), kStaleCommand);
        EXPECT_EQ(store.ReadString(kRootClasses, kTypeKey, ""), "AutreType");
        EXPECT_EQ(store.ReadString(kRootClasses, kTypeCommandKey, ""), kStaleCommand);
        EXPECT_EQ(ReadSetting(kDropSetting, store), "Ok");
        EXPECT_TRUE(drag.EnableDrop());
        EXPECT_FALSE(dialog->Visible());
        dialog.reset();
    }
}

TEST_F(OptionsDialog, AnnulerTheCloseBoxAndAltF4WriteNothing) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    const KeyExists exists = [&](int root, const std::string& path) { return store.KeyExists(root, path); };
    Create(store);
    const std::vector<std::pair<const char*, std::function<void(TForm4&)>>> ways = {
        {"Annuler", [](TForm4& d) { Press(d.Button2); }},
        {"close box", [](TForm4& d) { PostMessageW(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4",
         [](TForm4&) {
             const LPARAM altDown = 1 | (static_cast<LPARAM>(MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC)) << 16) | (1 << 29);
             PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, altDown);
         }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        RunModal([&](TForm4& d) {
            Choose(d, {true, true, false});
            close(d);
        });
        EXPECT_FALSE(dialog->Visible());
        ExpectShellKeys(store, exists, kRootClasses, "", {false, false, false}, commandLine);
        EXPECT_EQ(ReadSetting(kDropSetting, store), kRegNone);
        EXPECT_TRUE(drag.EnableDrop());
    }
}

// Off until "&Ok" stores it on; "A&nnuler" writes nothing; its access key
// is its own.
TEST_F(OptionsDialog, TheRecoveryBoxIsOffByDefaultAndStoredAsSecours) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    Create(store);
    for (const auto& [check, press, stored] : std::vector<std::tuple<bool, bool, std::string>>{
             {true, false, kRegNone}, {true, true, "Ok"}, {false, true, "No"}}) {
        bool shownBefore = true;
        const bool storedOn = ReadSetting(kRecoverySetting, store) == "Ok";
        RunModal([&](TForm4& d) {
            shownBefore = Shown(d.CheckBox4);
            SetLikeUser(d.CheckBox4, check);
            PumpUntil([&] { return Shown(d.CheckBox4) == check; }, 1000);
            Press(press ? d.Button1 : d.Button2);
        });
        EXPECT_EQ(shownBefore, storedOn);
        EXPECT_EQ(ReadSetting(kRecoverySetting, store), stored);
    }
    std::vector<wchar_t> keys;
    for (const tk::Control* c : std::initializer_list<const tk::Control*>{&dialog->CheckBox1, &dialog->CheckBox2,
                                                                         &dialog->CheckBox3, &dialog->Button1,
                                                                         &dialog->Button2, &dialog->GroupBox1}) {
        const std::wstring text = TextOf(c->Handle());
        if (const auto amp = text.find(L'&'); amp != std::wstring::npos) keys.push_back(towlower(text[amp + 1]));
    }
    EXPECT_EQ(std::count(keys.begin(), keys.end(), L's'), 0);
}

// Which buttons show the default frame.
std::vector<HWND> Framed(const TForm4& d) {
    std::vector<HWND> framed;
    for (const tk::Button* button : {&d.Button1, &d.Button2})
        if ((GetWindowLongPtrW(button->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            framed.push_back(button->Handle());
    return framed;
}

TEST_F(OptionsDialog, TabGoesBoxesOkAnnulerAndOnlyAFocusedButtonAnswersEnter) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    Create(store);
    std::vector<HWND> focus;
    std::vector<std::vector<HWND>> framed;
    bool shownAfterKeys = false;
    RunModal([&](TForm4& d) {
        focus.push_back(GetFocus());
        framed.push_back(Framed(d));
        for (int i = 0; i < 6; ++i) {
            HWND from = GetFocus();
            test::PostKey(from, VK_TAB);
            PumpUntil([&] { return GetFocus() != from; }, 1000);
            focus.push_back(GetFocus());
            framed.push_back(Framed(d));
        }
        // On a box, Enter and Escape press nothing; on "&Ok", Enter does.
        d.CheckBox3.SetFocus();
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) test::PostKey(GetFocus(), key);
        PumpUntil([] { return false; }, 200);
        shownAfterKeys = d.Visible();
        d.Button1.SetFocus();
        test::PostKey(GetFocus(), VK_RETURN);
    });
    const TForm4& d = *dialog;
    const HWND ok = d.Button1.Handle();
    const HWND annuler = d.Button2.Handle();
    EXPECT_EQ(focus, (std::vector<HWND>{d.CheckBox1.Handle(), d.CheckBox2.Handle(), d.CheckBox3.Handle(),
                                        d.CheckBox4.Handle(), ok, annuler, d.CheckBox1.Handle()}));
    using Frames = std::vector<HWND>;
    EXPECT_EQ(framed, (std::vector<Frames>{{}, {}, {}, {}, {ok}, {annuler}, {}}));
    EXPECT_TRUE(shownAfterKeys);
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(ReadSetting(kDropSetting, store), kSettingOn);
    // Closed from "A&nnuler", shown again: it starts on the first box.
    RunModal([](TForm4& dlg) {
        dlg.Button2.SetFocus();
        test::PostKey(GetFocus(), VK_RETURN);
    });
    HWND first = nullptr;
    RunModal([&](TForm4& dlg) {
        first = GetFocus();
        Press(dlg.Button2);
    });
    EXPECT_EQ(first, d.CheckBox1.Handle());
}

RECT BoundsInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(OptionsDialog, GeometryCaptionsFontAndHelp) {
    MemoryRegistry store;
    WriteSetting(kInstallFolderSetting, folder, store);
    test::WriteFileBytes(folder + "sorv.hlp", "");
    TForm4& d = Create(store);
    EXPECT_EQ(FindWindowW(L"TForm4", L"Sorv"), d.Handle());
    EXPECT_EQ(d.HelpFile, folder + "sorv.hlp");
    EXPECT_EQ(d.HelpContext, 50);

    RECT client{};
    GetClientRect(d.Handle(), &client);
    EXPECT_EQ(client.right, 241);
    EXPECT_EQ(client.bottom, 215);
    const auto style = GetWindowLongPtrW(d.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);

    struct Expected {
        const tk::Control& control;
        RECT bounds;  // left, top, right, bottom in the dialog's client area
        const wchar_t* caption;
    };
    // The boxes sit inside the frame: its origin (8, 8) plus their place.
    const Expected controls[] = {
        {d.GroupBox1, {8, 8, 233, 161}, L"Options"},
        {d.CheckBox1, {16, 32, 225, 57}, L"&Ajout de sorv dans le menu contextuel."},
        {d.CheckBox2, {16, 64, 225, 81}, L"&Enregistrer *.d comme type de fichier."},
        {d.CheckBox3, {16, 96, 209, 113}, L"Utiliser le drag and drop."},
        {d.CheckBox4, {16, 128, 225, 145}, L"Ajouter des tranches de &secours."},
        // The buttons stay below the frame that grew by one row.
        {d.Button1, {158, 176, 233, 201}, L"&Ok"},
        {d.Button2, {8, 176, 83, 201}, L"A&nnuler"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control.Name());
        const RECT r = BoundsInParent(c.control.Handle());
        EXPECT_EQ(r.left, c.bounds.left);
        EXPECT_EQ(r.top, c.bounds.top);
        EXPECT_EQ(r.right, c.bounds.right);
        EXPECT_EQ(r.bottom, c.bounds.bottom);
        EXPECT_EQ(TextOf(c.control.Handle()), c.caption);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c.control.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11);
    }

    RECT window{};
    RunModal([&](TForm4& shown) {
        GetWindowRect(shown.Handle(), &window);
        Press(shown.Button2);
    });
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

}  // namespace
}  // namespace sorv
