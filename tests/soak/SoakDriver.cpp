#include "SoakDriver.h"

#include "platform/Bitmap.h"
#include "platform/JpegImage.h"
#include "platform/MessageBox.h"
#include "quiz/QuizGame.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFile>
#include <QMouseEvent>

#include <algorithm>
#include <exception>
#include <sstream>

namespace vandora::test {

namespace {

constexpr std::size_t kTrailLength = 40;
constexpr int kMaxHotSpots = 48;

QImage Pattern(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 3 + seed) % 256, (y * 5 + seed * 7) % 256, ((x ^ y) + seed) % 256));
    return image;
}

std::string Where(QPoint p)
{
    return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")";
}

const char* ButtonName(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return "left";
    case Qt::RightButton: return "right";
    case Qt::MiddleButton: return "middle";
    default: return "none";
    }
}

} // namespace

void TNestingMessageBox::ShowMessage(const std::string& caption, const std::string& text)
{
    TRecordingMessageBox::ShowMessage(caption, text);
    ++shown;
    if (whileOpen)
        whileOpen();
}

void TNestingMessageBox::ShowErrorMessage(const std::string& caption, const std::string& text)
{
    TRecordingMessageBox::ShowErrorMessage(caption, text);
    ++errors;
}

TSoakDriver::TSoakDriver(std::uint64_t seed) : rng_(seed)
{
    form_ = std::make_unique<TForm2>();
    form_->Game().Random().SetState(std::uint32_t(seed));
    form_->show();
    // Ticks come from the soak only (BlinkTick), so that a run does not depend on timing.
    Map().BlinkTimer().SetEnabled(false);

    mapPicture_.Assign(&Map().Picture());
    // Another size than the map's: hotspots then reach beyond the picture, or the control
    // (AutoSize) shrinks under them.
    otherBitmap_.Bitmap().Assign(Pattern(300, 260, 11));
    // Small: a look on a picture other than an opaque bitmap is composed from a copy of the
    // whole picture, so every JPEG switch costs the picture's size times every look.
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(Pattern(240, 200, 29), 80);
    jpegPicture_.TakeGraphic(std::move(jpeg));
    countries_ = std::make_unique<THotSpots>(nullptr);
    countries_->CopyFrom(&Map().HotSpots());

    boxes_.whileOpen = [this] { RunNested(); };
    InstallHandlers();
}

TSoakDriver::~TSoakDriver()
{
    boxes_.whileOpen = nullptr;
}

TColor TSoakDriver::RandomColour(bool allowNone)
{
    static constexpr TColor palette[] = {clBlack, clRed,  clLime, clYellow, clBlue,
                                         clPurple, clGray, clAqua, clWhite};
    const int n = int(std::size(palette));
    const int pick = Below(n + 2);
    if (pick < n)
        return palette[pick];
    if (pick == n && allowNone)
        return clNone;
    return TColor(Next() & 0xFFFFFF);
}

// --- events ---

void TSoakDriver::Deliver(const std::function<void()>& send, const std::string& what)
{
    ++report_.events;
    if (nestingDepth_ > 0)
        ++report_.nestedEvents;
    trail_.push_back(std::string(std::size_t(nestingDepth_) * 2, ' ') + what);
    if (trail_.size() > kTrailLength)
        trail_.pop_front();
    try {
        send();
    } catch (const std::exception& e) {
        Fail(std::string("exception escaped: ") + e.what());
        return;
    } catch (...) {
        Fail("an unknown exception escaped");
        return;
    }
    report_.hotSpotEvents += Map().HotSpots().Count();
    CheckState(what);
}

void TSoakDriver::CheckState(const std::string& what)
{
    const int count = Map().HotSpots().Count();
    const int hover = Map().HoverIndex();
    const int click = Map().ClickIndex();
    if (hover < -1 || hover >= count || click < -1 || click >= count)
        Fail("after " + what + ": HoverIndex " + std::to_string(hover) + ", ClickIndex " + std::to_string(click) +
             " with " + std::to_string(count) + " hotspots");
    if (boxes_.errors != 0)
        Fail("after " + what + ": an error box was shown: " + boxes_.boxes.back().text);
}

