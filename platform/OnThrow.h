#pragma once
// Runs an action when its scope is left by an exception, and only then. State that code
// puts back after calling out to a handler is put back also when the handler throws (the
// event loop reports the error and goes on, so the state must still make sense). The
// action runs during unwinding: it must not throw.
#include <exception>
#include <utility>

namespace vandora {

template <class Action>
class TOnThrow {
public:
    explicit TOnThrow(Action action) : action_(std::move(action)), exceptions_(std::uncaught_exceptions()) {}
    ~TOnThrow()
    {
        if (std::uncaught_exceptions() > exceptions_)
            action_();
    }
    TOnThrow(const TOnThrow&) = delete;
    TOnThrow& operator=(const TOnThrow&) = delete;

private:
    Action action_;
    int exceptions_;
};

} // namespace vandora
