// The published tables of the control and its hotspots, in their stored order.
#include "hotspot/MorvaneClasses.h"

#include "hotspot/Morvane.h"
#include "platform/ClassBuilder.h"
#include "platform/StandardClasses.h"

namespace vandora {

namespace {

void RegisterHotSpot()
{
    TClassBuilder<THotSpot>("THotSpot")
        .Enum("ShapeType", &THotSpot::ShapeType, &THotSpot::SetShapeType, {"stRectangle", "stEllipse", "stPolygon"})
        .String("Hint", &THotSpot::Hint, &THotSpot::SetHint)
        .String("Name", &THotSpot::Name, &THotSpot::SetName)
        .Integer("ID", &THotSpot::ID, &THotSpot::SetID)
        .Integer("X", &THotSpot::X, &THotSpot::SetX)
        .Integer("Y", &THotSpot::Y, &THotSpot::SetY)
        .Integer("Width", &THotSpot::Width, &THotSpot::SetWidth)
        .Integer("Height", &THotSpot::Height, &THotSpot::SetHeight)
        .Picture("HoverImage", &THotSpot::HoverImage, &THotSpot::SetHoverImage)
        .Picture("ClickImage", &THotSpot::ClickImage, &THotSpot::SetClickImage)
        // Written inside PolyPoints, but a form may still set it on its own.
        .Integer("Angle", &THotSpot::Angle, &THotSpot::SetAngle, NeverStored{})
        .Boolean("Clipped", &THotSpot::Clipped, &THotSpot::SetClipped)
        .Boolean("Down", &THotSpot::Down, &THotSpot::SetDown)
        .Boolean("ShowClick", &THotSpot::ShowClick, &THotSpot::SetShowClick, Default(false))
        .Color("HoverColor", &THotSpot::HoverColor, &THotSpot::SetHoverColor)
        .Color("ClickColor", &THotSpot::ClickColor, &THotSpot::SetClickColor)
        .Color("SelectedColor", &THotSpot::SelectedColor, &THotSpot::SetSelectedColor)
        .Color("BlinkColor", &THotSpot::BlinkColor, &THotSpot::SetBlinkColor)
        .Integer("HoverImageIndex", &THotSpot::HoverImageIndex, &THotSpot::SetHoverImageIndex)
        .Integer("ClickImageIndex", &THotSpot::ClickImageIndex, &THotSpot::SetClickImageIndex)
        .Integer("SelectedImageIndex", &THotSpot::SelectedImageIndex, &THotSpot::SetSelectedImageIndex)
        .Integer("BlinkImageIndex", &THotSpot::BlinkImageIndex, &THotSpot::SetBlinkImageIndex)
        .Picture("SelectedImage", &THotSpot::SelectedImage, &THotSpot::SetSelectedImage)
        .Picture("BlinkImage", &THotSpot::BlinkImage, &THotSpot::SetBlinkImage)
        .Boolean("Blink", &THotSpot::Blink, &THotSpot::SetBlink, Default(false))
        .Boolean("Selected", &THotSpot::Selected, &THotSpot::SetSelected, Default(false))
        .Integer("OffsetX", &THotSpot::OffsetX, &THotSpot::SetOffsetX, Default(4))
        .Integer("OffsetY", &THotSpot::OffsetY, &THotSpot::SetOffsetY, Default(4))
        .Register();
}

void RegisterMorvane()
{
    auto hotSpots = [](TMorvane& m) -> THotSpots& { return m.HotSpots(); };
    auto picture = [](TMorvane& m) -> TPicture& { return m.Picture(); };
    TClassBuilder<TMorvane>("TMorvane", "TCustomControl")
        .Boolean("AutoSize", &TMorvane::AutoSize, &TMorvane::SetAutoSize)
        .Integer("BlinkInterval", &TMorvane::BlinkInterval, &TMorvane::SetBlinkInterval, Default(100))
        .Color("Color", &TMorvane::Color, &TMorvane::SetColor)
        .Cursor("HotSpotCursor", &TMorvane::HotSpotCursor, &TMorvane::SetHotSpotCursor)
        .Collection("HotSpots", hotSpots)
        .Picture("Picture", picture)
        .Enum("SelectionMode", &TMorvane::SelectionMode, &TMorvane::SetSelectionMode,
              {"smSingleSelect", "smMultiSelectCtrl", "smMultiSelect"}, Default(smSingleSelect))
        .Boolean("ShowHint", &TMorvane::ShowHint, &TMorvane::SetShowHint, Default(false))
        .Boolean("Transparent", &TMorvane::Transparent, &TMorvane::SetTransparent)
        .Boolean("Stretch", &TMorvane::Stretch, &TMorvane::SetStretch)
        .String("Version", &TMorvane::Version, &TMorvane::SetVersion)
        .Boolean("Visible", &TMorvane::Visible, &TMorvane::SetVisible, Default(true))
        .Event("OnClick", &TMorvane::OnClick)
        .Event("OnDblClick", &TMorvane::OnDblClick)
        .Event("OnHotSpotEnter", &TMorvane::OnHotSpotEnter)
        .Event("OnHotSpotExit", &TMorvane::OnHotSpotExit)
        .Event("OnHotSpotClick", &TMorvane::OnHotSpotClick)
        .Event("OnHotSpotRightClick", &TMorvane::OnHotSpotRightClick)
        .Event("OnHotSpotDblClick", &TMorvane::OnHotSpotDblClick)
        .Event("OnMouseMove", &TMorvane::OnMouseMove)
        .Event("OnMouseDown", &TMorvane::OnMouseDown)
        .Event("OnMouseUp", &TMorvane::OnMouseUp)
        .Event("OnPaint", &TMorvane::OnPaint)
        .Register();
}

} // namespace

void RegisterMorvaneClasses()
{
    static const bool registered = [] {
        RegisterStandardClasses();
        RegisterHotSpot();
        RegisterMorvane();
        return true;
    }();
    (void)registered;
}

} // namespace vandora
