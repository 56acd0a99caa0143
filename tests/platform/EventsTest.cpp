// Events: a handler may replace or clear the event that is running it.
#include "platform/Events.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace vandora;

TEST(Events, AHandlerThatReplacesOrClearsItsOwnEventFinishesWithWhatItCaptured)
{
    TEvent<int> event;
    std::string seen;
    // Captured by value, so the handler's copy is the only one left: it dies with the handler.
    auto state = std::make_shared<std::string>("the first handler's state, long enough to live on the heap");
    event = TEvent<int>([&event, &seen, state](int n) {
        event = TEvent<int>([&seen](int m) { seen += "|second " + std::to_string(m); });
        seen += *state + " " + std::to_string(n);
    });
    state.reset();
    event(1);
    event(2);
    EXPECT_EQ(seen, "the first handler's state, long enough to live on the heap 1|second 2");

    std::string cleared;
    auto text = std::make_shared<std::string>("a one-shot handler's text, also long enough for the heap");
    event = TEvent<int>([&event, &cleared, text](int) {
        event.Clear();
        cleared = *text;
    });
    text.reset();
    event(3);
    event(4); // cleared: nothing runs
    EXPECT_EQ(cleared, "a one-shot handler's text, also long enough for the heap");
    EXPECT_FALSE(event);
}
