#pragma once
// Published classes the fuzz targets read into: every property kind, collections nested in
// collection items, and custom properties over lists of counted reals and of any values.
#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vandora::fuzz {

class TFuzzFont : public TPersistent {
public:
    const char* ClassName() const override { return "TFuzzFont"; }
    std::string Name;
    int Size = 8;
    unsigned Style = 0;
};

class TFuzzItems;

// Outline = (count, angle, x1, y1, ...); Extra = any one value, skipped.
class TFuzzItem : public TCollectionItem {
public:
    explicit TFuzzItem(TCollection* collection);
    ~TFuzzItem() override;
    const char* ClassName() const override { return "TFuzzItem"; }
    void DeclareCustomProperties(TFiler& filer) override;
    TFuzzItems& Children() { return *children_; }

    std::string Caption;
    int Value = 0;
    int Kind = 0;
    int Angle = 0;
    std::vector<double> Points;

private:
    TFuzzItems* children_; // owned
};

class TFuzzItems : public TCollection {
public:
    using TCollection::TCollection;
    const char* ClassName() const override { return "TFuzzItems"; }

protected:
    TCollectionItem* CreateItem() override { return new TFuzzItem(this); }
};

class TFuzzComponent : public TComponent {
public:
    TFuzzComponent() : Items(this) {}
    const char* ClassName() const override { return "TFuzzComponent"; }

    int Count = 0;
    bool Enabled = true;
    std::string Caption;
    int Kind = 0;
    TColor Color = clBlack;
    std::int16_t Cursor = 0;
    unsigned Options = 0;
    std::int8_t Small = 0;
    TFuzzFont Font;
    TPicture Picture;
    TFuzzItems Items;
    TNotifyEvent OnChange;
    TEvent<TObject*, int> OnValue;
};

class TFuzzForm : public TComponent {
public:
    const char* ClassName() const override { return "TFuzzForm"; }
    void ChangeHandler(TObject*) {}
    void ValueHandler(TObject*, int) {}
    TFuzzComponent* First = nullptr;
};

// Starts the offscreen Qt application once for the process: with widgets when the target
// builds controls, else the GUI application that pictures need.
enum class TFuzzApplication { Gui, Widgets };
void StartApplication(TFuzzApplication kind);

// Registers the classes and starts the (offscreen) application the pictures need.
void Initialize();

} // namespace vandora::fuzz
