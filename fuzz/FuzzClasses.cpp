#include "fuzz/FuzzClasses.h"

#include "platform/ClassBuilder.h"
#include "platform/Reader.h"
#include "platform/Writer.h"

#include <QApplication>
#include <cstdlib>

namespace vandora::fuzz {

TFuzzItem::TFuzzItem(TCollection* collection) : TCollectionItem(collection), children_(new TFuzzItems(this)) {}

TFuzzItem::~TFuzzItem()
{
    delete children_;
}

void TFuzzItem::DeclareCustomProperties(TFiler& filer)
{
    filer.DefineProperty(
        "Outline",
        [this](TReader& reader) {
            reader.ReadListBegin();
            const std::int32_t count = reader.ReadInteger();
            Angle = reader.ReadInteger();
            if (count > 0) {
                reader.CheckCount(std::int64_t(count) * 2, 2);
                std::vector<double> points(std::size_t(count) * 2);
                for (double& value : points)
                    value = reader.ReadReal();
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
        !Points.empty());
    filer.DefineProperty("Extra", [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}

namespace {

void RegisterClasses()
{
    TClassBuilder<TFuzzFont>("TFuzzFont")
        .String("Name", &TFuzzFont::Name, &TFuzzFont::Name)
        .Integer("Size", &TFuzzFont::Size, &TFuzzFont::Size, Default(8))
        .Set("Style", &TFuzzFont::Style, &TFuzzFont::Style, {"fsBold", "fsItalic", "fsUnderline"}, Default(0))
        .Register();
    TClassBuilder<TFuzzItem>("TFuzzItem")
        .String("Caption", &TFuzzItem::Caption, &TFuzzItem::Caption)
        .Integer("Value", &TFuzzItem::Value, &TFuzzItem::Value)
        .Enum("Kind", &TFuzzItem::Kind, &TFuzzItem::Kind, {"stRectangle", "stEllipse", "stPolygon"}, Default(0))
        .Collection("Children", &TFuzzItem::Children)
        .Register();
    TClassBuilder<TFuzzComponent>("TFuzzComponent")
        .Integer("Count", &TFuzzComponent::Count, &TFuzzComponent::Count)
        .Boolean("Enabled", &TFuzzComponent::Enabled, &TFuzzComponent::Enabled, Default(true))
        .String("Caption", &TFuzzComponent::Caption, &TFuzzComponent::Caption)
        .Enum("Kind", &TFuzzComponent::Kind, &TFuzzComponent::Kind, {"skFirst", "skSecond"}, Default(0))
        .Color("Color", &TFuzzComponent::Color, &TFuzzComponent::Color)
        .Cursor("Cursor", &TFuzzComponent::Cursor, &TFuzzComponent::Cursor, Default(0))
        .Set("Options", &TFuzzComponent::Options, &TFuzzComponent::Options, {"soBold", "soItalic"}, Default(0))
        .Integer("Small", &TFuzzComponent::Small, &TFuzzComponent::Small, Default(0))
        .Object("Font", &TFuzzComponent::Font)
        .Picture("Picture", &TFuzzComponent::Picture)
        .Collection("Items", &TFuzzComponent::Items)
        .Event("OnChange", &TFuzzComponent::OnChange)
        .Event("OnValue", &TFuzzComponent::OnValue)
        .Register();
    TClassBuilder<TFuzzForm>("TFuzzForm")
        .Field("First", &TFuzzForm::First)
        .Method("ChangeHandler", &TFuzzForm::ChangeHandler)
        .Method("ValueHandler", &TFuzzForm::ValueHandler)
        .Register();
}

} // namespace

void StartApplication(TFuzzApplication kind)
{
    if (QCoreApplication::instance() != nullptr)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Lives as long as the process.
    if (kind == TFuzzApplication::Widgets)
        new QApplication(argc, argv);
    else
        new QGuiApplication(argc, argv);
}

void Initialize()
{
    static const bool done = [] {
        StartApplication(TFuzzApplication::Gui);
        RegisterClasses();
        return true;
    }();
    (void)done;
}

} // namespace vandora::fuzz