void TSoakDriver::Fail(const std::string& why)
{
    if (report_.failed)
        return;
    report_.failed = true;
    std::ostringstream out;
    out << why << "\n  at event " << report_.events << "; the last events, oldest first:\n";
    for (const std::string& line : trail_)
        out << "    " << line << "\n";
    report_.failure = out.str();
}

void TSoakDriver::SendMouse(QEvent::Type type, QPoint p, Qt::MouseButton button)
{
    Qt::MouseButtons buttons = held_;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        buttons |= button;
    else if (type == QEvent::MouseButtonRelease)
        buttons &= ~Qt::MouseButtons(button);
    const bool ctrl = std::find(input_.down.begin(), input_.down.end(), VK_CONTROL) != input_.down.end();
    const QPoint global = Map().mapToGlobal(p);
    input_.cursor = TPoint{global.x(), global.y()};
    QMouseEvent event(type, QPointF(p), QPointF(global), button, buttons,
                      ctrl ? Qt::ControlModifier : Qt::NoModifier);
    held_ = buttons;
    QCoreApplication::sendEvent(&Map(), &event);
}

void TSoakDriver::MoveTo(QPoint p)
{
    pointer_ = p;
    Deliver([this, p] { SendMouse(QEvent::MouseMove, p, Qt::NoButton); }, "move " + Where(p));
}

QPoint TSoakDriver::PointInsideHotSpot()
{
    const THotSpots& spots = Map().HotSpots();
    if (spots.Count() == 0)
        return PointInControl();
    const THotSpot& spot = *spots.Item(Below(spots.Count()));
    return QPoint(spot.X() + Below(spot.Width() + 1), spot.Y() + Below(spot.Height() + 1));
}

QPoint TSoakDriver::PointInControl()
{
    // One pixel beyond each edge too: the control counts its right and bottom edges in.
    return QPoint(Below(Map().Width() + 3) - 1, Below(Map().Height() + 3) - 1);
}

QPoint TSoakDriver::PointOutside()
{
    const int w = Map().Width();
    const int h = Map().Height();
    switch (Below(4)) {
    case 0: return QPoint(-1 - Below(60), Below(h));
    case 1: return QPoint(w + 1 + Below(60), Below(h));
    case 2: return QPoint(Below(w), -1 - Below(60));
    default: return QPoint(w + 1 + Below(60), h + 1 + Below(60));
    }
}

Qt::MouseButton TSoakDriver::RandomButton()
{
    const int r = Below(100);
    if (r < 60)
        return Qt::LeftButton;
    return r < 85 ? Qt::RightButton : Qt::MiddleButton;
}

