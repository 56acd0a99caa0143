#include "platform/KeyState.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <limits>

namespace vandora {

namespace {

class TDefaultInputStateService final : public IInputStateService {
public:
    bool KeyDown(int virtualKey) override
    {
        if (QGuiApplication::instance() == nullptr)
            return false;
        switch (virtualKey) {
        case VK_SHIFT: return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
        case VK_CONTROL: return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
        case VK_MENU: return (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
        case VK_LBUTTON: return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
        case VK_RBUTTON: return (QGuiApplication::mouseButtons() & Qt::RightButton) != 0;
        case VK_MBUTTON: return (QGuiApplication::mouseButtons() & Qt::MiddleButton) != 0;
        default: return false;
        }
    }

    TPoint CursorPos() override
    {
        const QPoint p = QCursor::pos();
        return TPoint{p.x(), p.y()};
    }
};

TDefaultInputStateService& DefaultService()
{
    static TDefaultInputStateService service;
    return service;
}

IInputStateService* g_service = nullptr;

} // namespace

IInputStateService& InputStateService()
{
    return g_service ? *g_service : DefaultService();
}

IInputStateService* SetInputStateService(IInputStateService* service)
{
    IInputStateService* previous = g_service;
    g_service = service;
    return previous;
}

std::int16_t GetKeyState(int virtualKey)
{
    // 0x8000 as a signed 16-bit value.
    return InputStateService().KeyDown(virtualKey) ? std::numeric_limits<std::int16_t>::min() : std::int16_t(0);
}

bool GetCursorPos(TPoint& point)
{
    point = InputStateService().CursorPos();
    return true;
}

bool ScreenToClient(const QWidget* widget, TPoint& point)
{
    if (widget == nullptr)
        return false;
    const QPoint client = widget->mapFromGlobal(QPoint(point.x, point.y));
    point = TPoint{client.x(), client.y()};
    return true;
}

} // namespace vandora
