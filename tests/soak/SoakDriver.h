#pragma once
// Drives the real quiz map, built from the embedded form, with a long deterministic
// stream of random pointer, timer and property events, and checks the control after
// every one of them.
#include "app/Unit2.h"
#include "hotspot/Morvane.h"
#include "platform/TestDoubles.h"

#include <QEvent>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace vandora::test {

// What a run did and found.
struct TSoakReport {
    std::int64_t events = 0;      // events delivered to the control (nested ones included)
    std::int64_t nestedEvents = 0; // delivered while a message box was "open"
    std::int64_t handlerChanges = 0;
    std::int64_t messageBoxes = 0;
    int comparisons = 0;          // full repaints compared with a fresh control
    int maxHotSpots = 0;
    std::int64_t hotSpotEvents = 0; // the hotspot count summed over the events: its mean
    // The control's own events as the handlers saw them.
    std::int64_t clicks = 0, rightClicks = 0, doubleClicks = 0, enters = 0, exits = 0;
    std::int64_t added = 0, destroyed = 0, pictureChanges = 0;
    // What the compared repaints held: so many pressed, hovered, Down, Selected, ShowClick
    // looks, and repaints without a picture.
    std::int64_t comparedPressed = 0, comparedHovered = 0, comparedDown = 0, comparedSelected = 0,
                 comparedShowClick = 0, comparedWithoutPicture = 0;
    bool failed = false;
    std::string failure;          // the first failure, with the last events before it
};

// A message box that records, and while it is "open" lets further events reach the
// control, as a real modal box does.
class TNestingMessageBox : public TRecordingMessageBox {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowErrorMessage(const std::string& caption, const std::string& text) override;
    std::function<void()> whileOpen;
    std::int64_t shown = 0;
    std::int64_t errors = 0;
};

class TSoakDriver {
public:
    explicit TSoakDriver(std::uint64_t seed);
    ~TSoakDriver();
    TSoakDriver(const TSoakDriver&) = delete;
    TSoakDriver& operator=(const TSoakDriver&) = delete;

    // Delivers the given number of events, comparing a full repaint with a fresh control
    // every compareEvery events and at the end. Stops at the first failure.
    TSoakReport Run(std::int64_t events, std::int64_t compareEvery);

    TForm2& Form() { return *form_; }
    TMorvane& Map() { return *form_->Morvane1; }

    // Full repaint of the map, then its surface against a fresh control in the same state;
    // an empty string when they agree, else what differs.
    std::string CompareWithFreshControl();

private:
    // One step: usually one event, sometimes a short burst (a double click).
    void Step();
    void Deliver(const std::function<void()>& send, const std::string& what);
    void CheckState(const std::string& what);
    void Fail(const std::string& why);

    void SendMouse(QEvent::Type type, QPoint p, Qt::MouseButton button);
    void MoveTo(QPoint p);
    QPoint PointInsideHotSpot();
    QPoint PointInControl();
    QPoint PointOutside();
    Qt::MouseButton RandomButton();

    // Handlers: property changes made from inside the control's events.
    void InstallHandlers();
    void ChangeSomething(int clickedIndex);
    void ChangeColours(THotSpot& spot);
    void AddHotSpot();
    void DestroyHotSpot(int index);
    void ReplacePicture();
    void RunNested();

    std::uint64_t Next() { return rng_(); }
    int Below(int n) { return n <= 0 ? 0 : int(rng_() % std::uint64_t(n)); }
    bool Chance(int perMille) { return Below(1000) < perMille; }
    TColor RandomColour(bool allowNone);

    std::mt19937_64 rng_;
    TNestingMessageBox boxes_;
    ScopedService<IMessageBoxService> boxesInstalled_{SetMessageBoxService, &boxes_};
    TRecordingShell shell_;
    ScopedService<IShellService> shellInstalled_{SetShellService, &shell_};
    TFakeInputState input_;
    ScopedService<IInputStateService> inputInstalled_{SetInputStateService, &input_};
    std::unique_ptr<TForm2> form_;

    // Pictures the handlers switch between; the first is the map's own.
    TPicture mapPicture_;
    TPicture otherBitmap_;
    TPicture jpegPicture_;
    // The map's countries as loaded, to put back after many were destroyed.
    std::unique_ptr<THotSpots> countries_;

    QPoint pointer_{-1, -1};
    Qt::MouseButtons held_;
    int nestingDepth_ = 0;
    TSoakReport report_;
    std::deque<std::string> trail_; // the last events, for the failure message
};

// Resident memory of this process in KiB (VmRSS), or -1 when unknown.
long ResidentKiB();

// True in a build with AddressSanitizer.
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

} // namespace vandora::test
