// Storing and reading hotspots: which properties are written, PolyPoints byte for byte,
// the reading order's consequences, and bad outlines.
#include "MorvaneFixture.h"

#include "hotspot/MorvaneClasses.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"

using namespace vandora;
using namespace vandora::test;

namespace {

class HotSpotStreaming : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMorvaneClasses();
        source.SetName("Map");
    }

    // The stored control, read back into a fresh one.
    std::unique_ptr<TMorvane> RoundTrip()
    {
        auto copy = std::make_unique<TMorvane>();
        ReadForm(WriteFormBinary(source), *copy);
        return copy;
    }

    TMorvane source;
};

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

} // namespace

TEST_F(HotSpotStreaming, PolyPointsOfTheFirstMapHotspotAreTheKnownBytes)
{
    THotSpot* norway = source.HotSpots().AddHotSpot();
    norway->SetShapeType(stPolygon);
    TPoints points{{224, 2}};
    for (int i = 1; i < 153; ++i)
        points.push_back({151.0 + i % 90, 2.0 + i});
    norway->SetPoints(points);
    const QByteArray form = WriteFormBinary(source);
    const QByteArray start = Hex("0A506F6C79506F696E7473"   // "PolyPoints" with its length
                                 "01" "039900" "0200"        // list, 153, angle 0
                                 "0500000000000000E00640"    // 224.0
                                 "0500000000000000800040");  // 2.0
    EXPECT_TRUE(form.contains(start)) << form.toHex().toStdString();
}

TEST_F(HotSpotStreaming, OnlyWhatDiffersFromTheDeclaredDefaultsIsWritten)
{
    THotSpot* plain = source.HotSpots().AddHotSpot();
    plain->SetCorners(0, 0, 10, 10);
    THotSpot* offset = source.HotSpots().AddHotSpot();
    offset->SetOffsetX(5);
    offset->SetHint("tip");
    const std::string text = WriteFormText(source);
    const std::size_t second = text.find("item", text.find("item") + 1);
    const std::string first = text.substr(0, second);
    for (const char* written : {"ShapeType = stRectangle", "ID = 0", "Down = False", "Clipped = False",
                                "HoverColor = clYellow", "ClickColor = clGray", "HoverImageIndex = -1", "PolyPoints = ("})
        EXPECT_NE(first.find(written), std::string::npos) << written;
    for (const char* omitted : {"Hint", "Name", "OffsetX", "OffsetY", "ShowClick", "Blink =", "Selected =", "Angle", "Image ="})
        EXPECT_EQ(first.find(omitted), std::string::npos) << omitted;
    EXPECT_NE(text.find("OffsetX = 5", second), std::string::npos);
    EXPECT_NE(text.find("Hint = 'tip'", second), std::string::npos);
    // The control's own table: stored order, defaults left out.
    EXPECT_LT(text.find("AutoSize"), text.find("HotSpots"));
    EXPECT_LT(text.find("HotSpots"), text.find("Stretch"));
    EXPECT_NE(text.find("Version = '1.5.0.0'"), std::string::npos);
    EXPECT_EQ(text.find("BlinkInterval"), std::string::npos);
    EXPECT_EQ(text.find("SelectionMode"), std::string::npos);
    EXPECT_EQ(text.find("ShowHint"), std::string::npos);
    EXPECT_NE(text.find("HotSpotCursor = crDefault"), std::string::npos) << "the normal pointer, always written";
}

