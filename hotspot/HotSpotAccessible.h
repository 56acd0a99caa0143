#pragma once
// One hotspot as assistive technology sees it: a button named after the hotspot (or its
// hint when it has no name), described by its hint, placed at its box, selected as it is,
// pressed with the control's click.
#include <QAccessibleInterface>
#include <QPointer>

namespace vandora {

class TMorvane;
class THotSpot;

// What assistive technology calls a hotspot: its Name, or its Hint when it has no name.
QString SpokenName(const THotSpot& hotspot);

class THotSpotAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    // Stands for the control's hotspot at `index`, and goes on standing for that hotspot
    // as earlier ones are destroyed (the control's interface moves it with SetIndex).
    THotSpotAccessible(TMorvane* control, int index);

    TMorvane* Control() const;
    int Index() const { return index_; }
    // The hotspot moved to `index`, or is gone (-1): from then on it stands for nothing.
    void SetIndex(int index) { index_ = index; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const THotSpot* HotSpot() const;
    // The press action's click, run once the caller has its answer.
    void PressNow();

    QPointer<TMorvane> control_;
    int index_;
};

} // namespace vandora
