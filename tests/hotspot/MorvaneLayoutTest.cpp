// The control in a Qt layout: it asks for its picture's size, keeps it under AutoSize and
// otherwise takes the room it is given, its hotspots following under Stretch.
#include "MorvaneFixture.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace vandora;
using namespace vandora::test;

namespace {

void SetPictureOfSize(TMorvane& control, int w, int h)
{
    TPicture picture;
    FillPicture(picture, w, h);
    control.SetPicture(&picture);
}

void ApplyLayouts()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

} // namespace

TEST(MorvaneLayout, AnAutoSizeControlKeepsItsPicturesSize)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* map = new TMorvane;
    map->SetAutoSize(true);
    SetPictureOfSize(*map, 300, 200);
    EXPECT_EQ(map->sizeHint(), QSize(300, 200));
    layout->addWidget(map);
    layout->addWidget(new QLabel("status"));
    window.show();
    ApplyLayouts();
    EXPECT_EQ(QSize(map->Width(), map->Height()), QSize(300, 200)) << "not squeezed to nothing";

    window.resize(700, 600);
    ApplyLayouts();
    EXPECT_EQ(QSize(map->Width(), map->Height()), QSize(300, 200));

    SetPictureOfSize(*map, 120, 90);
    ApplyLayouts();
    EXPECT_EQ(QSize(map->width(), map->height()), QSize(120, 90)) << "the layout follows a new picture";
}

TEST(MorvaneLayout, AStretchedControlTakesTheRoomItIsGivenWithItsHotspots)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* map = new TMorvane;
    EXPECT_EQ(map->sizeHint(), QSize(200, 200)) << "without a picture, the size it has";
    SetPictureOfSize(*map, 100, 50);
    THotSpot* spot = map->HotSpots().AddHotSpot();
    spot->SetCorners(10, 10, 30, 20);
    map->SetStretch(true);
    layout->addWidget(map);
    window.resize(200, 100);
    window.show();
    ApplyLayouts();
    ASSERT_EQ(QSize(map->Width(), map->Height()), QSize(200, 100));
    EXPECT_EQ(spot->BoundsRect(), (TRect{20, 20, 60, 40}));

    window.resize(57, 33);
    ApplyLayouts();
    window.resize(200, 100);
    ApplyLayouts();
    EXPECT_EQ(spot->BoundsRect(), (TRect{20, 20, 60, 40}));
}
