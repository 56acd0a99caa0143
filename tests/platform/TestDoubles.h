#pragma once
// Test doubles for the platform seams, and a guard that installs one for a scope.
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vandora::test {

// Installs a service for the guard's lifetime and puts the previous one back.
template <class Service>
class ScopedService {
public:
    using Setter = Service* (*)(Service*);
    ScopedService(Setter set, Service* service) : set_(set), previous_(set(service)) {}
    ~ScopedService() { set_(previous_); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    Setter set_;
    Service* previous_;
};

struct TShownBox {
    std::string caption;
    std::string text;
    bool error = false;
};

class TRecordingMessageBox : public IMessageBoxService {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override
    {
        boxes.push_back({caption, text, false});
    }
    void ShowErrorMessage(const std::string& caption, const std::string& text) override
    {
        boxes.push_back({caption, text, true});
    }
    std::vector<TShownBox> boxes;
};

class TUnexpectedMessageBox : public IMessageBoxService {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override
    {
        ADD_FAILURE() << "unexpected message box '" << caption << "': " << text;
    }
    void ShowErrorMessage(const std::string& caption, const std::string& text) override
    {
        ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
    }
};

struct TShellCall {
    std::string verb;
    std::string address;
    int showCommand = 0;
};

class TRecordingShell : public IShellService {
public:
    bool Execute(const std::string& verb, const std::string& address, int showCommand) override
    {
        calls.push_back({verb, address, showCommand});
        return result;
    }
    std::vector<TShellCall> calls;
    bool result = true;
};

class TUnexpectedShell : public IShellService {
public:
    bool Execute(const std::string& verb, const std::string& address, int) override
    {
        ADD_FAILURE() << "unexpected shell call " << verb << " " << address;
        return false;
    }
};

class TFakeInputState : public IInputStateService {
public:
    bool KeyDown(int virtualKey) override
    {
        for (int key : down)
            if (key == virtualKey)
                return true;
        return false;
    }
    TPoint CursorPos() override { return cursor; }
    std::vector<int> down;
    TPoint cursor;
};

class TFakeClock : public IClockService {
public:
    bool QueryPerformanceCounter(std::int64_t& count) override
    {
        if (!counterWorks)
            return false;
        count = counter;
        return true;
    }
    bool QueryPerformanceFrequency(std::int64_t& frequency) override
    {
        if (!counterWorks)
            return false;
        frequency = 1000;
        return true;
    }
    std::uint32_t GetTickCount() override { return ticks; }
    bool counterWorks = true;
    std::int64_t counter = 0;
    std::uint32_t ticks = 0;
};

} // namespace vandora::test
