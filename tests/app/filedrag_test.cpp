// The drop target on a real window: drops are posted the way the shell posts
// them, with drop data built here.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "application.h"
#include "filedrag.h"
#include "form.h"
#include "utf16.h"

namespace sorv {
namespace {

// Drop data as the shell hands it over: DROPFILES, then the wide names, each
// with its NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names, POINT point) {
    std::wstring list;
    for (const auto& name : names) {
        list += Widen(name);
        list += L'\0';
    }
    list += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

bool Released(HDROP drop) {
    return GlobalSize(drop) == 0;
}

bool AcceptsFiles(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TFileDragTest";
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = tk::BorderStyle::Single;
    return design;
}

class FileDragTest : public ::testing::Test {
protected:
    void Drop(HDROP drop) {
        PostMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        tk::Application::Instance().ProcessMessages();
    }

    tk::Form form{Design()};
};

TEST_F(FileDragTest, ThreeFilesArriveInOrderWithThePoint) {
    TFileDrag drag(&form);
    const std::vector<std::string> names = {"C:\\Données\\film.avi", "C:\\a.d", "D:\\tranches\\b.°01"};
    const HDROP drop = MakeDrop(names, POINT{37, 112});
    int calls = 0;
    drag.OnDrop = [&](TFileDrag* sender, int x, int y) {
        ++calls;
        EXPECT_EQ(sender, &drag);
        EXPECT_EQ(x, 37);
        EXPECT_EQ(y, 112);
        EXPECT_EQ(sender->FileCount(), 3);
        EXPECT_EQ(sender->Files(), names);
        EXPECT_FALSE(Released(drop)) << "the drop data must outlive the handler";
    };
    Drop(drop);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(Released(drop));
    EXPECT_EQ(drag.Files(), names);  // kept after the event
    EXPECT_EQ(drag.NameBufferSize(), TFileDrag::kInitialNameBuffer);
}

TEST_F(FileDragTest, NameBufferGrowsToTheLongestName) {
    TFileDrag drag(&form);
    const std::string longest = "C:\\" + std::string(293, 'x') + ".zip";  // 300 characters
    const std::string longer = "C:\\" + std::string(196, 'y') + ".zip";
    const std::vector<std::string> names = {longer, longest, "C:\\court.d"};
    Drop(MakeDrop(names, POINT{0, 0}));
    ASSERT_EQ(longest.size(), 300u);
    EXPECT_EQ(drag.NameBufferSize(), 301u);
    EXPECT_EQ(drag.Files(), names);
}

TEST_F(FileDragTest, WithoutAHandlerNamesAreStillCollected) {
    TFileDrag drag(&form);
    const HDROP drop = MakeDrop({"C:\\un.txt", "C:\\deux.txt"}, POINT{5, 5});
    Drop(drop);
    EXPECT_EQ(drag.FileCount(), 2);
    EXPECT_EQ(drag.Files(), (std::vector<std::string>{"C:\\un.txt", "C:\\deux.txt"}));
    EXPECT_TRUE(Released(drop));
}

TEST_F(FileDragTest, EachDropReplacesTheLastOne) {
    TFileDrag drag(&form);
    Drop(MakeDrop({"C:\\un.txt", "C:\\deux.txt", "C:\\trois.txt"}, POINT{1, 1}));
    int calls = 0;
    drag.OnDrop = [&](TFileDrag*, int, int) { ++calls; };
    Drop(MakeDrop({"C:\\quatre.d"}, POINT{1, 1}));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(drag.FileCount(), 1);
    EXPECT_EQ(drag.Files(), std::vector<std::string>{"C:\\quatre.d"});
}

TEST_F(FileDragTest, EnableDropSwitchesTheWindowOnAndOff) {
    {
        TFileDrag drag(&form);
        EXPECT_TRUE(drag.EnableDrop());
        EXPECT_TRUE(AcceptsFiles(form.Handle()));
        drag.SetEnableDrop(false);
        EXPECT_FALSE(AcceptsFiles(form.Handle()));
        // Each write reaches the window, even an unchanged one.
        SetWindowLongPtrW(form.Handle(), GWL_EXSTYLE, GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
        drag.SetEnableDrop(false);
        EXPECT_FALSE(AcceptsFiles(form.Handle()));
        drag.SetEnableDrop(true);
        EXPECT_TRUE(drag.EnableDrop());
        EXPECT_TRUE(AcceptsFiles(form.Handle()));
    }
    EXPECT_FALSE(AcceptsFiles(form.Handle())) << "a destroyed drop target leaves no drop target behind";
}

TEST_F(FileDragTest, OtherMessagesAndOtherHooksGoOn) {
    int seen = 0;
    auto before = form.AddHook([&](const tk::Message& m, const tk::NextHook& next) {
        if (m.msg == WM_DROPFILES) ++seen;
        return next(m);
    });
    auto drag = std::make_unique<TFileDrag>(&form);
    auto after = form.AddHook([&](const tk::Message& m, const tk::NextHook& next) { return next(m); });

    SetWindowTextW(form.Handle(), L"Sorv - essai");
    EXPECT_EQ(form.Caption(), "Sorv - essai");
    Drop(MakeDrop({"C:\\un.txt"}, POINT{1, 1}));
    EXPECT_EQ(seen, 0) << "the drop message stops at the drop target";
    EXPECT_EQ(drag->FileCount(), 1);

    drag.reset();  // removed while a newer hook stays
    const HDROP late = MakeDrop({"C:\\deux.txt"}, POINT{1, 1});
    Drop(late);
    EXPECT_EQ(seen, 1);
    DragFinish(late);
}

TEST_F(FileDragTest, ARecreatedWindowStillAcceptsDrops) {
    TFileDrag drag(&form);
    form.SetBorderStyle(tk::BorderStyle::Sizeable);
    EXPECT_TRUE(AcceptsFiles(form.Handle()));
    Drop(MakeDrop({"C:\\un.txt"}, POINT{1, 1}));
    EXPECT_EQ(drag.FileCount(), 1);

    drag.SetEnableDrop(false);
    form.SetBorderStyle(tk::BorderStyle::Single);
    EXPECT_FALSE(AcceptsFiles(form.Handle()));
}

// A drop while a menu is open waits for the menu to close: its handler never
// runs inside the menu's loop, where the mouse cannot reach its questions.
TEST_F(FileDragTest, ADropWhileAMenuIsOpenWaitsForTheMenu) {
    TFileDrag drag(&form);
    int drops = 0;
    bool underMenu = true;
    drag.OnDrop = [&](TFileDrag*, int, int) {
        ++drops;
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        underMenu = GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0;
    };
    static HWND target;
    static HDROP drop;
    target = form.Handle();
    drop = MakeDrop({"C:\\un.txt"}, POINT{1, 1});
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    });
    // Should the menu stay open, it is ended all the same.
    SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EndMenu();
    });
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&Un");
    TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, form.Handle(), nullptr);
    DestroyMenu(menu);
    EXPECT_EQ(drops, 0) << "handled inside the menu's loop";
    tk::Application::Instance().ProcessMessages();
    EXPECT_EQ(drops, 1);
    EXPECT_FALSE(underMenu);
    EXPECT_TRUE(Released(drop));
}

TEST(FileDragWithoutWindow, IsOffAndTouchesNothing) {
    TFileDrag drag(nullptr);
    EXPECT_FALSE(drag.EnableDrop());
    drag.SetEnableDrop(true);
    EXPECT_TRUE(drag.EnableDrop());
    EXPECT_EQ(drag.FileCount(), 0);
}

}  // namespace
}  // namespace sorv
