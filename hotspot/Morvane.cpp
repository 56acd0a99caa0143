#include "hotspot/Morvane.h"

#include "hotspot/MorvaneAccessible.h"

#include <algorithm>

namespace vandora {

TMorvane::TMorvane(QWidget* parent) : TCustomControl(parent)
{
    // Once for the program, before anything asks for this control's interface (Qt keeps
    // the first one made): assistive technology sees the hotspots as its children.
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(&TMorvaneAccessible::Create);
        return true;
    }();
    picture_.SetOnChange([this] { PictureChanged(); });
    hotSpotCursor_ = crDefault;
    hotSpots_ = std::make_unique<THotSpots>(this);
    hoverIndex_ = -1;
    clickIndex_ = -1;
    selectionMode_ = smSingleSelect;
    blinkInterval_ = 100;
    blinkPhase_ = 0;
    blinkTimer_.SetEnabled(false);
    blinkTimer_.SetInterval(std::uint32_t(blinkInterval_));
    blinkTimer_.OnTimer = TNotifyEvent([this](TObject*) { BlinkTick(); });
    SetBounds(Left(), Top(), 200, 200);
    setAccessibleName(QStringLiteral("Hotspot image"));
}

TMorvane::~TMorvane()
{
    blinkTimer_.SetEnabled(false);
    // The hotspots refer to the picture: they go first.
    hotSpots_.reset();
    picture_.SetOnChange({});
}

void TMorvane::SetColor(TColor value)
{
    color_ = value;
    Repaint();
}

void TMorvane::SetHotSpots(const THotSpots* value)
{
    hotSpots_->CopyFrom(value);
    SetHoverIndexQuietly(-1);
    clickIndex_ = -1;
    Repaint();
}

void TMorvane::SetPicture(const TPicture* value)
{
    picture_.Assign(value);
    BindHotSpots();
    Repaint();
}

void TMorvane::BindHotSpots()
{
    for (int i = 0; i < hotSpots_->Count(); ++i) {
        THotSpot* hotspot = hotSpots_->Item(i);
        hotspot->SetBackgroundPicture(&picture_);
        // Unclipped looks already composed are kept; ones never composed on a picture
        // (every unclipped hotspot read from a form or placed before the picture was set)
        // would otherwise stay blank.
        if (hotspot->Clipped() || hotspot->LooksAwaitPicture())
            hotspot->RebuildStateBitmaps();
    }
}

void TMorvane::PictureChanged()
{
    if (autoSize_)
        SetAutoSize(true);
    if (!stretch_) {
        hotSpots_->SetBaseHeight(picture_.Height());
        hotSpots_->SetBaseWidth(picture_.Width());
    } else if (hotSpots_->BaseWidth() == 0 || hotSpots_->BaseHeight() == 0) {
        // Stretch came on before there was a picture to scale from, so the hotspots are
        // in the control's space, as a stretched form's are: resizes scale from its size.
        hotSpots_->SetBaseHeight(Height());
        hotSpots_->SetBaseWidth(Width());
    }
    updateGeometry(); // a layout holding the control asks for its new size hint
}

QSize TMorvane::sizeHint() const
{
    if (picture_.Width() > 0 && picture_.Height() > 0)
        return QSize(picture_.Width(), picture_.Height());
    return QSize(Width(), Height());
}

void TMorvane::SetAutoSize(bool value)
{
    autoSize_ = value;
    // In a layout an AutoSize control keeps the picture's size; any other may be given
    // more or less room (Stretch then scales the picture and the hotspots to it).
    const QSizePolicy::Policy policy = value ? QSizePolicy::Fixed : QSizePolicy::Preferred;
    setSizePolicy(policy, policy);
    if (value)
        SetStretch(false);
    const TGraphic* graphic = picture_.Graphic();
    if (autoSize_ && graphic != nullptr && !graphic->Empty()) {
        SetWidth(graphic->Width());
        SetHeight(graphic->Height());
    }
}

void TMorvane::SetStretch(bool value)
{
    if (value == stretch_)
        return;
    stretch_ = value;
    if (value) {
        SetAutoSize(false);
        if (IsLoading()) {
            // The stored coordinates already belong to the stretched control.
            hotSpots_->SetBaseHeight(Height());
            hotSpots_->SetBaseWidth(Width());
        } else {
            hotSpots_->SetBaseHeight(picture_.Height());
            hotSpots_->SetBaseWidth(picture_.Width());
            hotSpots_->Rescale(Width(), Height());
        }
    } else {
        hotSpots_->Rescale(picture_.Width(), picture_.Height());
    }
}

void TMorvane::Resize()
{
    if (stretch_)
        hotSpots_->Rescale(Width(), Height());
}

void TMorvane::SetTransparent(bool value)
{
    transparent_ = value;
    SetOpaque(!value);
    Invalidate();
}

std::string TMorvane::Version() const
{
    const std::uint32_t v = VersionNumber();
    return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
           std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

void TMorvane::Loaded()
{
    TCustomControl::Loaded();
    blinkTimer_.SetInterval(std::uint32_t(blinkInterval_));
    blinkTimer_.SetEnabled(!IsDesigning() && blinkInterval_ != 0);
    normalCursor_ = Cursor();
    KeepOneSelectionIfSingle();
    SetPicture(&picture_);
}

void TMorvane::KeepOneSelectionIfSingle()
{
    // As reading with the mode already set would have left it: the last one selected.
    if (selectionMode_ != smSingleSelect)
        return;
    for (int i = hotSpots_->Count() - 1; i >= 0; --i)
        if (hotSpots_->Item(i)->Selected()) {
            hotSpots_->Item(i)->DeselectOthers();
            return;
        }
}

void TMorvane::FollowRemoval(int& tracked, int removed)
{
    // The hotspot itself destroyed: none; a later one moved down: follow it.
    if (tracked == removed)
        tracked = -1;
    else if (tracked > removed)
        --tracked;
}

void TMorvane::HotSpotRemoving(int index)
{
    TMorvaneAccessible::HotSpotRemoving(this, index);
    const bool hoverGone = hoverIndex_ == index;
    FollowRemoval(hoverIndex_, index);
    FollowRemoval(clickIndex_, index);
    for (int* tracked : trackedIndices_)
        FollowRemoval(*tracked, index);
    // The hotspot is half destroyed and still listed: only a gone hover may be described.
    if (hoverGone)
        DescribeHover();
}

TMorvane::TIndexGuard::TIndexGuard(TMorvane& control, int& index) : control_(&control), index_(index)
{
    control.trackedIndices_.push_back(&index_);
}

TMorvane::TIndexGuard::~TIndexGuard()
{
    if (control_.isNull())
        return;
    auto& tracked = control_->trackedIndices_;
    tracked.erase(std::find(tracked.begin(), tracked.end(), &index_));
}

} // namespace vandora
