// Fuzzes a hotspot's outline (PolyPoints) as the reader meets it inside a form: the input
// is the property's value. What reads must write back alike and be drawn without harm.
#include "fuzz/DrawEveryLook.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzClasses.h"
#include "fuzz/PolyPointsForm.h"

#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Reader.h"
#include "platform/StreamForm.h"

#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace vandora;
using vandora::fuzz::Broken;

// True when the bytes are exactly one well-formed value: then the form holds nothing but
// the outline, and the hotspot's box must be the one its points give.
bool IsOneValue(const QByteArray& value)
{
    TReader reader(std::string_view(value.constData(), std::size_t(value.size())));
    try {
        reader.SkipValue();
    } catch (const EFilerError&) {
        return false;
    }
    try {
        (void)reader.EndOfList();
    } catch (const EFilerError&) {
        return true; // nothing left to look at
    }
    return false;
}

std::string Describe(const THotSpot& spot)
{
    std::string text = "box " + std::to_string(spot.X()) + "," + std::to_string(spot.Y()) + " " +
                       std::to_string(spot.Width()) + "x" + std::to_string(spot.Height()) + ", " +
                       std::to_string(spot.Shape().Points().size()) + " points";
    return text;
}

void CheckBox(const THotSpot& spot)
{
    const TPoints& points = spot.Shape().Points();
    if (points.size() < 3)
        return;
    std::int64_t minX = RoundPoint(points[0]).x, maxX = minX;
    std::int64_t minY = RoundPoint(points[0]).y, maxY = minY;
    for (const TRealPoint& p : points) {
        const TPoint r = RoundPoint(p);
        minX = std::min<std::int64_t>(minX, r.x);
        maxX = std::max<std::int64_t>(maxX, r.x);
        minY = std::min<std::int64_t>(minY, r.y);
        maxY = std::max<std::int64_t>(maxY, r.y);
    }
    // A span wider than an int gives the widest box there is.
    const std::int64_t widest = std::numeric_limits<std::int32_t>::max();
    const std::int64_t width = std::min(maxX - minX, widest);
    const std::int64_t height = std::min(maxY - minY, widest);
    if (spot.X() != minX || spot.Y() != minY || spot.Width() != width || spot.Height() != height)
        Broken("a read outline of 3 or more points gives the hotspot its rounded box",
               Describe(spot) + "; points give " + std::to_string(minX) + "," + std::to_string(minY) + " " +
                   std::to_string(width) + "x" + std::to_string(height));
}

bool SameBits(const TPoints& a, const TPoints& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(TRealPoint)) == 0);
}

// A picture of the control's size, so that every look is composed from real pixels.
const TPicture& SmallPicture()
{
    static TPicture picture;
    if (picture.Width() == 0) {
        QImage image(48, 40, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 5, y * 6, 90));
        picture.Bitmap().Assign(image);
    }
    return picture;
}

// Any outline that reads can be shown: clipped to itself, held down, painted, and each
// look drawn on the window and put back; when its box is at most a million pixels, also
// bound to a picture with every look composed from it, and searched. Composing larger
// looks only costs the fuzzer time; far-off and huge outlines, where coordinates
// overflow, are drawn all the same.
void DriveDrawing(TMorvane& morvane)
{
    THotSpots& spots = morvane.HotSpots();
    const bool small = fuzz::SmallLooks(morvane);
    morvane.SetBounds(0, 0, 48, 40);
    for (int i = 0; i < spots.Count(); ++i)
        spots.Item(i)->SetClipped(true); // the looks follow the outline, through its region
    if (small) {
        morvane.SetPicture(&SmallPicture());
        for (int y = 0; y < 40; y += 3)
            for (int x = 0; x < 48; x += 3)
                (void)morvane.HotSpotAt(x, y);
    }
    for (int i = 0; i < spots.Count(); ++i)
        spots.Item(i)->SetDown(true);
    morvane.Repaint();
    fuzz::DrawEveryLook(morvane);
    morvane.Repaint();
}

TMorvane& AsMorvane(TComponent* component)
{
    auto* morvane = dynamic_cast<TMorvane*>(component);
    if (!morvane)
        Broken("the form reads into a TMorvane");
    return *morvane;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const bool done = [] {
        fuzz::StartApplication(fuzz::TFuzzApplication::Widgets); // the control is a widget
        vandora::RegisterMorvaneClasses();
        return true;
    }();
    (void)done;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray value(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray form = fuzz::PolyPointsForm(value);
    std::unique_ptr<TComponent> root;
    try {
        root = ReadForm(form);
    } catch (const EFilerError&) {
        return 0;
    }
    fuzz::CountAcceptedRead();
    TMorvane& morvane = AsMorvane(root.get());
    const bool alone = IsOneValue(value);
    if (alone && morvane.HotSpots().Count() != 1)
        Broken("the form holds one hotspot");
    for (int i = 0; i < morvane.HotSpots().Count(); ++i)
        if (alone)
            CheckBox(*morvane.HotSpots().Item(i));

    QByteArray written;
    try {
        written = WriteFormBinary(morvane);
    } catch (const EWriteError& e) {
        if (alone)
            Broken("a control holding only an outline writes", e.what());
        return 0; // another property's value its class cannot write back
    }
    std::unique_ptr<TComponent> again;
    try {
        again = ReadForm(written);
    } catch (const EFilerError& e) {
        Broken("a written outline reads back", e.what());
    }
    TMorvane& reread = AsMorvane(again.get());
    if (reread.HotSpots().Count() != morvane.HotSpots().Count())
        Broken("a written form reads back with as many hotspots");
    bool rebuilt = false;
    for (int i = 0; i < morvane.HotSpots().Count(); ++i) {
        const THotSpot& before = *morvane.HotSpots().Item(i);
        const THotSpot& after = *reread.HotSpots().Item(i);
        // A stored outline without points leaves the points alone, and a rectangle's
        // published box, read first, has given it the corners of that box.
        if (before.Shape().Points().empty() && before.ShapeType() == stRectangle) {
            rebuilt = rebuilt || !after.Shape().Points().empty();
        } else if (!SameBits(before.Shape().Points(), after.Shape().Points()))
            Broken("a written outline reads back to the same points, bit for bit",
                   Describe(before) + " / " + Describe(after) + "\n" + FormToText(written));
        if (before.Angle() != after.Angle())
            Broken("a written outline keeps its angle");
        if (before.BoundsRect() != after.BoundsRect())
            Broken("a written hotspot reads back with the same box", Describe(before) + " / " + Describe(after));
    }
    if (rebuilt) {
        // From the second writing on, the form is stable.
        written = WriteFormBinary(reread);
        try {
            again = ReadForm(written);
        } catch (const EFilerError& e) {
            Broken("a written outline reads back", e.what());
        }
    }
    if (WriteFormBinary(*again) != written)
        Broken("a written form reads back and writes the same");
    DriveDrawing(AsMorvane(again.get()));
    return 0;
}
