// Three hotspots (a polygon, an ellipse and a rectangle) over a picture drawn in code. The
// line under the picture names the hotspot under the pointer (or lit with the arrow keys)
// and the last one clicked.
//
//   hotspot-demo           shows the window
//   hotspot-demo --check   prints each hotspot and the one the control finds at its centre,
//                          clicks the first one, lists what a screen reader sees, then
//                          writes the control to a form and reads it back; no window
#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/Bitmap.h"
#include "platform/StreamForm.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// The shapes, once: the picture draws them and the hotspots outline them.
struct TBox {
    int left, top, right, bottom;
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
};
const vandora::TPoints kTriangle{{20, 170}, {70, 30}, {120, 170}};
constexpr TBox kCircle{140, 50, 230, 140};
constexpr TBox kRectangle{250, 40, 340, 160};

QImage DrawPicture()
{
    QImage image(360, 200, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xEE, 0xE0));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(QColor(0x9C, 0xC3, 0xE6));
    QPolygonF triangle;
    for (const vandora::TRealPoint& p : kTriangle)
        triangle << QPointF(p.x, p.y);
    painter.drawPolygon(triangle);
    painter.drawEllipse(kCircle.ToQRect());
    painter.drawRect(kRectangle.ToQRect());
    return image;
}

void AddHotSpot(vandora::TMorvane& map, vandora::TSpotShapeType type, const char* name)
{
    vandora::THotSpot* spot = map.HotSpots().AddHotSpot();
    spot->SetShapeType(type);
    const TBox& box = type == vandora::stEllipse ? kCircle : kRectangle;
    if (type == vandora::stPolygon)
        spot->SetPoints(kTriangle);
    else
        spot->SetCorners(box.left, box.top, box.right, box.bottom);
    spot->SetName(name);
    spot->SetClipped(true); // the looks follow the outline, not the box
    spot->SetHoverColor(vandora::clYellow);
    spot->SetSelectedColor(vandora::clRed);
}

void AddHotSpots(vandora::TMorvane& map)
{
    AddHotSpot(map, vandora::stPolygon, "Triangle");
    AddHotSpot(map, vandora::stEllipse, "Circle");
    AddHotSpot(map, vandora::stRectangle, "Rectangle");
}

// The map with its picture and hotspots; writing the picture last binds every hotspot to
// it and composes the looks.
void Build(vandora::TMorvane& map)
{
    vandora::TBitmap bitmap;
    bitmap.Assign(DrawPicture());
    map.SetName("Map");
    map.SetAutoSize(true);
    AddHotSpots(map);
    vandora::TPicture picture;
    picture.SetGraphic(&bitmap);
    map.SetPicture(&picture);
}

int Check(vandora::TMorvane& map, const QLabel& status)
{
    int failures = 0;
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const vandora::THotSpot* spot = map.HotSpots().Item(i);
        const int x = spot->X() + spot->Width() / 2;
        const int y = spot->Y() + spot->Height() / 2;
        const int found = map.HotSpotAt(x, y);
        std::printf("%s: box %d,%d %dx%d; at its centre: %s\n", spot->Name().c_str(), spot->X(), spot->Y(),
                    spot->Width(), spot->Height(),
                    found >= 0 ? map.HotSpots().Item(found)->Name().c_str() : "nothing");
        failures += found != i;
    }
    const int outside = map.HotSpotAt(5, 5);
    std::printf("at 5,5: %s\n", outside >= 0 ? map.HotSpots().Item(outside)->Name().c_str() : "nothing");
    failures += outside != -1;

    // A click at the first hotspot's centre reaches the label through the signal.
    const vandora::THotSpot* first = map.HotSpots().Item(0);
    const QPointF centre(first->X() + first->Width() / 2, first->Y() + first->Height() / 2);
    for (const QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, centre, map.mapToGlobal(centre), button,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&map, &event);
    }
    std::printf("after a click at its centre: %s\n", qPrintable(status.text()));
    failures += !status.text().startsWith(QString("Clicked: %1").arg(QString::fromStdString(first->Name())));

    // Screen readers see the shapes as buttons named after the hotspots.
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&map);
    const QString firstButton = tree->childCount() > 0 ? tree->child(0)->text(QAccessible::Name) : QString();
    std::printf("for screen readers: %d buttons, the first \"%s\"\n", tree->childCount(), qPrintable(firstButton));
    failures += tree->childCount() != map.HotSpots().Count() || firstButton != "Triangle";

    vandora::TMorvane copy;
    vandora::ReadForm(vandora::WriteFormBinary(map), copy);
    std::printf("read back: %d hotspots, picture %d x %d\n", copy.HotSpots().Count(), copy.Picture().Width(),
                copy.Picture().Height());
    failures += copy.HotSpots().Count() != map.HotSpots().Count() || copy.Picture().Width() != 360;
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    try {
        // Forms that hold the control can be read and written once its classes are known.
        vandora::RegisterMorvaneClasses();
        QWidget window;
        window.setWindowTitle("Hotspot demo");
        auto* layout = new QVBoxLayout(&window);
        auto* map = new vandora::TMorvane;
        Build(*map); // AutoSize: the layout keeps it at the picture's size
        map->setFocusPolicy(Qt::StrongFocus); // Tab, the arrows and Space reach the shapes too
        auto* status = new QLabel("Point at a shape and click it, or use Tab, the arrow keys and Space.");
        layout->addWidget(map);
        layout->addWidget(status);
        // The hotspot events as Qt signals; the label is the context, so a slot never
        // outlives it.
        QObject::connect(map, &vandora::TMorvane::hotSpotEntered, status, [status](vandora::THotSpot* spot) {
            status->setText(QString("Over: %1").arg(QString::fromStdString(spot->Name())));
        });
        QObject::connect(map, &vandora::TMorvane::hotSpotExited, status,
                         [status](vandora::THotSpot*) { status->setText("Over: nothing"); });
        QObject::connect(map, &vandora::TMorvane::hotSpotClicked, status, [status](vandora::THotSpot* spot) {
            status->setText(QString("Clicked: %1 (%2)")
                                .arg(QString::fromStdString(spot->Name()),
                                     spot->Selected() ? "selected" : "not selected"));
        });
        if (argc > 1 && std::strcmp(argv[1], "--check") == 0)
            return Check(*map, *status);
        window.show();
        return app.exec();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hotspot-demo: %s\n", error.what());
        return 1;
    }
}
