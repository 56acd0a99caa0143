#include "hotspot/MorvaneAccessible.h"

#include "hotspot/HotSpotAccessible.h"
#include "hotspot/Morvane.h"

#include <QHash>

namespace vandora {

namespace {

// The interface made for each control, so that a control can reach its own without
// making one (Qt's registry has no lookup that does not create).
QHash<const TMorvane*, TMorvaneAccessible*>& Made()
{
    static QHash<const TMorvane*, TMorvaneAccessible*> made;
    return made;
}

} // namespace

TMorvaneAccessible::TMorvaneAccessible(TMorvane* control)
    : QAccessibleWidget(control, QAccessible::Client), madeFor_(control)
{
    Made().insert(madeFor_, this);
}

TMorvaneAccessible::~TMorvaneAccessible()
{
    Made().remove(madeFor_);
    for (const auto* ids : {&children_, &retired_})
        for (const QAccessible::Id id : *ids)
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

void TMorvaneAccessible::HotSpotRemoving(TMorvane* control, int index)
{
    if (TMorvaneAccessible* made = Made().value(control))
        made->ForgetChild(index);
}

void TMorvaneAccessible::ForgetChild(int index)
{
    if (index < 0 || std::size_t(index) >= children_.size())
        return;
    const QAccessible::Id gone = children_[std::size_t(index)];
    if (gone != 0) {
        MoveChild(gone, -1);
        retired_.push_back(gone);
    }
    children_.erase(children_.begin() + index);
    for (std::size_t i = std::size_t(index); i < children_.size(); ++i)
        MoveChild(children_[i], int(i));
}

void TMorvaneAccessible::MoveChild(QAccessible::Id id, int index)
{
    // A client may have deleted one through Qt's registry: nothing is left to move then.
    if (auto* child = static_cast<THotSpotAccessible*>(QAccessible::accessibleInterface(id)))
        child->SetIndex(index);
}

} // namespace vandora
