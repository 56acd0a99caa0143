#pragma once
// A push button that takes the keyboard focus; Space and Enter press it.
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/WidgetBounds.h"

#include <QPushButton>
#include <string>

namespace vandora {

class TButton : public QPushButton, public TComponent, public TWidgetBounds<TButton> {
    Q_OBJECT
public:
    explicit TButton(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TButton"; }

    std::string Caption() const { return text().toStdString(); }
    void SetCaption(const std::string& value) { setText(QString::fromStdString(value)); }
    int TabOrder() const { return tabOrder_; }
    // Tab visits a form's buttons by rising TabOrder (equal ones in the order created).
    void SetTabOrder(int value);
    // A default button is pressed by Enter anywhere in the form; a cancel button by Esc.
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }

    TNotifyEvent OnClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int tabOrder_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace vandora
