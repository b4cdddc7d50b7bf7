#pragma once
// The help on real windows: the shipped help file installed in a folder with
// an accented name, "Chemin" naming that folder in a registry in memory, a
// main window (help context 10) shown and active, and a help viewer that
// receives the application's help requests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "application.h"
#include "box_driver.h"
#include "form.h"
#include "help_rules.h"
#include "help_request_win.h"
#include "help_viewer_win.h"
#include "memo.h"
#include "registry_memory.h"
#include "settings.h"
#include "temp_dir.h"
#include "utf16.h"

namespace sorv::test {

inline tk::FormDescription HelpTestDescription(const char* className, int helpContext) {
    tk::FormDescription design;
    design.className = className;
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = className == std::string("TForm1") ? tk::BorderStyle::Single : tk::BorderStyle::Dialog;
    design.helpContext = helpContext;
    return design;
}

// The visible help viewer of this thread, if any.
inline HelpViewer* ShownViewer() {
    return dynamic_cast<HelpViewer*>(tk::Window::FromHandle(FindThreadWindow(L"SorvHelp")));
}

inline tk::Control* ViewerControl(const HelpViewer& viewer, const std::string& name) {
    for (tk::Control* control : viewer.Controls())
        if (control->Name() == name) return control;
    return nullptr;
}

inline HWND OwnerOf(const HelpViewer& viewer) { return GetWindow(viewer.Handle(), GW_OWNER); }

class HelpTest : public ::testing::Test {
protected:
    HelpTest() {
        std::filesystem::create_directory(PathFromUtf8(folder));
        WriteFileBytes(file, ReadFileBytes(SORV_SHIPPED_HELP));
        shipped = LoadHelpFile(file).document;
        registry.WriteString(kSettingsRoot, kSettingsKey, kInstallFolderSetting, folder);
        tk::App().HelpFile = "sorv.hlp";
        RouteHelpTo(viewer);
        main.Show();
        PumpUntil([this] { return GetActiveWindow() == main.Handle(); });
    }
    ~HelpTest() override {
        tk::App().OnHelp = nullptr;
        tk::App().HelpFile.clear();
    }

    std::vector<std::string> ShippedTitles() const {
        std::vector<std::string> titles;
        for (const HelpTopic& topic : shipped.topics) titles.push_back(topic.title);
        return titles;
    }
    const HelpTopic& ShippedTopic(const std::string& title) const {
        for (const HelpTopic& topic : shipped.topics)
            if (topic.title == title) return topic;
        throw std::runtime_error("no topic " + title);
    }

    TempDir dir;
    std::string folder = dir.Path("Aide \u00e9t\u00e9\\");
    std::string file = folder + "sorv.hlp";
    HelpDocument shipped;
    MemoryRegistry registry;
    tk::Form main{HelpTestDescription("TForm1", 10)};
    tk::Memo memo{main, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true};
    HelpViewer viewer;
};

}  // namespace sorv::test
