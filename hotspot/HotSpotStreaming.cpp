// How a hotspot is stored: its published table and its outline, PolyPoints.
#include "hotspot/HotSpot.h"

#include "platform/Filer.h"
#include "platform/Reader.h"
#include "platform/Writer.h"

namespace vandora {

void THotSpot::DeclareCustomProperties(TFiler& filer)
{
    TCollectionItem::DeclareCustomProperties(filer);
    // Always written, even without points: the angle travels with it.
    filer.DefineProperty(
        "PolyPoints", [this](TReader& reader) { ReadPolyPoints(reader); },
        [this](TWriter& writer) { WritePolyPoints(writer); }, true);
}

void THotSpot::WritePolyPoints(TWriter& writer) const
{
    const TPoints& points = shape_.Points();
    writer.WriteListBegin();
    writer.WriteInteger(std::int64_t(points.size()));
    writer.WriteInteger(shape_.Angle());
    for (const TRealPoint& p : points) {
        writer.WriteReal(p.x);
        writer.WriteReal(p.y);
    }
    writer.WriteListEnd();
}

void THotSpot::ReadPolyPoints(TReader& reader)
{
    reader.ReadListBegin();
    const std::int32_t count = reader.ReadInteger();
    const std::int32_t angle = reader.ReadInteger();
    // The stored points are already turned: the angle is only remembered.
    shape_.StoreAngle(angle);
    if (count > 0) {
        reader.CheckCount(std::int64_t(count) * 2, 2); // before allocating for them
        TPoints points(static_cast<std::size_t>(count));
        for (TRealPoint& p : points) {
            p.x = reader.ReadReal();
            p.y = reader.ReadReal();
        }
        shape_.LoadPoints(std::move(points));
    }
    reader.ReadListEnd();
}

} // namespace vandora