TEST_F(HotSpotStreaming, HotspotsRoundTripBitForBit)
{
    THotSpot* poly = source.HotSpots().AddHotSpot();
    poly->SetShapeType(stPolygon);
    poly->SetPoints({{165.1428571428571, 251.7496928746929}, {167.8857142857143, 255.7238943488944},
                     {165.1428571428571, 256.7174447174447}, {164.2285714285715, 255.7238943488944},
                     {164.2285714285715, 252.7432432432432}});
    poly->SetName("Luxemburg");
    poly->SetID(21);
    poly->SetClipped(true);
    poly->SetSelectedColor(clPurple);
    poly->SetBlinkColor(0x123456);
    THotSpot* ell = source.HotSpots().AddHotSpot();
    ell->SetCorners(10, 10, 50, 30);
    ell->SetShapeType(stEllipse);
    ell->SetAngle(30);
    ell->SetShowClick(true);
    const auto copy = RoundTrip();
    ASSERT_EQ(copy->HotSpots().Count(), 2);
    const THotSpot* lux = copy->HotSpots().Item(0);
    EXPECT_EQ(lux->Shape().Points(), poly->Shape().Points());
    EXPECT_EQ(lux->X(), 164);
    EXPECT_EQ(lux->Y(), 252);
    EXPECT_EQ(lux->Width(), 4);
    EXPECT_EQ(lux->Height(), 5);
    EXPECT_EQ(lux->Name(), "Luxemburg");
    EXPECT_EQ(lux->ID(), 21);
    EXPECT_EQ(lux->SelectedColor(), clPurple);
    EXPECT_EQ(lux->BlinkColor(), 0x123456);
    const THotSpot* e = copy->HotSpots().Item(1);
    EXPECT_EQ(e->ShapeType(), stEllipse);
    EXPECT_EQ(e->Angle(), 30) << "the angle travels with the points";
    EXPECT_EQ(e->Shape().Points(), ell->Shape().Points()) << "and is not applied a second time";
    EXPECT_TRUE(e->ShowClick());
    // The text form gives the same.
    auto viaText = std::make_unique<TMorvane>();
    ReadForm(QByteArray::fromStdString(WriteFormText(source)), *viaText);
    EXPECT_EQ(viaText->HotSpots().Item(0)->Shape().Points(), poly->Shape().Points());
}