void TSoakDriver::Step()
{
    const int r = Below(1000);
    if (r < 200) {
        MoveTo(PointInsideHotSpot());
    } else if (r < 320) {
        MoveTo(PointInControl());
    } else if (r < 360) {
        MoveTo(PointOutside());
    } else if (r < 460) {
        const Qt::MouseButton button = RandomButton();
        // Mostly where the pointer is; now and then somewhere it never moved to.
        const QPoint p = Chance(850) ? pointer_ : PointInControl();
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonPress, p, button); },
                std::string("press ") + ButtonName(button) + " " + Where(p));
    } else if (r < 560) {
        Qt::MouseButton button = RandomButton();
        if (Chance(700) && held_ != Qt::NoButton)
            button = (held_ & Qt::LeftButton) ? Qt::LeftButton : (held_ & Qt::RightButton) ? Qt::RightButton : Qt::MiddleButton;
        const QPoint p = Chance(900) ? pointer_ : PointInControl();
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonRelease, p, button); },
                std::string("release ") + ButtonName(button) + " " + Where(p));
    } else if (r < 680) {
        // A click on a hotspot: there, press, and release there or after a move away.
        MoveTo(PointInsideHotSpot());
        const Qt::MouseButton button = Chance(800) ? Qt::LeftButton : RandomButton();
        const std::string name = ButtonName(button);
        const QPoint p = pointer_;
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonPress, p, button); }, "press " + name + " " + Where(p));
        if (report_.failed)
            return;
        if (Chance(150))
            MoveTo(Chance(500) ? PointInsideHotSpot() : PointInControl());
        const QPoint q = pointer_;
        Deliver([this, q, button] { SendMouse(QEvent::MouseButtonRelease, q, button); }, "release " + name + " " + Where(q));
    } else if (r < 710) {
        // A double click as the window system delivers it: press, release, double click,
        // release.
        const Qt::MouseButton button = Chance(800) ? Qt::LeftButton : RandomButton();
        const QPoint p = pointer_;
        const std::string name = ButtonName(button);
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonPress, p, button); }, "press " + name + " " + Where(p));
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonRelease, p, button); }, "release " + name + " " + Where(p));
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonDblClick, p, button); },
                "double click " + name + " " + Where(p));
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonRelease, p, button); }, "release " + name + " " + Where(p));
    } else if (r < 720) {
        const Qt::MouseButton button = RandomButton();
        const QPoint p = Chance(500) ? pointer_ : PointInsideHotSpot();
        Deliver([this, p, button] { SendMouse(QEvent::MouseButtonDblClick, p, button); },
                std::string("lone double click ") + ButtonName(button) + " " + Where(p));
    } else if (r < 750) {
        const QPoint p = Chance(700) ? pointer_ : PointInControl();
        pointer_ = p;
        Deliver(
            [this, p] {
                const QPoint global = Map().mapToGlobal(p);
                input_.cursor = TPoint{global.x(), global.y()};
                QEnterEvent event{QPointF(p), QPointF(p), QPointF(global)};
                QCoreApplication::sendEvent(&Map(), &event);
            },
            "enter " + Where(p));
    } else if (r < 790) {
        Deliver(
            [this] {
                QEvent event(QEvent::Leave);
                QCoreApplication::sendEvent(&Map(), &event);
            },
            "leave");
    } else if (r < 940) {
        Deliver([this] { Map().BlinkTick(); }, "blink tick");
    } else if (r < 955) {
        // An event-loop turn: pending repaints run, as between the window system's messages.
        Map().BlinkTimer().SetEnabled(false);
        QCoreApplication::processEvents();
        CheckState("an event-loop turn");
    } else if (r < 970) {
        Deliver([this] { ChangeSomething(-1); }, "a change from outside the handlers");
    } else if (r < 975) {
        if (input_.down.empty())
            input_.down.push_back(VK_CONTROL);
        else
            input_.down.clear();
    } else {
        MoveTo(PointInsideHotSpot());
    }
}

void TSoakDriver::RunNested()
{
    // A modal box runs its own event loop: more events reach the control before the
    // handler that opened it goes on. One level deep is enough to meet every re-entry.
    if (nestingDepth_ > 0 || !Chance(500))
        return;
    ++nestingDepth_;
    const int n = 1 + Below(6);
    for (int i = 0; i < n && !report_.failed; ++i)
        Step();
    --nestingDepth_;
}

// --- property changes from inside the handlers ---

