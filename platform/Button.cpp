#include "platform/Button.h"

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
    // The focused button is pressed by Enter as well as by Space.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace vandora