// Each published value comes back through its own setter: no two properties share one.
TEST_F(HotSpotStreaming, EveryPublishedValueReachesItsOwnSetter)
{
    THotSpot* h = source.HotSpots().AddHotSpot();
    h->SetCorners(1, 2, 30, 40);
    h->SetHint("tip");
    h->SetName("name");
    h->SetDown(true);
    h->SetHoverColor(0x010101);
    h->SetClickColor(0x020202);
    h->SetSelectedColor(0x030303);
    h->SetBlinkColor(0x040404);
    h->SetHoverImageIndex(1);
    h->SetClickImageIndex(2);
    h->SetSelectedImageIndex(3);
    h->SetBlinkImageIndex(4);
    h->SetOffsetX(7);
    h->SetOffsetY(9);
    TPicture pictures[4];
    for (int i = 0; i < 4; ++i)
        pictures[i].Bitmap().SetSize(i + 1, i + 1);
    h->SetHoverImage(&pictures[0]);
    h->SetClickImage(&pictures[1]);
    h->SetSelectedImage(&pictures[2]);
    h->SetBlinkImage(&pictures[3]);
    source.SetBlinkInterval(250);
    source.SetColor(0x050505);
    source.SetHotSpotCursor(crHandPoint);
    source.SetSelectionMode(smMultiSelectCtrl);
    source.SetShowHint(true);
    source.SetTransparent(true);
    source.SetHint("the map");
    source.SetCursor(crHandPoint);
    EXPECT_NE(WriteFormText(source).find("SelectionMode = smMultiSelectCtrl"), std::string::npos);

    const auto copy = RoundTrip();
    const THotSpot* c = copy->HotSpots().Item(0);
    EXPECT_EQ(c->Hint(), "tip");
    EXPECT_EQ(c->Name(), "name");
    EXPECT_TRUE(c->Down());
    EXPECT_EQ((std::vector<TColor>{c->HoverColor(), c->ClickColor(), c->SelectedColor(), c->BlinkColor()}),
              (std::vector<TColor>{0x010101, 0x020202, 0x030303, 0x040404}));
    EXPECT_EQ((std::vector<int>{c->HoverImageIndex(), c->ClickImageIndex(), c->SelectedImageIndex(), c->BlinkImageIndex()}),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(c->OffsetX(), 7);
    EXPECT_EQ(c->OffsetY(), 9);
    EXPECT_EQ((std::vector<int>{c->HoverImage().Width(), c->ClickImage().Width(), c->SelectedImage().Width(),
                                c->BlinkImage().Width()}),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(copy->BlinkInterval(), 250);
    EXPECT_EQ(copy->Color(), TColor(0x050505));
    EXPECT_EQ(copy->HotSpotCursor(), crHandPoint);
    EXPECT_EQ(copy->SelectionMode(), smMultiSelectCtrl);
    EXPECT_TRUE(copy->ShowHint());
    EXPECT_TRUE(copy->Transparent());
    EXPECT_FALSE(copy->Stretch());
    EXPECT_EQ(copy->Hint(), "the map");
    EXPECT_EQ(copy->Cursor(), crHandPoint);
}

// Each event property binds its own event (a form without methods keeps the names).
TEST_F(HotSpotStreaming, EachEventPropertyBindsItsOwnEvent)
{
    std::string text = "object Map: TMorvane\n";
    for (const char* event : {"OnClick", "OnDblClick", "OnHotSpotEnter", "OnHotSpotExit", "OnHotSpotClick",
                              "OnHotSpotRightClick", "OnHotSpotDblClick", "OnMouseMove", "OnMouseDown", "OnMouseUp",
                              "OnPaint"})
        text += "  " + std::string(event) + " = " + std::string(event + 2) + "Handler\n";
    TMorvane map;
    ReadForm(QByteArray::fromStdString(text + "end\n"), map);
    EXPECT_EQ(map.OnClick.MethodName(), "ClickHandler");
    EXPECT_EQ(map.OnDblClick.MethodName(), "DblClickHandler");
    EXPECT_EQ(map.OnHotSpotEnter.MethodName(), "HotSpotEnterHandler");
    EXPECT_EQ(map.OnHotSpotExit.MethodName(), "HotSpotExitHandler");
    EXPECT_EQ(map.OnHotSpotClick.MethodName(), "HotSpotClickHandler");
    EXPECT_EQ(map.OnHotSpotRightClick.MethodName(), "HotSpotRightClickHandler");
    EXPECT_EQ(map.OnHotSpotDblClick.MethodName(), "HotSpotDblClickHandler");
    EXPECT_EQ(map.OnMouseMove.MethodName(), "MouseMoveHandler");
    EXPECT_EQ(map.OnMouseDown.MethodName(), "MouseDownHandler");
    EXPECT_EQ(map.OnMouseUp.MethodName(), "MouseUpHandler");
    EXPECT_EQ(map.OnPaint.MethodName(), "PaintHandler");
}

TEST_F(HotSpotStreaming, AnAngleOfItsOwnInAFormTurnsTheShapeAndTheOutlineStillWins)
{
    // Never written by itself, but a published property: a hand-written form may set it.
    auto form = [](const std::string& rest) {
        return QByteArray::fromStdString("object Map: TMorvane\n  HotSpots = <\n    item\n      X = 0\n"
                                         "      Width = 40\n      Height = 20\n      Angle = 90\n" + rest +
                                         "    end>\nend\n");
    };
    TMorvane target;
    ReadForm(form(""), target);
    const THotSpot* turned = target.HotSpots().Item(0);
    EXPECT_EQ(turned->Angle(), 90);
    EXPECT_EQ(turned->BoundsRect(), (TRect{10, -10, 30, 30}));
    ReadForm(form("      PolyPoints = (\n        3\n        0\n        1.0\n        2.0\n        9.0\n        2.0\n"
                  "        5.0\n        8.0)\n"),
             target);
    EXPECT_EQ(target.HotSpots().Item(0)->Angle(), 0) << "the outline's own angle is the one kept";
    EXPECT_EQ(target.HotSpots().Item(0)->Shape().Points(), (TPoints{{1, 2}, {9, 2}, {5, 8}}));
}

TEST_F(HotSpotStreaming, OutlinesOfFewPointsAndBadCounts)
{
    THotSpot* empty = source.HotSpots().AddHotSpot();
    empty->SetShapeType(stPolygon); // a rectangle would be rebuilt from its (empty) box
    empty->Shape().StoreAngle(15);
    const std::string text = WriteFormText(source);
    EXPECT_NE(text.find("PolyPoints = (\n        0\n        15)"), std::string::npos) << text;
    auto copy = RoundTrip();
    EXPECT_TRUE(copy->HotSpots().Item(0)->Shape().Points().empty());
    EXPECT_EQ(copy->HotSpots().Item(0)->Angle(), 15);

    auto form = [](const std::string& polyPoints) {
        return QByteArray::fromStdString("object Map: TMorvane\n  HotSpots = <\n    item\n      X = 7\n      Width = 9\n"
                                         "      PolyPoints = (\n" + polyPoints + ")\n    end>\nend\n");
    };
    TMorvane target;
    ReadForm(form("        -1\n        0"), target);
    EXPECT_EQ(target.HotSpots().Item(0)->X(), 7) << "a negative count keeps the points";
    ReadForm(form("        1\n        0\n        5.0\n        6.0"), target);
    EXPECT_EQ(target.HotSpots().Item(0)->Shape().Points().size(), 1u);
    ReadForm(form("        2\n        0\n        1.0\n        2.0\n        30.0\n        40.0"), target);
    EXPECT_EQ(target.HotSpots().Item(0)->Shape().Points().size(), 2u);
    EXPECT_EQ(target.HotSpots().Item(0)->Width(), 9) << "two points: no new box";

    for (const char* bad : {"        3\n        0\n        1.0\n        2.0",                   // too few values
                            "        1\n        0\n        1.0\n        2.0\n        3.0",     // too many
                            "        1.5\n        0\n        1.0\n        2.0",                // a real count
                            "        1\n        'x'\n        1.0\n        2.0",              // a string angle
                            "        1000000000\n        0\n        1.0"}) {                  // a huge count
        try {
            TMorvane fresh;
            ReadForm(form(bad), fresh);
            ADD_FAILURE() << bad;
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find("Invalid property value"), std::string::npos) << e.what();
        }
    }

    // In a binary form a byte that is no value kind at all, where the count or a point's
    // coordinate belongs, is as bad a value as a string there.
    source.HotSpots().Clear();
    source.HotSpots().AddHotSpot()->SetCorners(1, 2, 30, 40);
    const QByteArray stored = WriteFormBinary(source);
    const qsizetype list = stored.indexOf(QByteArray("PolyPoints\x01", 11));
    ASSERT_GE(list, 0);
    for (const qsizetype at : {list + 11, list + 11 + 2 + 2}) { // the count; the first point's x
        QByteArray broken = stored;
        broken[at] = char(0x30);
        try {
            TMorvane fresh;
            ReadForm(broken, fresh);
            ADD_FAILURE() << "byte " << at;
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find("Invalid property value"), std::string::npos) << e.what();
        }
    }
}

