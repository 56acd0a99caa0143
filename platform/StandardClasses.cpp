// The published tables of the framework's window classes, in their stored order.
#include "platform/StandardClasses.h"

#include "platform/Button.h"
#include "platform/ClassBuilder.h"
#include "platform/CustomControl.h"
#include "platform/Font.h"
#include "platform/Form.h"
#include "platform/Label.h"

namespace vandora {

namespace {

template <class T>
auto FontOf()
{
    return [](T& owner) -> TFont& { return owner.Font(); };
}

void RegisterFont()
{
    TClassBuilder<TFont>("TFont")
        .Enum("Charset", &TFont::Charset, &TFont::SetCharset, {"ANSI_CHARSET", "DEFAULT_CHARSET", "SYMBOL_CHARSET"})
        .Color("Color", &TFont::Color, &TFont::SetColor)
        .Integer("Height", &TFont::Height, &TFont::SetHeight)
        .String("Name", &TFont::Name, &TFont::SetName)
        .Set("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
        .Register();
}

void RegisterCustomControl()
{
    TClassBuilder<TCustomControl>("TCustomControl")
        .Integer("Left", &TCustomControl::Left, &TCustomControl::SetLeft)
        .Integer("Top", &TCustomControl::Top, &TCustomControl::SetTop)
        .Integer("Width", &TCustomControl::Width, &TCustomControl::SetWidth)
        .Integer("Height", &TCustomControl::Height, &TCustomControl::SetHeight)
        .Cursor("Cursor", &TCustomControl::Cursor, &TCustomControl::SetCursor, Default(crDefault))
        .String("Hint", &TCustomControl::Hint, &TCustomControl::SetHint)
        .Register();
}

void RegisterForm()
{
    TClassBuilder<TForm>("TForm")
        .Integer("Left", &TForm::Left, &TForm::SetLeft)
        .Integer("Top", &TForm::Top, &TForm::SetTop)
        .String("Caption", &TForm::Caption, &TForm::SetCaption)
        .Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
        .Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
        .Color("Color", &TForm::Color, &TForm::SetColor)
        .Object("Font", FontOf<TForm>())
        .Enum("Position", &TForm::Position, &TForm::SetPosition,
              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"})
        .Integer("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
        .Integer("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight)
        .Event("OnClose", &TForm::OnClose)
        .Event("OnCreate", &TForm::OnCreate)
        .Register();
}

void RegisterLabel()
{
    TClassBuilder<TLabel>("TLabel")
        .Integer("Left", &TLabel::Left, &TLabel::SetLeft)
        .Integer("Top", &TLabel::Top, &TLabel::SetTop)
        .Integer("Width", &TLabel::Width, &TLabel::SetWidth)
        .Integer("Height", &TLabel::Height, &TLabel::SetHeight)
        .Cursor("Cursor", &TLabel::Cursor, &TLabel::SetCursor, Default(crDefault))
        .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, Default(true))
        .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
        // A label on its form's font writes none of its own: read back, a font would
        // turn ParentFont off and the label would stop following the form.
        .Object("Font", FontOf<TLabel>(), [](const TLabel& label) { return !label.ParentFont(); })
        .Boolean("ParentFont", &TLabel::ParentFont, &TLabel::SetParentFont, Default(true))
        .Event("OnClick", &TLabel::OnClick)
        .Register();
}

void RegisterButton()
{
    TClassBuilder<TButton>("TButton")
        .Integer("Left", &TButton::Left, &TButton::SetLeft)
        .Integer("Top", &TButton::Top, &TButton::SetTop)
        .Integer("Width", &TButton::Width, &TButton::SetWidth)
        .Integer("Height", &TButton::Height, &TButton::SetHeight)
        .String("Caption", &TButton::Caption, &TButton::SetCaption)
        .Boolean("Default", &TButton::Default, &TButton::SetDefault, Default(false))
        .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, Default(false))
        .Integer("TabOrder", &TButton::TabOrder, &TButton::SetTabOrder, Default(0))
        .Event("OnClick", &TButton::OnClick)
        .Register();
}

} // namespace

void RegisterStandardClasses()
{
    static const bool registered = [] {
        RegisterFont();
        RegisterCustomControl();
        RegisterForm();
        RegisterLabel();
        RegisterButton();
        return true;
    }();
    (void)registered;
}

} // namespace vandora
