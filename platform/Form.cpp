#include "platform/Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vandora {

TForm::TForm(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    SetColor(clBtnFace);
    font_.SetOnChange([this] { ApplyFont(); });
    ApplyFont();
}

TForm::~TForm()
{
    font_.SetOnChange({});
}

void TForm::SetLeft(int value)
{
    left_ = value;
    move(left_, top_);
}

void TForm::SetTop(int value)
{
    top_ = value;
    move(left_, top_);
}

void TForm::SetColor(TColor value)
{
    color_ = value;
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorToQColor(value));
    setPalette(p);
}

void TForm::ApplyFont()
{
    setFont(font_.ToQFont());
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColorToQColor(font_.Color()));
    setPalette(p);
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
        if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void TForm::closeEvent(QCloseEvent* event)
{
    TCloseAction action = caHide;
    OnClose(this, action);
    if (action == caNone)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace vandora