// The stored interval drives the timer once loading ends; 0 starts none, even for a
// hotspot stored blinking.
TEST_F(HotSpotStreaming, AStoredBlinkIntervalDrivesTheTimerOnceLoaded)
{
    const auto form = [](int interval) {
        return QByteArray::fromStdString("object Map: TMorvane\n  BlinkInterval = " + std::to_string(interval) +
                                         "\n  HotSpots = <\n    item\n      Blink = True\n    end>\nend\n");
    };
    TMorvane slow;
    ReadForm(form(250), slow);
    EXPECT_EQ(slow.BlinkTimer().Interval(), 250u);
    EXPECT_TRUE(slow.BlinkTimer().Enabled());
    TMorvane still;
    ReadForm(form(0), still);
    EXPECT_FALSE(still.BlinkTimer().Enabled());
}

TEST_F(HotSpotStreaming, ReadingHotspotsReplacesTheListAndForgetsHoverAndPress)
{
    for (int i = 0; i < 3; ++i)
        source.HotSpots().AddHotSpot()->SetCorners(i * 10, 0, i * 10 + 5, 5);
    const QByteArray stored = WriteFormBinary(source);
    TMorvane target;
    for (int i = 0; i < 5; ++i)
        target.HotSpots().AddHotSpot();
    target.SetClickIndex(4);
    ReadForm(stored, target);
    EXPECT_EQ(target.HotSpots().Count(), 3);
    EXPECT_EQ(target.ClickIndex(), -1);
    EXPECT_EQ(target.HoverIndex(), -1);
    EXPECT_EQ(target.HotSpots().Item(2)->X(), 20);
}

