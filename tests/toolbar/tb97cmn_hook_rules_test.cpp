// The shared hook registry's counting: callbacks, their kinds and the system
// hooks they keep installed.
#include <gtest/gtest.h>

#include "tb97cmn_hook_rules.h"

namespace sorv::toolbar {
namespace {

using Registry = HookRegistry<int>;
using K = THookProcType;

TEST(HookRegistry, SystemHooksStayWhileSomeRegistrationNeedsThem) {
    Registry registry;
    auto change = registry.Register(1, {K::hkActivateApp, K::hkWindowPosChanged, K::hkPreDestroy});
    // Two kinds share the call-window-procedure hook: installed once.
    EXPECT_EQ(change.install, (std::vector<SystemHook>{SystemHook::CallWindowProc, SystemHook::ComputerBasedTraining}));
    EXPECT_EQ(registry.Register(2, {K::hkMouseMove}).install, std::vector<SystemHook>{SystemHook::GetMessage});

    // The same callback again (another tool window): counted, kinds unchanged.
    change = registry.Register(1, {K::hkMouseMove});
    EXPECT_TRUE(change.install.empty());
    EXPECT_EQ(registry.References(1), 2);
    EXPECT_EQ(registry.CallbacksFor(K::hkMouseMove), std::vector<int>{2});

    EXPECT_TRUE(registry.Unregister(1).remove.empty());  // the other registration still needs them
    EXPECT_TRUE(registry.Needs(SystemHook::CallWindowProc));
    EXPECT_EQ(registry.CallbacksFor(K::hkPreDestroy), std::vector<int>{1});
    change = registry.Unregister(1);
    EXPECT_EQ(change.remove, (std::vector<SystemHook>{SystemHook::CallWindowProc, SystemHook::ComputerBasedTraining}));
    EXPECT_EQ(registry.References(1), 0);
    EXPECT_TRUE(registry.CallbacksFor(K::hkPreDestroy).empty());
    EXPECT_TRUE(registry.Needs(SystemHook::GetMessage));

    // Unregistering what is not registered changes nothing.
    EXPECT_TRUE(registry.Unregister(1).remove.empty());
    EXPECT_TRUE(registry.Needs(SystemHook::GetMessage));
    EXPECT_EQ(registry.Unregister(2).remove, std::vector<SystemHook>{SystemHook::GetMessage});
}

TEST(HookRegistry, CallbacksOfAKindInRegistrationOrder) {
    Registry registry;
    registry.Register(7, {K::hkWindowPosChanged});
    registry.Register(3, {K::hkWindowPosChanged, K::hkActivateApp});
    registry.Register(5, {K::hkActivateApp});
    EXPECT_EQ(registry.CallbacksFor(K::hkWindowPosChanged), (std::vector<int>{7, 3}));
    EXPECT_EQ(registry.CallbacksFor(K::hkActivateApp), (std::vector<int>{3, 5}));
    EXPECT_TRUE(registry.CallbacksFor(K::hkMouseMove).empty());
}

TEST(HookDemand, EachSystemHookWantedWhileAnyWantStands) {
    HookDemand demand;
    demand.Want({K::hkActivateApp, K::hkWindowPosChanged, K::hkPreDestroy}, true);  // a bar floats
    demand.Want({K::hkActivateApp, K::hkMouseMove}, true);                          // a button is hot
    EXPECT_TRUE(demand.Wanted(SystemHook::GetMessage));
    demand.Want({K::hkActivateApp, K::hkWindowPosChanged, K::hkPreDestroy}, false);
    // Two kinds of one hook counted once: the hot button still holds it.
    EXPECT_TRUE(demand.Wanted(SystemHook::CallWindowProc));
    EXPECT_FALSE(demand.Wanted(SystemHook::ComputerBasedTraining));
    demand.Want({K::hkActivateApp, K::hkMouseMove}, false);
    demand.Want({K::hkMouseMove}, false);  // one too many: no debt
    for (SystemHook hook : {SystemHook::CallWindowProc, SystemHook::ComputerBasedTraining, SystemHook::GetMessage})
        EXPECT_FALSE(demand.Wanted(hook));
    demand.Want({K::hkMouseMove}, true);
    EXPECT_TRUE(demand.Wanted(SystemHook::GetMessage));
}

}  // namespace

}  // namespace sorv::toolbar
