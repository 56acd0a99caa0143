#pragma once
// What assistive technology (a screen reader, say) sees of the control: the control with
// one child per hotspot, so that each hotspot is named, placed, and can be pressed.
#include <QAccessibleWidget>

#include <vector>

namespace vandora {

class TMorvane;

class TMorvaneAccessible : public QAccessibleWidget {
public:
    explicit TMorvaneAccessible(TMorvane* control);
    ~TMorvaneAccessible() override;
    TMorvaneAccessible(const TMorvaneAccessible&) = delete;
    TMorvaneAccessible& operator=(const TMorvaneAccessible&) = delete;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    // Screen coordinates, as Qt gives them.
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The factory Qt asks for the interface of any TMorvane.
    static QAccessibleInterface* Create(const QString& className, QObject* object);
    // Tells assistive technology that the keys lit a hotspot of a focused control.
    static void HotSpotFocused(TMorvane* control, int index);
    // The control's hotspot at `index` is being destroyed (it is half gone already, so
    // nothing may ask it anything): its interface, if one was made, stands for nothing
    // from now on, and the later ones follow their hotspots.
    static void HotSpotRemoving(TMorvane* control, int index);

private:
    TMorvane* Control() const;
    void ForgetChild(int index);
    static void MoveChild(QAccessible::Id id, int index);

    // The hotspots' interfaces, made when first asked for and owned by Qt's registry
    // under these ids until this interface goes; 0 where none was made yet.
    mutable std::vector<QAccessible::Id> children_;
    // Interfaces of destroyed hotspots: a client may still hold them, so they are kept,
    // standing for nothing, until this interface goes.
    std::vector<QAccessible::Id> retired_;
    // The control as it was given, a key only: widget() may be null by the time this goes.
    const TMorvane* madeFor_;
};

} // namespace vandora
