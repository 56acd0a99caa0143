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

// A control left at its preferred size is given the size of each new picture.
TEST(MorvaneLayout, ALayoutAsksAgainWhenThePictureChanges)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* map = new TMorvane;
    SetPictureOfSize(*map, 100, 50);
    layout->addWidget(map, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    window.resize(400, 400);
    window.show();
    ApplyLayouts();
    EXPECT_EQ(map->height(), 50);
    SetPictureOfSize(*map, 100, 120);
    ApplyLayouts();
    EXPECT_EQ(map->height(), 120);
}

// An empty picture has no size to take: AutoSize keeps the control's own.
TEST(MorvaneLayout, AutoSizeKeepsTheControlsSizeForAnEmptyPicture)
{
    TMorvane map;
    map.SetBounds(0, 0, 120, 80);
    map.SetAutoSize(true);
    TPicture empty;
    empty.Bitmap(); // a bitmap of no size
    map.SetPicture(&empty);
    EXPECT_EQ(QSize(map.Width(), map.Height()), QSize(120, 80));
}

// Without Stretch the hotspots stay in the picture's space however the control is sized.
TEST(MorvaneLayout, WithoutStretchAResizeLeavesTheHotspotsWhereTheyAre)
{
    TMorvane map;
    SetPictureOfSize(map, 100, 50);
    THotSpot* spot = map.HotSpots().AddHotSpot();
    spot->SetCorners(10, 10, 30, 20);
    map.SetBounds(0, 0, 300, 200);
    EXPECT_EQ(spot->BoundsRect(), Rect(10, 10, 30, 20));
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

// Qt's own ways of setting a property reach the same setters: setProperty (as a Designer
// form does for a promoted widget) and a style sheet's qproperty-.
TEST(MorvaneLayout, QtPropertiesAndStyleSheetsReachTheSetters)
{
    TMorvane map;
    SetPictureOfSize(map, 100, 50);
    EXPECT_TRUE(map.setProperty("autoSize", true));
    EXPECT_TRUE(map.AutoSize());
    EXPECT_EQ(map.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_TRUE(map.setProperty("stretch", true));
    EXPECT_FALSE(map.AutoSize()) << "the setter's own rule: Stretch ends AutoSize";
    EXPECT_TRUE(map.setProperty("blinkInterval", -5));
    EXPECT_EQ(map.property("blinkInterval").toInt(), 0) << "a negative interval stops blinking";
    EXPECT_TRUE(map.setProperty("transparent", true));
    EXPECT_TRUE(map.Transparent());

    map.setStyleSheet("vandora--TMorvane { qproperty-blinkInterval: 40; qproperty-transparent: false; }");
    map.ensurePolished();
    EXPECT_EQ(map.BlinkInterval(), 40);
    EXPECT_FALSE(map.Transparent());
}
