#pragma once
// The roots of the class tree: objects with a class name, persistent objects, and
// components, which have a name and a loading state.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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
    TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Destroys the components it owns, last first, and leaves its own owner's list.
    ~TComponent() override
    {
        while (!components_.empty()) {
            TComponent* last = components_.back();
            components_.pop_back();
            last->owner_ = nullptr;
            delete last;
        }
        if (owner_)
            owner_->RemoveComponent(this);
    }

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
    // Called on the component a read was given when that read failed, after its loading
    // state has ended: what was read before the error stays, and a component whose
    // properties hold rules between them (which Loaded would apply) applies them here.
    virtual void ReadFailed() {}

    // Ownership, as a form owns the components read from its persisted description: an
    // owned component is destroyed with its owner, and leaves the list when destroyed
    // first (also when a QWidget parent destroys it).
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(std::size_t(index)); }
    TComponent* FindComponent(std::string_view name) const
    {
        for (TComponent* component : components_)
            if (!name.empty() && component->Name() == name)
                return component;
        return nullptr;
    }
    // Takes ownership of the component (from its previous owner, if any).
    void InsertComponent(TComponent* component)
    {
        if (component->owner_)
            component->owner_->RemoveComponent(component);
        component->owner_ = this;
        components_.push_back(component);
    }
    // Gives up ownership; the caller owns the component afterwards.
    void RemoveComponent(TComponent* component)
    {
        const auto it = std::find(components_.begin(), components_.end(), component);
        if (it == components_.end())
            return;
        components_.erase(it);
        component->owner_ = nullptr;
    }

private:
    std::string name_;
    unsigned state_ = 0;
    TComponent* owner_ = nullptr;             // not owned
    std::vector<TComponent*> components_;     // owned
};

} // namespace vandora
