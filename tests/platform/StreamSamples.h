#pragma once
// Small published classes for the property-stream tests: one property of every kind, a
// collection whose items carry a custom list property, forms with methods and fields, and
// a pair of widgets.
#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Picture.h"

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace vandora::samples {

// What happened, in order, across all sample objects ("Loaded First", "Update", ...).
std::vector<std::string>& Log();

enum TSampleKind : int { skFirst, skSecond, skThird };
enum TSampleOption : unsigned { soBold = 1, soItalic = 2, soUnderline = 4 };

class TSampleFont : public TPersistent {
public:
    const char* ClassName() const override { return "TSampleFont"; }
    const std::string& Name() const { return name_; }
    void SetName(std::string value) { name_ = std::move(value); }
    int Size() const { return size_; }
    void SetSize(int value) { size_ = value; }

private:
    std::string name_;
    int size_ = 8;
};

// Items with a caption and an outline as a custom property:
// Outline = (count, angle, x1, y1, ..., xN, yN); a count of 0 or less leaves the points.
// Extra: any one value, read and forgotten.
class TSampleItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const char* ClassName() const override { return "TSampleItem"; }
    void DeclareCustomProperties(TFiler& filer) override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string value) { caption_ = std::move(value); }
    int Value() const { return value_; }
    void SetValue(int value) { value_ = value; }
    std::vector<double> Points; // x1, y1, x2, y2, ...
    int Angle = 0;

private:
    std::string caption_;
    int value_ = 0;
};

class TSampleItems : public TCollection {
public:
    using TCollection::TCollection;
    const char* ClassName() const override { return "TSampleItems"; }
    TSampleItem* Item(int index) const { return static_cast<TSampleItem*>(Items(index)); }
    int UpdateCount = 0;
    int BatchAtLastAdd = -1;

protected:
    TCollectionItem* CreateItem() override;
    void Update() override;
};

class TSampleComponent : public TComponent {
public:
    TSampleComponent() : items_(this) { ++Alive; }
    ~TSampleComponent() override { --Alive; }
    static inline int Alive = 0;
    static inline std::string FailLoadedOf; // the name of a component whose Loaded throws
    const char* ClassName() const override { return "TSampleComponent"; }
    void Loaded() override;

    int Count() const { return count_; }
    void SetCount(int value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string value) { caption_ = std::move(value); }
    TSampleKind Kind() const { return kind_; }
    void SetKind(TSampleKind value) { kind_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    std::int16_t Cursor() const { return cursor_; }
    void SetCursor(std::int16_t value) { cursor_ = value; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned value) { options_ = value; }
    std::int8_t Small() const { return small_; }
    void SetSmall(std::int8_t value) { small_ = value; }
    int Version() const { return 15; } // read-only
    TSampleFont& Font() { return font_; }
    TPicture* Picture() { return &picture_; }
    TSampleItems* Items() { return &items_; }

    int Tag = 0; // a plain field
    TNotifyEvent OnChange;
    TEvent<TObject*, int> OnValue;
    // State flags seen by the last setter call.
    unsigned StateInSetter = 0;

private:
    int count_ = 0;
    bool enabled_ = true;
    std::string caption_;
    TSampleKind kind_ = skFirst;
    TColor color_ = clBlack;
    std::int16_t cursor_ = 0;
    unsigned options_ = 0;
    std::int8_t small_ = 0;
    TSampleFont font_;
    TPicture picture_;
    TSampleItems items_;
};

// A form that knows its handlers and keeps a field for its child "First".
class TSampleForm : public TComponent {
public:
    const char* ClassName() const override { return "TSampleForm"; }
    void Loaded() override;
    void ChangeHandler(TObject* sender) { Changes.push_back(sender); }
    void ValueHandler(TObject* sender, int value) { Values.emplace_back(sender, value); }

    TSampleComponent* First = nullptr;
    std::vector<TObject*> Changes;
    std::vector<std::pair<TObject*, int>> Values;
};

// A form class without methods: events are kept by name.
class TPlainForm : public TComponent {
public:
    const char* ClassName() const override { return "TPlainForm"; }
};

class TSampleWidget : public QWidget, public TComponent {
public:
    const char* ClassName() const override { return "TSampleWidget"; }
    int Left() const { return x(); }
    void SetLeft(int value) { move(value, y()); }
};

class TSampleWidgetForm : public QWidget, public TComponent {
public:
    const char* ClassName() const override { return "TSampleWidgetForm"; }
};

// The published tables above; registered once, on the first call.
void RegisterSampleClasses();

} // namespace vandora::samples
