#include "hotspot/HotSpotAccessible.h"

#include "hotspot/Morvane.h"
#include "hotspot/PointRoutines.h"

namespace vandora {

THotSpotAccessible::THotSpotAccessible(TMorvane* control, int index) : control_(control), index_(index) {}

// Here, where TMorvane is complete: the guarded pointer casts to it.
TMorvane* THotSpotAccessible::Control() const
{
    return control_;
}

bool THotSpotAccessible::isValid() const
{
    return control_ != nullptr && index_ >= 0 && index_ < control_->HotSpots().Count();
}

const THotSpot* THotSpotAccessible::HotSpot() const
{
    return isValid() ? control_->HotSpots().Item(index_) : nullptr;
}

QWindow* THotSpotAccessible::window() const
{
    return control_ != nullptr ? control_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* THotSpotAccessible::parent() const
{
    return control_ != nullptr ? QAccessible::queryAccessibleInterface(control_.data()) : nullptr;
}

QString SpokenName(const THotSpot& hotspot)
{
    // A hotspot with no name is called by its hint rather than left unnamed.
    return QString::fromStdString(hotspot.Name().empty() ? hotspot.Hint() : hotspot.Name());
}

QString THotSpotAccessible::text(QAccessible::Text t) const
{
    const THotSpot* hotspot = HotSpot();
    if (hotspot == nullptr)
        return {};
    const bool named = !hotspot->Name().empty();
    switch (t) {
    case QAccessible::Name: return SpokenName(*hotspot);
    case QAccessible::Description: return named ? QString::fromStdString(hotspot->Hint()) : QString();
    default: return {};
    }
}

QRect THotSpotAccessible::rect() const
{
    const THotSpot* hotspot = HotSpot();
    if (hotspot == nullptr)
        return {};
    // Only the part on the control can be pointed at.
    const QRect box = hotspot->BoundsRect().ToQRect().intersected(control_->rect());
    if (box.isEmpty())
        return QRect();
    // Clamped: a window placed far out may put the sum past the int range.
    const QPoint origin = control_->mapToGlobal(QPoint(0, 0));
    return QRect(QPoint(ClampedSum(box.left(), origin.x()), ClampedSum(box.top(), origin.y())),
                 QPoint(ClampedSum(box.right(), origin.x()), ClampedSum(box.bottom(), origin.y())));
}

QAccessible::State THotSpotAccessible::state() const
{
    QAccessible::State state;
    const THotSpot* hotspot = HotSpot();
    if (hotspot == nullptr) {
        state.invalid = true;
        return state;
    }
    const bool lit = control_->HoverIndex() == index_;
    state.focusable = (control_->focusPolicy() & Qt::TabFocus) != 0;
    state.focused = lit && control_->hasFocus();
    state.hotTracked = lit;
    state.pressed = hotspot->Down() || control_->ClickIndex() == index_;
    state.selectable = true;
    state.selected = hotspot->Selected();
    state.invisible = !control_->isVisible();
    state.disabled = !control_->isEnabled();
    state.offscreen = rect().isEmpty();
    return state;
}

void* THotSpotAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList THotSpotAccessible::actionNames() const
{
    return {pressAction()};
}

void THotSpotAccessible::doAction(const QString& actionName)
{
    if (actionName != pressAction() || !isValid())
        return;
    // At the next event-loop turn, as Qt's own buttons click: a click handler that opens a
    // modal box would otherwise hold the assistive technology's call until the box closed.
    // By then the hotspot may be gone (the interface then stands for nothing), or the
    // control with it (the call is dropped with it).
    const QAccessible::Id id = QAccessible::uniqueId(this);
    QMetaObject::invokeMethod(
        control_.data(),
        [id] {
            auto* self = static_cast<THotSpotAccessible*>(QAccessible::accessibleInterface(id));
            if (self != nullptr)
                self->PressNow();
        },
        Qt::QueuedConnection);
}

void THotSpotAccessible::PressNow()
{
    // As with the pointer and the keys, a disabled control takes no click.
    if (isValid() && control_->isEnabled())
        control_->ClickHotSpot(index_);
}

} // namespace vandora
