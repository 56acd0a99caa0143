#pragma once
// A top-level window created from its persisted description.
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"

#include <QList>
#include <QWidget>
#include <string>

namespace vandora {

class TButton;

enum TPosition : std::uint8_t { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                                poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

using TCloseEvent = TEvent<TObject*, TCloseAction&>;

class TForm : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    const char* ClassName() const override { return "TForm"; }

    std::string Caption() const { return windowTitle().toStdString(); }
    void SetCaption(const std::string& value) { setWindowTitle(QString::fromStdString(value)); }
    int Left() const { return left_; }
    void SetLeft(int value);
    int Top() const { return top_; }
    void SetTop(int value);
    int ClientWidth() const { return width(); }
    void SetClientWidth(int value) { resize(value, height()); }
    int ClientHeight() const { return height(); }
    void SetClientHeight(int value) { resize(width(), value); }
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    // The resolution the form was designed at; kept so that the form saves back as read.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;

    // Runs OnCreate: once, after the form and its controls have been read.
    void DoCreate() { OnCreate(this); }
    // Orders its controls' tab order once the form has been read.
    void Loaded() override;
    // Chains the form's buttons for Tab by their TabOrder.
    void ApplyTabOrder();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    // OnClose decides: caNone keeps the window open, caMinimize minimises it instead,
    // caHide closes it, and caFree closes it and deletes it afterwards (a form made with
    // new only, as for Qt::WA_DeleteOnClose).
    void closeEvent(QCloseEvent* event) override;
    // Enter presses the form's default button and Esc its cancel button, unless the
    // control with the focus takes the key itself (a focused button takes Enter).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyFont();
    // The window's colour and its font's, system colours resolved in the current palette.
    void ApplyColors();
    QList<TButton*> ButtonsInTabOrder() const;
    // On the first show, the focus goes to the first button in tab order.
    void FocusFirstTabStop();

    int left_ = 0;
    int top_ = 0;
    TColor color_ = clBtnFace;
    TFont font_;
    TPosition position_ = poDefaultPosOnly;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    bool shownOnce_ = false;
};

} // namespace vandora
