// Fuzzes a form read into the real window classes (form, label, button and the hotspot
// control), as the form tool reads any file it is given: what reads must write back
// alike, and every control must paint, and every hotspot control be searched and have
// each of its looks drawn and put back, without harm.
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzClasses.h"

#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"
#include "platform/CustomControl.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"
#include "tools/form/FormComponents.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace vandora;
using vandora::fuzz::Broken;

// Larger surfaces and looks only cost the fuzzer time; their limits have tests of their own.
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

bool SmallLooks(const TMorvane& morvane)
{
    const THotSpots& spots = morvane.HotSpots();
    for (int i = 0; i < spots.Count(); ++i)
        if (Area(spots.Item(i)->Width(), spots.Item(i)->Height()) > kMostPixels)
            return false;
    return true;
}

// The pointer's work without the pointer: searched over a grid, then every hotspot drawn
// in each look, put back, selected, and blinked.
void DriveHotSpots(TMorvane& morvane)
{
    const int stepX = std::max(1, morvane.Width() / 16);
    const int stepY = std::max(1, morvane.Height() / 16);
    for (int y = 0; y < morvane.Height(); y += stepY)
        for (int x = 0; x < morvane.Width(); x += stepX)
            (void)morvane.HotSpotAt(x, y);
    THotSpots& spots = morvane.HotSpots();
    for (int i = 0; i < spots.Count(); ++i) {
        morvane.DrawHover(i);
        morvane.DrawClick(i);
        morvane.DrawSelected(i);
        morvane.DrawBlink(i);
        morvane.RestoreArea(i);
        spots.Item(i)->SetSelected(true);
        spots.Item(i)->SetBlink(true);
    }
    morvane.BlinkTick();
    morvane.BlinkTick();
    morvane.Repaint();
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
        if (morvane != nullptr && SmallLooks(*morvane))
            DriveHotSpots(*morvane);
    }
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
        const std::unique_ptr<TComponent> again = Load(written);
        if (!again)
            Broken("a written form reads back");
        if (WriteFormBinary(*again) != written)
            Broken("a written form reads back and writes the same",
                   FormToText(written) + "\n--- written again ---\n" + FormToText(WriteFormBinary(*again)));
    }
    DriveControls(*root);
    return 0;
}