void TSoakDriver::InstallHandlers()
{
    TMorvane& map = Map();
    map.OnHotSpotClick = THotSpotEvent([this](TObject* sender, THotSpot* spot) {
        ++report_.clicks;
        int index = spot->Index();
        if (Chance(400)) {
            // The quiz's own handler first: it may open a box, during which anything can
            // happen to the clicked hotspot.
            form_->Morvane1HotSpotClick(sender, spot);
        }
        if (Chance(700)) {
            const int n = 1 + Below(3);
            for (int i = 0; i < n; ++i)
                ChangeSomething(index);
        }
    });
    auto sometimes = [this](std::int64_t& counter, int perMille) {
        return THotSpotEvent([this, &counter, perMille](TObject*, THotSpot* spot) {
            ++counter;
            const int index = spot->Index();
            // Now and then a box from here too: more events arrive inside this handler.
            if (Chance(10))
                ShowMessage("soak");
            if (Chance(perMille))
                ChangeSomething(index);
        });
    };
    map.OnHotSpotEnter = sometimes(report_.enters, 20);
    map.OnHotSpotExit = sometimes(report_.exits, 20);
    map.OnHotSpotRightClick = sometimes(report_.rightClicks, 200);
    map.OnHotSpotDblClick = sometimes(report_.doubleClicks, 200);
}

void TSoakDriver::ChangeSomething(int clickedIndex)
{
    ++report_.handlerChanges;
    THotSpots& spots = Map().HotSpots();
    if (spots.Count() < 5 && Chance(500)) {
        // The countries back, now and then, once few hotspots are left.
        Map().SetHotSpots(countries_.get());
        return;
    }
    auto target = [&]() -> THotSpot* {
        if (clickedIndex >= 0 && clickedIndex < spots.Count() && Chance(500))
            return spots.Item(clickedIndex);
        return spots.Count() == 0 ? nullptr : spots.Item(Below(spots.Count()));
    };
    const int r = Below(1000);
    if (r < 200) {
        if (THotSpot* spot = target())
            ChangeColours(*spot);
    } else if (r < 230) {
        Map().SetColor(RandomColour(false));
    } else if (r < 350) {
        if (THotSpot* spot = target())
            spot->SetSelected(Chance(500) ? !spot->Selected() : Chance(500));
    } else if (r < 450) {
        if (THotSpot* spot = target())
            spot->SetDown(!spot->Down());
    } else if (r < 490) {
        if (THotSpot* spot = target())
            spot->SetShowClick(!spot->ShowClick());
    } else if (r < 590) {
        if (THotSpot* spot = target())
            spot->SetBlink(!spot->Blink());
    } else if (r < 690) {
        AddHotSpot();
    } else if (r < 790) {
        // Fewer destroyed as the map empties, so that most of the run has hotspots to meet.
        if (spots.Count() > 0 && (spots.Count() > 20 || Chance(200)))
            DestroyHotSpot(clickedIndex >= 0 && clickedIndex < spots.Count() && Chance(300) ? clickedIndex
                                                                                                : Below(spots.Count()));
    } else if (r < 810) {
        Map().SetHotSpots(countries_.get());
    } else if (r < 813) {
        spots.Clear();
    } else if (r < 850) {
        ReplacePicture();
    } else if (r < 900) {
        if (THotSpot* spot = target())
            spot->SetSelected(!spot->Selected());
    } else if (r < 920) {
        Map().SetSelectionMode(TSelectionMode(Below(3)));
    } else if (r < 940) {
        // A new quiz resets every hotspot's colours; the hover colour is a plain field,
        // so its look is rebuilt here, as ChangeColours does.
        std::vector<TColor> before;
        for (int i = 0; i < spots.Count(); ++i)
            before.push_back(spots.Item(i)->HoverColor());
        form_->Button2Click(nullptr);
        for (int i = 0; i < spots.Count() && i < int(before.size()); ++i)
            if (spots.Item(i)->HoverColor() != before[std::size_t(i)])
                spots.Item(i)->RebuildHoverBitmap();
    } else if (r < 970) {
        if (THotSpot* spot = target())
            Map().RestoreArea(spot->Index());
    } else {
        Map().Repaint();
    }
}