TEST_F(HotSpotStreaming, AStoredBlinkingHotspotStartsNoTimerWhileLoading)
{
    // What the timer was when loading ended, before the control's own start of it.
    struct TWatched : TMorvane {
        void Loaded() override
        {
            timerRanWhileLoading = BlinkTimer().Enabled();
            TMorvane::Loaded();
        }
        bool timerRanWhileLoading = true;
    };
    THotSpot* h = source.HotSpots().AddHotSpot();
    h->SetBlink(true);
    TWatched target;
    ReadForm(WriteFormBinary(source), target);
    EXPECT_TRUE(target.HotSpots().Item(0)->Blink());
    EXPECT_FALSE(target.timerRanWhileLoading);
    EXPECT_TRUE(target.BlinkTimer().Enabled()) << "started when loading ends";
}

// The hotspots are stored before the selection mode: reading them must not apply the
// default single selection to a control that allows several.
TEST_F(HotSpotStreaming, SeveralSelectedHotspotsStaySelectedWhereTheModeAllowsThem)
{
    for (int i = 0; i < 3; ++i)
        source.HotSpots().AddHotSpot()->SetCorners(i * 10, 0, i * 10 + 5, 5);
    for (const TSelectionMode mode : {smMultiSelect, smMultiSelectCtrl, smSingleSelect}) {
        source.SetSelectionMode(smMultiSelect);
        source.HotSpots().Item(0)->SetSelected(true);
        source.HotSpots().Item(2)->SetSelected(true);
        source.SetSelectionMode(mode);
        auto copy = RoundTrip();
        ASSERT_EQ(copy->SelectionMode(), mode);
        // A single-select control keeps the last one, as it would have had it been set first.
        EXPECT_EQ(copy->HotSpots().Item(0)->Selected(), mode != smSingleSelect) << int(mode);
        EXPECT_FALSE(copy->HotSpots().Item(1)->Selected());
        EXPECT_TRUE(copy->HotSpots().Item(2)->Selected());
    }

    // A read that fails before the stored mode leaves the control's own mode in force.
    source.SetSelectionMode(smMultiSelect);
    const QByteArray stored = WriteFormBinary(source);
    const qsizetype mode = stored.indexOf("SelectionMode") - 1; // at its name's length byte
    ASSERT_GT(mode, 0);
    TMorvane target;
    EXPECT_THROW(ReadForm(stored.left(mode), target), EReadError);
    EXPECT_FALSE(target.IsLoading());
    ASSERT_EQ(target.HotSpots().Count(), 3);
    EXPECT_FALSE(target.HotSpots().Item(0)->Selected());
    EXPECT_TRUE(target.HotSpots().Item(2)->Selected());
}

// The picture is read after the hotspots; an unclipped hotspot read before it must still
// get its looks when loading ends, not keep the blank ones sized while reading. A polygon
// has no box at all until its outline, read last, gives it one; a hotspot placed in code
// before the picture was set has never had its looks built.
TEST_F(HotSpotStreaming, AnUnclippedHotspotReadFromAFormHasItsLooks)
{
    THotSpot* h = source.HotSpots().AddHotSpot();
    h->SetCorners(2, 3, 12, 9);
    h->SetSelectedColor(clBlue);
    THotSpot* polygon = source.HotSpots().AddHotSpot();
    polygon->SetShapeType(stPolygon);
    polygon->SetPoints({{14, 1}, {19, 1}, {19, 10}});
    TPicture picture;
    FillPicture(picture, 20, 12);
    source.SetPicture(&picture);
    auto copy = RoundTrip();
    const THotSpot* read = copy->HotSpots().Item(0);
    EXPECT_FALSE(read->Clipped());
    EXPECT_EQ(read->HoverClippedBitmap().Image().pixel(9, 5) | 0xFF000000u, Rgb(clYellow));
    EXPECT_EQ(read->SelectClippedBitmap().Image().pixel(0, 0) | 0xFF000000u, Rgb(clBlue));
    const THotSpot* readPolygon = copy->HotSpots().Item(1);
    ASSERT_EQ(readPolygon->HoverClippedBitmap().Width(), 5);
    EXPECT_EQ(readPolygon->HoverClippedBitmap().Image().pixel(4, 8) | 0xFF000000u, Rgb(clYellow));

    TMorvane placed;
    THotSpot* early = placed.HotSpots().AddHotSpot();
    early->SetCorners(2, 3, 12, 9);
    placed.SetPicture(&picture);
    ASSERT_EQ(early->HoverClippedBitmap().Width(), 10);
    EXPECT_EQ(early->HoverClippedBitmap().Image().pixel(9, 5) | 0xFF000000u, Rgb(clYellow));
}

