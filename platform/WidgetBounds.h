#pragma once
// Left, Top, Width and Height of a control that is a plain Qt widget.
#include <QWidget>

#include <algorithm>

namespace vandora {

// Qt keeps a widget's last pixel (left + width - 1) in an int, and its rectangle's sums
// overflow at the ends of the range: positions are held within a billion pixels of the
// origin, sizes within Qt's largest.
constexpr int kMaxWidgetPosition = 1 << 30;
inline int BoundedPosition(int value)
{
    return std::clamp(value, -kMaxWidgetPosition, kMaxWidgetPosition);
}
inline int BoundedSize(int value)
{
    return std::clamp(value, 0, QWIDGETSIZE_MAX);
}

// The published position and size of a control whose geometry is just its widget's:
// moving or sizing it needs no step of its own. Control derives from both this and a
// QWidget class (the curiously recurring pattern), so the properties read and write it.
template <class Control>
class TWidgetBounds {
public:
    int Left() const { return Widget().x(); }
    void SetLeft(int value) { Widget().move(BoundedPosition(value), Widget().y()); }
    int Top() const { return Widget().y(); }
    void SetTop(int value) { Widget().move(Widget().x(), BoundedPosition(value)); }
    int Width() const { return Widget().width(); }
    void SetWidth(int value) { Widget().resize(BoundedSize(value), Widget().height()); }
    int Height() const { return Widget().height(); }
    void SetHeight(int value) { Widget().resize(Widget().width(), BoundedSize(value)); }

private:
    const QWidget& Widget() const { return static_cast<const Control&>(*this); }
    QWidget& Widget() { return static_cast<Control&>(*this); }
};

} // namespace vandora