void TSoakDriver::ChangeColours(THotSpot& spot)
{
    switch (Below(4)) {
    case 0: spot.SetClickColor(RandomColour(true)); break;
    case 1: spot.SetSelectedColor(RandomColour(true)); break;
    case 2:
        // A plain field: the look follows at the next rebuild, which an application asks
        // for. A fresh control composes every look anew, so the soak rebuilds at once.
        spot.SetHoverColor(RandomColour(true));
        spot.RebuildHoverBitmap();
        break;
    default:
        // The blink look never survives a full repaint, so it may stay behind its colour.
        spot.SetBlinkColor(RandomColour(true));
        if (Chance(500))
            spot.RebuildBlinkBitmap();
        break;
    }
}

void TSoakDriver::AddHotSpot()
{
    THotSpots& spots = Map().HotSpots();
    if (spots.Count() >= kMaxHotSpots)
        return;
    const int w = std::max(Map().Width(), 1);
    const int h = std::max(Map().Height(), 1);
    // Every new hotspot is Clipped, as the map's countries are: a hotspot that is not gets
    // no new looks when the picture changes, so no fresh control could show the same.
    const int kind = Below(4);
    if (kind == 3 && spots.Count() > 0) {
        THotSpot* source = spots.Item(Below(spots.Count()));
        spots.AddHotSpot()->Assign(source);
    } else {
        const int left = Below(w + 40) - 20;
        const int top = Below(h + 40) - 20;
        const int right = left + 1 + Below(120);
        const int bottom = top + 1 + Below(120);
        THotSpot* spot = spots.AddHotSpot();
        spot->SetName("Added" + std::to_string(report_.handlerChanges));
        spot->SetID(Below(40) - 3);
        if (kind == 0) {
            spot->SetCorners(left, top, right, bottom);
        } else if (kind == 1) {
            spot->SetShapeType(stEllipse);
            spot->SetCorners(left, top, right, bottom);
            if (Chance(300))
                spot->SetAngle(Below(360));
        } else {
            spot->SetShapeType(stPolygon);
            TPoints points;
            const int n = 3 + Below(7);
            for (int i = 0; i < n; ++i)
                points.push_back({left + (right - left) * double(Below(1001)) / 1000.0,
                                  top + (bottom - top) * double(Below(1001)) / 1000.0});
            spot->SetPoints(points);
        }
        spot->SetClickColor(RandomColour(true));
        spot->SetSelectedColor(RandomColour(true));
        spot->SetHoverColor(RandomColour(true));
        // Last: its looks are sized to the final outline.
        spot->SetClipped(true);
    }
    ++report_.added;
    report_.maxHotSpots = std::max(report_.maxHotSpots, spots.Count());
}

void TSoakDriver::DestroyHotSpot(int index)
{
    ++report_.destroyed;
    delete Map().HotSpots().Item(index);
}

void TSoakDriver::ReplacePicture()
{
    ++report_.pictureChanges;
    const TPicture& current = Map().Picture();
    switch (Below(4)) {
    case 0: Map().SetPicture(&mapPicture_); break;
    case 1: Map().SetPicture(&otherBitmap_); break;
    case 2: Map().SetPicture(&jpegPicture_); break;
    default:
        // None at all; from none, mostly back to the map.
        if (!current.HasGraphic())
            Map().SetPicture(&mapPicture_);
        else
            Map().SetPicture(nullptr);
        break;
    }
}

// --- the run ---

TSoakReport TSoakDriver::Run(std::int64_t events, std::int64_t compareEvery)
{
    report_ = TSoakReport{};
    report_.maxHotSpots = Map().HotSpots().Count();
    trail_.clear();
    const std::int64_t boxesBefore = boxes_.shown;
    std::int64_t nextCompare = compareEvery;
    while (report_.events < events && !report_.failed) {
        Step();
        if (report_.events >= nextCompare && !report_.failed) {
            nextCompare += compareEvery;
            const std::string difference = CompareWithFreshControl();
            ++report_.comparisons;
            if (!difference.empty())
                Fail(difference);
            // The recorded texts are not needed past this point; keeping them all would
            // look like a leak to the memory check.
            boxes_.boxes.clear();
        }
    }
    if (!report_.failed) {
        const std::string difference = CompareWithFreshControl();
        ++report_.comparisons;
        if (!difference.empty())
            Fail(difference);
    }
    boxes_.boxes.clear();
    report_.messageBoxes = boxes_.shown - boxesBefore;
    return report_;
}