// A stretched control stores its hotspots in its own coordinates: reading them must not
// scale them again, and they follow the control's later size changes.
TEST_F(HotSpotStreaming, AStretchedControlReadsItsHotspotsAsStored)
{
    TPicture picture;
    FillPicture(picture, 60, 40);
    source.SetPicture(&picture);
    source.SetBounds(0, 0, 120, 80);
    source.SetStretch(true);
    THotSpot* h = source.HotSpots().AddHotSpot();
    h->SetCorners(20, 20, 60, 50);
    h->SetClipped(true);
    auto copy = RoundTrip();
    ASSERT_TRUE(copy->Stretch());
    const THotSpot* read = copy->HotSpots().Item(0);
    EXPECT_EQ(read->BoundsRect(), (TRect{20, 20, 60, 50}));
    EXPECT_EQ(read->HoverClippedBitmap().Image().pixel(20, 15) | 0xFF000000u, Rgb(clYellow));
    copy->SetBounds(0, 0, 60, 40);
    EXPECT_EQ(read->BoundsRect(), (TRect{10, 10, 30, 25}));
}

// A control stored hidden stays hidden when its form is shown, and is stored so again.
TEST_F(HotSpotStreaming, AControlStoredHiddenStaysHidden)
{
    const std::unique_ptr<TComponent> root = ReadForm(QByteArray("object F: TForm\n"
                                                                 "  object Hidden: TMorvane\n"
                                                                 "    Visible = False\n"
                                                                 "  end\n"
                                                                 "  object Shown: TMorvane\n"
                                                                 "  end\n"
                                                                 "end\n"));
    auto* form = dynamic_cast<QWidget*>(root.get());
    ASSERT_NE(form, nullptr);
    form->show();
    auto* hidden = dynamic_cast<TMorvane*>(root->FindComponent("Hidden"));
    auto* shown = dynamic_cast<TMorvane*>(root->FindComponent("Shown"));
    ASSERT_TRUE(hidden && shown);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_TRUE(shown->isVisible());
    const std::string text = WriteFormText(*root);
    // In its stored place, after Version, as other tools write it.
    const std::size_t visible = text.find("    Version = '1.5.0.0'\n    Visible = False\n");
    EXPECT_LT(text.find("object Hidden"), visible);
    EXPECT_LT(visible, text.find("object Shown"));
    EXPECT_EQ(text.find("Visible", text.find("object Shown")), std::string::npos) << text; // Shown writes none

    TMorvane alone; // without a parent, True opens no window
    ReadForm(QByteArray("object A: TMorvane\n  Visible = True\nend\n"), alone);
    EXPECT_FALSE(alone.isVisible());
}

// A form read into a control already showing another picture: a hotspot stored selected
// is drawn while it is read, and its looks must still come from the picture the form brings.
TEST_F(HotSpotStreaming, AFormReadIntoAShowingControlComposesOnThePictureItBrings)
{
    THotSpot* h = source.HotSpots().AddHotSpot();
    h->SetCorners(2, 3, 12, 9);
    for (auto setColor : {&THotSpot::SetHoverColor, &THotSpot::SetClickColor, &THotSpot::SetSelectedColor,
                          &THotSpot::SetBlinkColor})
        (h->*setColor)(clNone); // each look is the picture under the box
    h->SetSelected(true);
    TPicture picture;
    FillPicture(picture, 20, 12);
    source.SetPicture(&picture);

    TMorvane target;
    TPicture old;
    QImage red(20, 12, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    old.Bitmap().Assign(red);
    target.SetPicture(&old);
    target.show();
    ReadForm(WriteFormBinary(source), target);

    const THotSpot* read = target.HotSpots().Item(0);
    ASSERT_TRUE(read->Selected());
    ASSERT_FALSE(read->Clipped());
    for (const TBitmap* look : {&read->HoverClippedBitmap(), &read->ClickClippedBitmap(),
                                &read->SelectClippedBitmap(), &read->BlinkClippedBitmap()})
        EXPECT_EQ(look->Image().pixel(1, 1) | 0xFF000000u, PicturePixel(3, 4));
}
