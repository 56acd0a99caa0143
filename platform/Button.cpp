#include "platform/Button.h"

#include "platform/Form.h"

#include <QKeyEvent>

namespace vandora {

TButton::TButton(QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { OnClick(this); });
}

void TButton::keyPressEvent(QKeyEvent* event)
{
    // The focused button is pressed by Enter as well as by Space, once per key press as
    // Space is: a held key does not press it again and again.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TButton::SetTabOrder(int value)
{
    tabOrder_ = value;
    if (IsLoading())
        return; // the form orders its controls once it has been read
    if (auto* form = qobject_cast<TForm*>(parentWidget()))
        form->ApplyTabOrder();
}

} // namespace vandora