std::string TSoakDriver::CompareWithFreshControl()
{
    TMorvane& map = Map();
    // Looks drawn straight onto the window last until the next full repaint: only right
    // after one does the surface follow from the state alone.
    map.Repaint();

    TMorvane fresh;
    fresh.SetBounds(0, 0, map.Width(), map.Height());
    fresh.SetColor(map.Color());
    fresh.SetTransparent(map.Transparent());
    fresh.SetSelectionMode(map.SelectionMode());
    fresh.SetPicture(&map.Picture());
    // Copying takes neither Down nor ShowClick, nor the binding to the picture: a hotspot
    // is composed on the picture when the picture is written or at its first hit test, so
    // the fresh one is bound exactly where the map's is.
    fresh.SetHotSpots(&map.HotSpots());
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const THotSpot& original = *map.HotSpots().Item(i);
        THotSpot& copy = *fresh.HotSpots().Item(i);
        copy.SetDown(original.Down());
        copy.SetShowClick(original.ShowClick());
        if (original.BackgroundPicture() != nullptr)
            copy.ContainsPoint(original.X(), original.Y());
    }
    report_.comparedPressed += map.ClickIndex() != -1;
    report_.comparedHovered += map.HoverIndex() != -1 && map.ClickIndex() == -1;
    report_.comparedWithoutPicture += !map.Picture().HasGraphic();
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const THotSpot& s = *map.HotSpots().Item(i);
        report_.comparedDown += s.Down();
        report_.comparedSelected += s.Selected();
        report_.comparedShowClick += s.ShowClick();
    }
    fresh.SetHoverIndexQuietly(map.HoverIndex());
    fresh.SetClickIndex(map.ClickIndex());
    fresh.Repaint();

    const QImage& expected = fresh.Surface();
    const QImage& actual = map.Surface();
    if (expected.size() != actual.size() || expected.format() != actual.format())
        return "the surface is " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
               ", a fresh control's " + std::to_string(expected.width()) + "x" + std::to_string(expected.height());
    // Without a graphic the repaint only outlines the control and leaves the inside as
    // the window showed it: only what the fresh control drew over its white start counts.
    const bool outlineOnly = !map.Picture().HasGraphic();
    const QRgb white = qRgb(255, 255, 255);
    int differing = 0;
    QRect area;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (outlineOnly && (e[x] | 0xFF000000u) == white)
                continue;
            if ((a[x] | 0xFF000000u) != (e[x] | 0xFF000000u)) {
                ++differing;
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    if (differing == 0)
        return {};
    std::ostringstream out;
    out << differing << " pixels differ from a fresh control's repaint, within (" << area.left() << ","
        << area.top() << ")-(" << area.right() << "," << area.bottom() << "); HoverIndex " << map.HoverIndex()
        << ", ClickIndex " << map.ClickIndex() << "; hotspots there:";
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const THotSpot& s = *map.HotSpots().Item(i);
        const QRect box(s.X(), s.Y(), s.Width() + 1, s.Height() + 1);
        if (!box.intersects(area))
            continue;
        out << "\n    " << i << " '" << s.Name() << "' selected " << s.Selected() << " down " << s.Down()
            << " showclick " << s.ShowClick() << " blink " << s.Blink() << " bound "
            << (s.BackgroundPicture() != nullptr);
    }
    return out.str();
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:"))
            continue;
        bool ok = false;
        const long kib = line.mid(6).trimmed().split(' ').front().toLong(&ok);
        return ok ? kib : -1;
    }
    return -1;
}

} // namespace vandora::test
