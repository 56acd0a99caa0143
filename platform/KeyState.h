#pragma once
// The live state of the keyboard's modifier keys and the pointer's position.
//
// Seam: both are read through an IInputStateService. The default one asks the window
// system (QGuiApplication::queryKeyboardModifiers, QCursor::pos); a test installs a double
// that holds Ctrl down or puts the pointer where the test wants it.
#include "platform/Types.h"

#include <cstdint>

class QWidget;

namespace vandora {

// Virtual-key codes GetKeyState knows.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12; // Alt

class IInputStateService {
public:
    virtual ~IInputStateService() = default;
    // Whether the key (one of the VK_ codes above) is held down right now.
    virtual bool KeyDown(int virtualKey) = 0;
    // The pointer's position in screen coordinates.
    virtual TPoint CursorPos() = 0;
};

IInputStateService& InputStateService();
// Installs a service (not owned) and returns the one it replaces; null puts the default back.
IInputStateService* SetInputStateService(IInputStateService* service);

// The key's state: the high bit (0x8000, so the value is negative) is set while the key is
// held down. The low (toggle) bit is never set. Unknown keys read as 0.
std::int16_t GetKeyState(int virtualKey);
// The pointer's position in screen coordinates; true on success.
bool GetCursorPos(TPoint& point);
// Converts a screen point to the widget's client coordinates in place; false (point
// unchanged) when there is no widget.
bool ScreenToClient(const QWidget* widget, TPoint& point);

} // namespace vandora
