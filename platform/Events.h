#pragma once
// Optional callbacks. An event remembers the name of the method it is bound to, so that a
// persisted form can store the binding by name; an unassigned event is skipped.
#include <functional>
#include <string>
#include <utility>

namespace vandora {

class TObject;

template <class... Args>
class TEvent {
public:
    using Handler = std::function<void(Args...)>;

    TEvent() = default;
    TEvent(Handler handler, std::string methodName = {})
        : handler_(std::move(handler)), methodName_(std::move(methodName))
    {
    }

    explicit operator bool() const { return bool(handler_); }
    void operator()(Args... args) const
    {
        if (!handler_)
            return;
        // The handler may assign or clear this very event (a one-shot handler, say): it runs
        // from a copy of its own, so that what it captured lives until it returns.
        const Handler running = handler_;
        running(std::forward<Args>(args)...);
    }
    const std::string& MethodName() const { return methodName_; }
    void Clear()
    {
        handler_ = nullptr;
        methodName_.clear();
    }

private:
    Handler handler_;
    std::string methodName_;
};

using TNotifyEvent = TEvent<TObject*>;

} // namespace vandora
