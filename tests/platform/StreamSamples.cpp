#include "StreamSamples.h"

#include "platform/ClassBuilder.h"
#include "platform/Reader.h"
#include "platform/Writer.h"

#include <stdexcept>

namespace vandora::samples {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

void TSampleItem::DeclareCustomProperties(TFiler& filer)
{
    TCollectionItem::DeclareCustomProperties(filer);
    filer.DefineProperty(
        "Outline",
        [this](TReader& reader) {
            reader.ReadListBegin();
            const std::int32_t count = reader.ReadInteger();
            Angle = reader.ReadInteger();
            if (count > 0) {
                reader.CheckCount(std::int64_t(count) * 2, 2); // before allocating for them
                std::vector<double> points;
                for (std::int32_t i = 0; i < 2 * count; ++i)
                    points.push_back(reader.ReadReal());
                Points = std::move(points);
            }
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            writer.WriteInteger(std::int64_t(Points.size() / 2));
            writer.WriteInteger(Angle);
            for (double value : Points)
                writer.WriteReal(value);
            writer.WriteListEnd();
        },
        true);
    filer.DefineProperty("Extra", [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}

TCollectionItem* TSampleItems::CreateItem()
{
    BatchAtLastAdd = BatchCount();
    return new TSampleItem(this);
}

void TSampleItems::Update()
{
    ++UpdateCount;
    Log().push_back("Update");
}

void TSampleComponent::SetCount(int value)
{
    count_ = value;
    StateInSetter = ComponentState();
}

void TSampleComponent::Loaded()
{
    Log().push_back("Loaded " + Name() + " " + std::to_string(ComponentState()));
    if (!FailLoadedOf.empty() && Name() == FailLoadedOf)
        throw std::runtime_error("not ready");
    TComponent::Loaded();
}

void TSampleForm::Loaded()
{
    Log().push_back("Loaded " + Name() + " " + std::to_string(ComponentState()));
    TComponent::Loaded();
}

void RegisterSampleClasses()
{
    static const bool registered = [] {
        TClassBuilder<TSampleFont>("TSampleFont")
            .String("Name", &TSampleFont::Name, &TSampleFont::SetName)
            .Integer("Size", &TSampleFont::Size, &TSampleFont::SetSize, Default(8))
            .Register();
        TClassBuilder<TSampleItem>("TSampleItem")
            .String("Caption", &TSampleItem::Caption, &TSampleItem::SetCaption)
            .Integer("Value", &TSampleItem::Value, &TSampleItem::SetValue)
            .Register();
        TClassBuilder<TSampleComponent>("TSampleComponent")
            .Integer("Count", &TSampleComponent::Count, &TSampleComponent::SetCount)
            .Boolean("Enabled", &TSampleComponent::Enabled, &TSampleComponent::SetEnabled, Default(true))
            .String("Caption", &TSampleComponent::Caption, &TSampleComponent::SetCaption)
            .Enum("Kind", &TSampleComponent::Kind, &TSampleComponent::SetKind, {"skFirst", "skSecond", "skThird"},
                  Default(skFirst))
            .Color("Color", &TSampleComponent::Color, &TSampleComponent::SetColor)
            .Cursor("Cursor", &TSampleComponent::Cursor, &TSampleComponent::SetCursor, Default(0))
            .Set("Options", &TSampleComponent::Options, &TSampleComponent::SetOptions,
                 {"soBold", "soItalic", "soUnderline"}, Default(0))
            .Integer("Small", &TSampleComponent::Small, &TSampleComponent::SetSmall, Default(0))
            .Integer("Version", &TSampleComponent::Version)
            .Integer("Tag", &TSampleComponent::Tag, &TSampleComponent::Tag, Default(0))
            .Object("Font", &TSampleComponent::Font)
            .Picture("Picture", &TSampleComponent::Picture)
            .Collection("Items", &TSampleComponent::Items)
            .Event("OnChange", &TSampleComponent::OnChange)
            .Event("OnValue", &TSampleComponent::OnValue)
            .Register();
        TClassBuilder<TSampleForm>("TSampleForm")
            .Field("First", &TSampleForm::First)
            .Method("ChangeHandler", &TSampleForm::ChangeHandler)
            .Method("ValueHandler", &TSampleForm::ValueHandler)
            .Register();
        TClassBuilder<TPlainForm>("TPlainForm").Register();
        TClassBuilder<TSampleWidget>("TSampleWidget").Integer("Left", &TSampleWidget::Left, &TSampleWidget::SetLeft).Register();
        TClassBuilder<TSampleWidgetForm>("TSampleWidgetForm").Register();
        return true;
    }();
    (void)registered;
}

} // namespace vandora::samples
