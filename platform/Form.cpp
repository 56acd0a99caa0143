#include "platform/Form.h"

#include "platform/Button.h"
#include "platform/Label.h"
#include "platform/WidgetBounds.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace vandora {

namespace {

// Assistive technology takes a program's main window for one by its role (a frame), as
// Qt gives a QMainWindow; a plain widget would be a filler.
QAccessibleInterface* FormAccessible(const QString&, QObject* object)
{
    auto* form = qobject_cast<TForm*>(object);
    return form != nullptr && form->isWindow() ? new QAccessibleWidget(form, QAccessible::Window) : nullptr;
}

} // namespace

TForm::TForm(QWidget* parent) : QWidget(parent)
{
    // Once for the program, before anything asks for a form's interface (Qt keeps the first).
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(&FormAccessible);
        return true;
    }();
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
    move(BoundedPosition(left_), BoundedPosition(top_));
}

void TForm::SetTop(int value)
{
    top_ = value;
    move(BoundedPosition(left_), BoundedPosition(top_));
}

void TForm::SetColor(TColor value)
{
    color_ = value;
    ApplyColors();
}

void TForm::ApplyColors()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorToQColor(color_));
    p.setColor(QPalette::WindowText, ColorToQColor(font_.Color()));
    setPalette(p);
}

void TForm::ApplyFont()
{
    setFont(font_.ToQFont());
    ApplyColors();
    // Qt passes a changed face or size on to the labels, but not a colour or charset alone.
    for (TLabel* label : findChildren<TLabel*>(Qt::FindDirectChildrenOnly))
        label->ParentFontChanged();
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    FocusFirstTabStop();
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
        if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            QRect frame = frameGeometry();
            frame.moveCenter(available.center());
            // Larger than the screen: from its top and left edges, where the caption and
            // the first controls stay within reach.
            frame.moveTopLeft(
                QPoint(std::max(frame.left(), available.left()), std::max(frame.top(), available.top())));
            move(frame.topLeft());
        }
    }
}

bool TForm::event(QEvent* event)
{
    // The desktop's colour scheme changed (Qt tells top-level windows only): system colours
    // are looked up again, here and on every form and label inside the window.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        ApplyColors();
        for (TForm* form : findChildren<TForm*>())
            form->ApplyColors();
        for (TLabel* label : findChildren<TLabel*>())
            label->SystemColorsChanged();
    }
    return QWidget::event(event);
}

void TForm::closeEvent(QCloseEvent* event)
{
    // Refused unless the handler lets it close: one that fails must not close the window
    // (the event loop shows its error and goes on, with the window still there).
    event->ignore();
    TCloseAction action = caHide;
    OnClose(this, action);
    switch (action) {
    case caNone:
        event->ignore();
        return;
    case caMinimize:
        event->ignore();
        showMinimized();
        return;
    case caFree:
        deleteLater();
        break;
    case caHide:
        break;
    }
    QWidget::closeEvent(event);
}

void TForm::Loaded()
{
    TComponent::Loaded();
    ApplyTabOrder();
}

QList<TButton*> TForm::ButtonsInTabOrder() const
{
    QList<TButton*> buttons = findChildren<TButton*>(Qt::FindDirectChildrenOnly);
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const TButton* a, const TButton* b) { return a->TabOrder() < b->TabOrder(); });
    return buttons;
}

void TForm::ApplyTabOrder()
{
    // Qt keeps the chain as a ring: this sets who follows whom; the first show decides
    // where it starts.
    const QList<TButton*> buttons = ButtonsInTabOrder();
    for (qsizetype i = 1; i < buttons.size(); ++i)
        QWidget::setTabOrder(buttons[i - 1], buttons[i]);
}

void TForm::FocusFirstTabStop()
{
    if (focusWidget() != nullptr)
        return;
    for (TButton* button : ButtonsInTabOrder()) {
        if (button->isVisibleTo(this) && button->isEnabled()) {
            button->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((enter || escape) && plain && !event->isAutoRepeat()) {
        for (TButton* button : findChildren<TButton*>()) {
            if (button->isVisibleTo(this) && button->isEnabled() && (enter ? button->Default() : button->Cancel())) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace vandora
