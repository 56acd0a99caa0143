#include "hotspot/MorvaneAccessible.h"

#include "hotspot/HotSpotAccessible.h"
#include "hotspot/Morvane.h"

namespace vandora {

TMorvaneAccessible::TMorvaneAccessible(TMorvane* control) : QAccessibleWidget(control, QAccessible::Client)
{
}

TMorvaneAccessible::~TMorvaneAccessible()
{
    for (const QAccessible::Id id : children_)
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
}

// No guard needed: the QWidget destructor emits destroyed first thing, which makes Qt drop
// this interface, and the control's own destructor asks nothing of it before.
TMorvane* TMorvaneAccessible::Control() const
{
    return static_cast<TMorvane*>(widget());
}

int TMorvaneAccessible::childCount() const
{
    return Control()->HotSpots().Count();
}

QAccessibleInterface* TMorvaneAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (std::size_t(index) >= children_.size())
        children_.resize(std::size_t(index) + 1, 0);
    QAccessible::Id& id = children_[std::size_t(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new THotSpotAccessible(Control(), index));
    return QAccessible::accessibleInterface(id);
}

int TMorvaneAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* hotspot = dynamic_cast<const THotSpotAccessible*>(child);
    if (hotspot == nullptr || !hotspot->isValid() || hotspot->Control() != Control())
        return -1;
    return hotspot->Index();
}

QAccessibleInterface* TMorvaneAccessible::childAt(int x, int y) const
{
    // A hotspot reaching past the control's edge is not there to point at.
    const QPoint local = Control()->mapFromGlobal(QPoint(x, y));
    return Control()->rect().contains(local) ? child(Control()->HotSpotAt(local.x(), local.y())) : nullptr;
}

QAccessibleInterface* TMorvaneAccessible::focusChild() const
{
    return Control()->hasFocus() ? child(Control()->HoverIndex()) : nullptr;
}

QAccessibleInterface* TMorvaneAccessible::Create(const QString&, QObject* object)
{
    auto* control = qobject_cast<TMorvane*>(object);
    return control != nullptr ? new TMorvaneAccessible(control) : nullptr;
}

void TMorvaneAccessible::HotSpotFocused(TMorvane* control, int index)
{
    // With no assistive technology listening, Qt would drop it: no interface is made for it.
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(control, QAccessible::Focus);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

} // namespace vandora
