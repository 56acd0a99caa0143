#pragma once
// A static text that sizes itself to its caption.
#include "platform/Component.h"
#include "platform/CustomControl.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/WidgetBounds.h"

#include <QLabel>
#include <string>

namespace vandora {

class TLabel : public QLabel, public TComponent, public TWidgetBounds<TLabel> {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);
    ~TLabel() override;

    const char* ClassName() const override { return "TLabel"; }

    std::string Caption() const { return text().toStdString(); }
    void SetCaption(const std::string& value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    TNotifyEvent OnClick;

    // Fits the label to its text once, after the form holding it has been read.
    void Loaded() override;
    // Told by its form when the form's font changed: a label on it takes the new values.
    void ParentFontChanged() { TakeParentFont(); }
    // Told by its form when the desktop's palette changed: a system colour is looked up again.
    void SystemColorsChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyFont();
    // Its font's colour, a system colour resolved in the current palette.
    void ApplyColor();
    void FitToText();
    void TakeParentFont();

    TFont font_;
    bool parentFont_ = true;
    bool takingParentFont_ = false;
    bool autoSize_ = true;
    bool pressed_ = false;
    TCursor cursor_ = crDefault;
};

} // namespace vandora
