#pragma once
// Left, Top, Width and Height of a control that is a plain Qt widget.
#include <QWidget>

namespace vandora {

// The published position and size of a control whose geometry is just its widget's:
// moving or sizing it needs no step of its own. Control derives from both this and a
// QWidget class (the curiously recurring pattern), so the properties read and write it.
template <class Control>
class TWidgetBounds {
public:
    int Left() const { return Widget().x(); }
    void SetLeft(int value) { Widget().move(value, Widget().y()); }
    int Top() const { return Widget().y(); }
    void SetTop(int value) { Widget().move(Widget().x(), value); }
    int Width() const { return Widget().width(); }
    void SetWidth(int value) { Widget().resize(value, Widget().height()); }
    int Height() const { return Widget().height(); }
    void SetHeight(int value) { Widget().resize(Widget().width(), value); }

private:
    const QWidget& Widget() const { return static_cast<const Control&>(*this); }
    QWidget& Widget() { return static_cast<Control&>(*this); }
};

} // namespace vandora
