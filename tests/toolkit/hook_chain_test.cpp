// The hook chain itself, without a window: order, passing on, removal in any
// order and during a message.
#include <gtest/gtest.h>

#include <string>

#include "hook_chain.h"

namespace sorv::tk {
namespace {

struct Trace {
    std::string calls;
    static LRESULT Last(void* self, const Message& m) {
        static_cast<Trace*>(self)->calls += "W";
        return static_cast<LRESULT>(m.wParam);
    }
};

MessageHook Tagged(Trace& trace, char tag) {
    return [&trace, tag](const Message& m, const NextHook& next) {
        trace.calls += tag;
        return next(m);
    };
}

LRESULT Send(HookChain& chain, Trace& trace, WPARAM w = 7) {
    return chain.Run(Message{nullptr, WM_USER, w, 0}, Trace::Last, &trace);
}

TEST(HookChain, NewestHookRunsFirstAndTheWindowLast) {
    HookChain chain;
    Trace trace;
    auto a = chain.Add(Tagged(trace, 'a'));
    auto b = chain.Add(Tagged(trace, 'b'));
    EXPECT_EQ(Send(chain, trace), 7);
    EXPECT_EQ(trace.calls, "baW");
}

TEST(HookChain, RemovalInAnyOrderKeepsTheOthersLinked) {
    HookChain chain;
    Trace trace;
    auto a = chain.Add(Tagged(trace, 'a'));
    auto b = chain.Add(Tagged(trace, 'b'));
    auto c = chain.Add(Tagged(trace, 'c'));
    b.Remove();  // out of order: the middle one
    Send(chain, trace);
    EXPECT_EQ(trace.calls, "caW");
    trace.calls.clear();
    c.Remove();
    auto d = chain.Add(Tagged(trace, 'd'));
    Send(chain, trace);
    EXPECT_EQ(trace.calls, "daW");
    trace.calls.clear();
    a.Remove();
    d.Remove();
    Send(chain, trace);
    EXPECT_EQ(trace.calls, "W");
    EXPECT_EQ(chain.Size(), 0u);
}

TEST(HookChain, AHookCanAnswerAloneOrChangeTheMessage) {
    HookChain chain;
    Trace trace;
    auto older = chain.Add(Tagged(trace, 'o'));
    auto changer = chain.Add([&](const Message& m, const NextHook& next) {
        if (m.wParam == 1) return LRESULT{42};  // answered here
        Message changed = m;
        changed.wParam = m.wParam * 10;
        return next(changed);
    });
    EXPECT_EQ(Send(chain, trace, 1), 42);
    EXPECT_EQ(trace.calls, "");
    EXPECT_EQ(Send(chain, trace, 3), 30);
    EXPECT_EQ(trace.calls, "oW");
}

TEST(HookChain, AHookRemovedWhileAMessageTravelsIsNotCalled) {
    HookChain chain;
    Trace trace;
    HookRegistration older = chain.Add(Tagged(trace, 'o'));
    HookRegistration self;
    auto remover = chain.Add([&](const Message& m, const NextHook& next) {
        trace.calls += 'r';
        older.Remove();  // the next hook in line goes away
        self.Remove();   // and so does this one, while it runs
        return next(m);
    });
    self = std::move(remover);
    Send(chain, trace);
    EXPECT_EQ(trace.calls, "rW");
    trace.calls.clear();
    Send(chain, trace);
    EXPECT_EQ(trace.calls, "W");
}

TEST(HookChain, RegistrationOutlivingTheChainIsHarmless) {
    HookRegistration registration;
    {
        HookChain chain;
        Trace trace;
        registration = chain.Add(Tagged(trace, 'a'));
        EXPECT_TRUE(registration.Installed());
    }
    EXPECT_FALSE(registration.Installed());
    registration.Remove();
}

}  // namespace
}  // namespace sorv::tk
