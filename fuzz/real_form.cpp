// Fuzzes a form read into the real window classes (form, label, button and the hotspot
// control), as the form tool reads any file it is given: what reads must write back
// alike, every control must paint, and every hotspot control must take the pointer and
// have each of its looks drawn and put back, without harm.
#include "fuzz/DrawEveryLook.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzClasses.h"

#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"
#include "platform/CustomControl.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"
#include "tools/form/FormComponents.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace vandora;
using vandora::fuzz::Broken;

// Larger surfaces only cost the fuzzer time; their limits have tests of their own.
constexpr std::int64_t kMostPixels = std::int64_t(1) << 20;

std::int64_t Area(int width, int height)
{
    return std::int64_t(std::max(width, 0)) * std::max(height, 0);
}

void Collect(TComponent& component, std::vector<TCustomControl*>& controls)
{
    if (auto* control = dynamic_cast<TCustomControl*>(&component))
        controls.push_back(control);
    for (int i = 0; i < component.ComponentCount(); ++i)
        Collect(*component.Components(i), controls);
}

void Send(QWidget& target, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(x, y), target.mapToGlobal(QPointF(x, y)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

// The pointer over a grid of the control: entering, moving, and now and then a click, a
// double click, a right click, a press here released elsewhere and one whose release is
// lost, then leaving.
void DrivePointer(TMorvane& morvane)
{
    QEnterEvent enter(QPointF(0, 0), QPointF(0, 0), morvane.mapToGlobal(QPointF(0, 0)));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&morvane, &enter);
    const int stepX = std::max(1, morvane.Width() / 16);
    const int stepY = std::max(1, morvane.Height() / 16);
    int n = 0;
    for (int y = 0; y < morvane.Height(); y += stepY)
        for (int x = 0; x < morvane.Width(); x += stepX) {
            Send(morvane, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton);
            switch (n++ % 7) {
            case 0: // a press whose release a modal box took, the box over the control
                if (n % 3 != 1)
                    break;
                Send(morvane, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
                QCoreApplication::sendEvent(&morvane, &leave);
                QCoreApplication::sendEvent(&morvane, &enter);
                break;
            case 2:
                Send(morvane, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
                Send(morvane, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
                Send(morvane, QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
                Send(morvane, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
                break;
            case 4:
                Send(morvane, QEvent::MouseButtonPress, x, y, Qt::RightButton, Qt::RightButton);
                Send(morvane, QEvent::MouseButtonRelease, x, y, Qt::RightButton, Qt::NoButton);
                break;
            case 6:
                Send(morvane, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
                Send(morvane, QEvent::MouseMove, x + stepX, y + stepY, Qt::NoButton, Qt::LeftButton);
                Send(morvane, QEvent::MouseButtonRelease, x + stepX, y + stepY, Qt::LeftButton, Qt::NoButton);
                break;
            }
        }
    QCoreApplication::sendEvent(&morvane, &leave);
}

void SendKey(QWidget& target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

// The keys, on the control given a focus policy: in with Tab, through the hotspots with
// Page Down and the arrows (a click now and then), to the ends, the light put out, and
// out again.
void DriveKeys(TMorvane& morvane)
{
    morvane.setFocusPolicy(Qt::StrongFocus);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&morvane, &in);
    const int steps = std::min(morvane.HotSpots().Count() + 1, 64);
    constexpr int kMoves[] = {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Up};
    for (int i = 0; i < steps; ++i) {
        SendKey(morvane, kMoves[i % 6]);
        if (i % 3 == 1)
            SendKey(morvane, i % 2 == 0 ? Qt::Key_Space : Qt::Key_Return);
    }
    for (const int key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Space, Qt::Key_Home, Qt::Key_Up, Qt::Key_Escape})
        SendKey(morvane, key);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&morvane, &out);
    morvane.setFocusPolicy(Qt::NoFocus);
}

// What assistive technology asks of every hotspot, and a press now and then: each child
// must be found again by its index.
void DriveAccessibility(TMorvane& morvane)
{
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&morvane);
    for (int i = 0; tree != nullptr && i < std::min(tree->childCount(), 64); ++i) {
        QAccessibleInterface* child = tree->child(i);
        if (child == nullptr || tree->indexOfChild(child) != i)
            Broken("each hotspot's interface is found again by its index");
        child->text(QAccessible::Name);
        child->state();
        const QRect box = child->rect();
        tree->childAt(box.center().x(), box.center().y());
        if (i % 3 == 2)
            child->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
}

// Then the looks without the pointer: every hotspot drawn in each look, put back,
// selected, and blinked.
void DriveHotSpots(TMorvane& morvane)
{
    DrivePointer(morvane);
    DriveKeys(morvane);
    DriveAccessibility(morvane);
    fuzz::DrawEveryLook(morvane);
    THotSpots& spots = morvane.HotSpots();
    for (int i = 0; i < spots.Count(); ++i)
        spots.Item(i)->SetBlink(true);
    morvane.BlinkTick();
    morvane.BlinkTick();
    morvane.Repaint();
}

std::vector<TRect> Boxes(const TMorvane& morvane)
{
    std::vector<TRect> boxes;
    for (int i = 0; i < morvane.HotSpots().Count(); ++i)
        boxes.push_back(morvane.HotSpots().Item(i)->BoundsRect());
    return boxes;
}

bool FiniteOutlines(const TMorvane& morvane)
{
    for (int i = 0; i < morvane.HotSpots().Count(); ++i)
        for (const TRealPoint& p : morvane.HotSpots().Item(i)->Shape().Points())
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return false;
    return true;
}

// A stretched control rescales its hotspots at every size it passes through: a size that
// comes back gives the same hotspots back, however small the sizes between. Only for a
// control whose base is its own size (its hotspots then only shrink on the way).
void ResizeAndBack(TMorvane& morvane)
{
    const int w = morvane.Width();
    const int h = morvane.Height();
    if (!morvane.Stretch() || morvane.HotSpots().BaseWidth() != w || morvane.HotSpots().BaseHeight() != h ||
        !FiniteOutlines(morvane))
        return;
    const int smallW = std::max(1, w / 2);
    const int smallH = std::max(1, h / 3);
    morvane.SetBounds(morvane.Left(), morvane.Top(), smallW, smallH);
    const std::vector<TRect> atSmall = Boxes(morvane);
    morvane.SetBounds(morvane.Left(), morvane.Top(), 3, 2);
    morvane.SetBounds(morvane.Left(), morvane.Top(), w, h);
    morvane.SetBounds(morvane.Left(), morvane.Top(), smallW, smallH);
    if (Boxes(morvane) != atSmall)
        Broken("a stretched control's hotspots come back to the same boxes at the same size");
    morvane.SetBounds(morvane.Left(), morvane.Top(), w, h);
}

void DriveControls(TComponent& root)
{
    std::vector<TCustomControl*> controls;
    Collect(root, controls);
    for (TCustomControl* control : controls) {
        if (Area(control->Width(), control->Height()) > kMostPixels)
            continue;
        control->Repaint();
        auto* morvane = dynamic_cast<TMorvane*>(control);
        if (morvane != nullptr && fuzz::SmallLooks(*morvane)) {
            DriveHotSpots(*morvane);
            ResizeAndBack(*morvane);
        }
    }
}

// A rectangle or ellipse hotspot stored without an outline gets one from its box when its
// Height is read back (writing Height rebuilds an empty outline, even at the same value):
// such a form writes back differently once, and from then on the same.
bool OutlinesComeFromBoxes(TComponent& root)
{
    std::vector<TCustomControl*> controls;
    Collect(root, controls);
    for (TCustomControl* control : controls) {
        if (auto* morvane = dynamic_cast<TMorvane*>(control)) {
            const THotSpots& spots = morvane->HotSpots();
            for (int i = 0; i < spots.Count(); ++i) {
                const THotSpot& spot = *spots.Item(i);
                if (spot.ShapeType() != stPolygon && spot.Shape().Points().size() < 3)
                    return true;
            }
        }
    }
    return false;
}

std::unique_ptr<TComponent> Load(const QByteArray& form)
{
    try {
        return formtool::LoadComponents(form);
    } catch (const vandora::Exception&) {
        return nullptr; // refused with one of the framework's errors, as the tool reports it
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication(fuzz::TFuzzApplication::Widgets);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::unique_ptr<TComponent> root = Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!root)
        return 0;
    fuzz::CountAcceptedRead();
    QByteArray written;
    try {
        written = WriteFormBinary(*root);
    } catch (const EWriteError&) {
        written.clear(); // a value its class cannot write back (an enumeration out of range)
    }
    if (!written.isEmpty()) {
        std::unique_ptr<TComponent> again = Load(written);
        if (!again)
            Broken("a written form reads back");
        if (OutlinesComeFromBoxes(*root)) {
            written = WriteFormBinary(*again);
            again = Load(written);
            if (!again)
                Broken("a written form reads back");
        }
        if (WriteFormBinary(*again) != written)
            Broken("a written form reads back and writes the same",
                   FormToText(written) + "\n--- written again ---\n" + FormToText(WriteFormBinary(*again)));
    }
    DriveControls(*root);
    return 0;
}
