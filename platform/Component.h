#pragma once
// The roots of the class tree: objects with a class name, persistent objects, and
// components, which have a name and a loading state.
#include <string>

namespace vandora {

class TFiler;

class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const = 0;
};

class TPersistent : public TObject {
public:
    // Adds properties that the published ones do not cover, with their own reader and
    // writer (a hotspot's outline). The base declares none.
    virtual void DeclareCustomProperties(TFiler& filer) { (void)filer; }
};

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,   // between creation from a form and Loaded
    csReading = 1u << 1,   // while its properties are being read
    csDesigning = 1u << 2, // edited in a form designer
    csDestroying = 1u << 3,
};

class TComponent : public TPersistent {
public:
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & (csLoading | csReading)) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    void SetComponentState(TComponentStateFlag flag, bool on)
    {
        state_ = on ? (state_ | flag) : (state_ & ~unsigned(flag));
    }

    // Called once after the whole form holding the component has been read.
    virtual void Loaded() { SetComponentState(csLoading, false); }

private:
    std::string name_;
    unsigned state_ = 0;
};

} // namespace vandora
