#include "platform/Label.h"

#include "platform/Form.h"
#include "platform/LineBox.h"

#include <QMouseEvent>
#include <QScopedValueRollback>

namespace vandora {

TLabel::TLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setIndent(0);
    setMargin(0);
    font_.SetOnChange([this] {
        if (takingParentFont_)
            return;
        parentFont_ = false;
        ApplyFont();
    });
    TakeParentFont();
}

void TLabel::TakeParentFont()
{
    // On its form's font the label's own Font holds the same values, so that changing one
    // of them (bold, say) keeps the others.
    const auto* form = dynamic_cast<const TForm*>(parentWidget());
    if (!parentFont_ || form == nullptr)
        return;
    const QScopedValueRollback taking(takingParentFont_, true);
    font_.Assign(form->Font());
}

TLabel::~TLabel()
{
    font_.SetOnChange({});
}

void TLabel::SetCaption(const std::string& value)
{
    setText(QString::fromStdString(value));
    FitToText();
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    FitToText();
}

void TLabel::SetParentFont(bool value)
{
    parentFont_ = value;
    TakeParentFont();
    ApplyFont();
}

void TLabel::SetCursor(TCursor value)
{
    cursor_ = value;
    setCursor(CursorShape(value));
}

void TLabel::ApplyFont()
{
    if (IsLoading())
        return;
    if (parentFont_) {
        // Unset, so that Qt passes the parent's font and colours on, now and on every change.
        setFont(QFont());
        setPalette(QPalette());
    } else {
        setFont(font_.ToQFont());
        ApplyColor();
    }
    FitToText();
}

void TLabel::SystemColorsChanged()
{
    // On its form's font the label takes the form's colour as Qt passes it on.
    if (!parentFont_ && !IsLoading())
        ApplyColor();
}

void TLabel::ApplyColor()
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColorToQColor(font_.Color()));
    setPalette(p);
}

void TLabel::Loaded()
{
    TComponent::Loaded();
    ApplyFont();
}

void TLabel::FitToText()
{
    // The label keeps its left and top edges and takes the size of its text. While its form
    // is read, font and caption arrive one property at a time: it is fitted once at the end.
    if (IsLoading())
        return;
    const QFontMetrics metrics(font());
    const TLineBox line = DesignedLineBox(font());
    // The baseline where the form's designer saw it, however Qt measures the font.
    const int inset = std::max(0, line.ascent - metrics.ascent());
    setContentsMargins(0, inset, 0, 0);
    if (!autoSize_)
        return;
    QString shown = text();
    if (!shown.contains(QLatin1Char('\n'))) {
        // An empty caption is measured as one space, so that an empty label keeps the
        // width its form was designed with.
        const int w = metrics.horizontalAdvance(shown.isEmpty() ? QStringLiteral(" ") : shown);
        resize(std::max(w, 1), line.Height());
        return;
    }
    // Captions break lines with CR LF; the label shows one line per line feed.
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QSize lines = metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, shown).size();
    resize(std::max(lines.width(), 1), inset + lines.height());
}

void TLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::ParentChange)
        TakeParentFont();
    if (event->type() == QEvent::FontChange)
        FitToText(); // the form itself passes its font's values on (ParentFontChanged)
}

void TLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is not a second click: a link opens once.
    event->accept();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        OnClick(this);
}

} // namespace vandora
