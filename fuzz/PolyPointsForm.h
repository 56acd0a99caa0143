#pragma once
// The smallest form that carries a hotspot outline: a TMorvane whose one hotspot has no
// property but PolyPoints, holding the given bytes as its value. Shared by the PolyPoints
// fuzz target and the seed generator, so that seeds and fuzzer agree on the wrapping.
#include <QByteArray>

namespace vandora::fuzz {

inline QByteArray PolyPointsForm(const QByteArray& value)
{
    QByteArray form("TPF0");
    form.append("\x08TMorvane\x08Morvane1", 18);
    form.append("\x08HotSpots\x0e", 10); // a collection
    form.append("\x01", 1);              // one item, without a leading index
    form.append("\x0aPolyPoints", 11);
    form.append(value);
    form.append("\x00\x00\x00\x00", 4); // end of the item, the collection, the properties, the children
    return form;
}

} // namespace vandora::fuzz
