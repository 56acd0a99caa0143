// TForm with TButton: the keyboard (Tab order, Enter, Esc) and what OnClose decides.
#include "TestDoubles.h"

#include "platform/Button.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/StandardClasses.h"
#include "platform/StreamForm.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TRecordingMessageBox;

namespace {

struct TClickCount {
    int count = 0;
    explicit TClickCount(TButton& button)
    {
        button.OnClick = TNotifyEvent([this](TObject*) { ++count; });
    }
};

void SendKey(QWidget& target, int key, bool autoRepeat = false, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
    QCoreApplication::sendEvent(&target, &press);
}

} // namespace

TEST(FormKeyboardTest, TabVisitsTheButtonsByTabOrderOnceReadAndAfterEachChange)
{
    TForm form;
    auto* second = new TButton(&form);
    auto* first = new TButton(&form);
    auto* third = new TButton(&form);
    // The button Tab moves on to (the chain is a ring through the window).
    const auto next = [&form](QWidget* w) {
        w = w->nextInFocusChain();
        return w == &form ? w->nextInFocusChain() : w;
    };
    for (TButton* b : {second, first, third})
        b->SetComponentState(csLoading, true); // as while the form is read
    second->SetTabOrder(1);
    first->SetTabOrder(0);
    third->SetTabOrder(2);
    EXPECT_EQ(next(second), first); // creation order until the form has been read
    form.Loaded();
    for (TButton* b : {second, first, third})
        b->Loaded();
    EXPECT_EQ(next(first), second);
    EXPECT_EQ(next(second), third);
    EXPECT_EQ(next(third), first);

    third->SetTabOrder(0); // equal to first's: the one created first comes first
    EXPECT_EQ(next(first), third);
    EXPECT_EQ(next(third), second);

    // The first show gives the focus to the first enabled button in tab order.
    first->setEnabled(false);
    form.show();
    EXPECT_EQ(form.focusWidget(), third);

    // Unless a control was given it before.
    TForm other;
    auto* a = new TButton(&other);
    auto* b = new TButton(&other);
    a->SetTabOrder(0);
    b->SetTabOrder(1);
    b->setFocus();
    other.show();
    EXPECT_EQ(other.focusWidget(), b);
}

// A centred form is centred when first shown; shown again, it stays where it was moved.
// One placed as designed is where its Left and Top put it.
TEST(FormTest, ACentredFormIsCentredOnItsFirstShowOnly)
{
    TForm designed;
    designed.SetPosition(poDesigned);
    designed.SetLeft(10);
    designed.SetTop(20);
    designed.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designed));
    EXPECT_EQ(designed.pos(), QPoint(10, 20));

    TForm centred;
    centred.SetPosition(poScreenCenter);
    centred.SetLeft(10);
    centred.SetTop(20);
    centred.SetClientWidth(200);
    centred.SetClientHeight(100);
    centred.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&centred));
    EXPECT_EQ(centred.frameGeometry().center(), centred.screen()->availableGeometry().center());
    centred.move(30, 40);
    centred.hide();
    centred.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&centred));
    EXPECT_EQ(centred.pos(), QPoint(30, 40));
}

// A form taller or wider than the screen (a large scale factor on a small screen) starts at
// the screen's top or left edge, so that its top and its first controls can be reached.
TEST(FormTest, ACentredFormLargerThanTheScreenKeepsItsTopLeftOnIt)
{
    TForm tall;
    tall.SetPosition(poScreenCenter);
    const QRect available = tall.screen()->availableGeometry();
    tall.SetClientWidth(200);
    tall.SetClientHeight(available.height() + 100);
    tall.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tall));
    EXPECT_EQ(tall.frameGeometry().top(), available.top());
    EXPECT_EQ(tall.frameGeometry().center().x(), available.center().x()) << "still centred across";

    TForm wide;
    wide.SetPosition(poDesktopCenter);
    wide.SetClientWidth(available.width() + 100);
    wide.SetClientHeight(100);
    wide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wide));
    EXPECT_EQ(wide.frameGeometry().left(), available.left());
    EXPECT_EQ(wide.frameGeometry().center().y(), available.center().y());
}

TEST(FormKeyboardTest, EnterPressesTheDefaultButtonAndEscTheCancelButtonUnlessAButtonHasTheFocus)
{
    TForm form;
    auto* ok = new TButton(&form);
    auto* cancel = new TButton(&form);
    auto* other = new TButton(&form);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    TClickCount okClicks(*ok), cancelClicks(*cancel), otherClicks(*other);

    SendKey(form, Qt::Key_Return);
    SendKey(form, Qt::Key_Enter, false, Qt::KeypadModifier);
    SendKey(form, Qt::Key_Escape);
    EXPECT_EQ(okClicks.count, 2);
    EXPECT_EQ(cancelClicks.count, 1);

    // A held key, a key with Ctrl, a disabled or hidden default button: nothing.
    SendKey(form, Qt::Key_Return, true);
    SendKey(form, Qt::Key_Return, false, Qt::ControlModifier);
    ok->setEnabled(false);
    SendKey(form, Qt::Key_Return);
    ok->setEnabled(true);
    ok->setVisible(false);
    SendKey(form, Qt::Key_Return);
    EXPECT_EQ(okClicks.count, 2);

    // The focused button takes Enter itself, once per press; Esc still reaches the form.
    SendKey(*other, Qt::Key_Return);
    SendKey(*other, Qt::Key_Return, true);
    SendKey(*other, Qt::Key_Escape);
    EXPECT_EQ(otherClicks.count, 1);
    EXPECT_EQ(cancelClicks.count, 2);
    EXPECT_EQ(okClicks.count, 2);
}

TEST(FormCloseTest, OnCloseKeepsMinimisesHidesOrFreesTheWindow)
{
    auto* form = new TForm;
    const QPointer<TForm> alive(form);
    TCloseAction next = caNone;
    int asked = 0;
    form->OnClose = TCloseEvent([&](TObject*, TCloseAction& action) {
        ++asked;
        EXPECT_EQ(action, caHide); // what happens unless the handler says otherwise
        action = next;
    });
    form->show();

    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    next = caMinimize;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    next = caHide;
    form->showNormal();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(alive.isNull());

    form->show();
    next = caFree;
    EXPECT_TRUE(form->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(asked, 4);
    delete alive.data();
}

// A form may store any position: it keeps it, and its window is held where Qt's
// rectangles can keep it.
TEST(FormTest, APositionAtTheEndsOfTheRangeIsKeptAndTheWindowHeldWithinReach)
{
    TForm form;
    form.SetLeft(INT_MAX);
    form.SetTop(INT_MIN);
    form.SetClientHeight(300);
    EXPECT_EQ(form.Left(), INT_MAX);
    EXPECT_EQ(form.Top(), INT_MIN);
    EXPECT_EQ(form.pos(), QPoint(1 << 30, -(1 << 30)));
    EXPECT_EQ(form.ClientHeight(), 300);
    EXPECT_GT(form.ClientWidth(), 0);
}

TEST(FormCloseTest, AnOnCloseThatFailsKeepsTheWindowAndIsReported)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    TForm form;
    form.OnClose = TCloseEvent([](TObject*, TCloseAction&) { throw EListError("List index out of bounds (3)"); });
    form.show();
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].error);
    EXPECT_EQ(boxes.boxes[0].text, "List index out of bounds (3)");
}

// The window classes' published values: each is read into its own property, and written
// only when it differs from its declared default.
TEST(FormTest, EachWindowPropertyIsReadIntoItsOwnValueAndDefaultsAreLeftOut)
{
    RegisterStandardClasses();
    const std::unique_ptr<TComponent> read = ReadForm(QByteArray("object F: TForm\n"
                                                                 "  Left = 10\n"
                                                                 "  Top = 20\n"
                                                                 "  Position = poDesktopCenter\n"
                                                                 "  Font.Charset = DEFAULT_CHARSET\n"
                                                                 "  object L: TLabel\n"
                                                                 "    Cursor = crHandPoint\n"
                                                                 "  end\n"
                                                                 "  object B: TButton\n"
                                                                 "    Default = True\n"
                                                                 "  end\n"
                                                                 "end\n"));
    auto& form = dynamic_cast<TForm&>(*read);
    EXPECT_EQ(form.Left(), 10);
    EXPECT_EQ(form.Top(), 20);
    EXPECT_EQ(form.Position(), poDesktopCenter);
    EXPECT_EQ(form.Font().Charset(), 1); // DEFAULT_CHARSET
    const auto* label = dynamic_cast<TLabel*>(form.FindComponent("L"));
    const auto* button = dynamic_cast<TButton*>(form.FindComponent("B"));
    ASSERT_TRUE(label && button);
    EXPECT_EQ(label->Cursor(), crHandPoint);
    EXPECT_TRUE(button->Default());
    EXPECT_FALSE(button->Cancel());

    TForm plain;
    plain.SetName("P");
    auto* usual = new TLabel(&plain);
    usual->SetName("L");
    plain.InsertComponent(usual);
    auto* link = new TLabel(&plain);
    link->SetName("H");
    link->SetCursor(crHandPoint);
    plain.InsertComponent(link);
    auto* start = new TButton(&plain);
    start->SetName("B");
    plain.InsertComponent(start);
    const std::string text = WriteFormText(plain);
    for (const char* omitted : {"ParentFont = ", "Cancel = ", "Default = ", "TabOrder = ", "Cursor = crDefault"})
        EXPECT_EQ(text.find(omitted), std::string::npos) << omitted << "\n" << text;
    EXPECT_NE(text.find("Cursor = crHandPoint"), std::string::npos) << text;
}

// A desktop that switches its colour scheme while the program runs hands Qt a new palette:
// system colours follow it, fixed ones stay, on the form and on its labels alike.
TEST(FormTest, SystemColoursFollowTheDesktopsPaletteWhenItChanges)
{
    const QPalette before = QGuiApplication::palette();
    TForm form;
    TLabel* own = new TLabel(&form);
    own->Font().SetColor(clWindowText);
    TLabel* fixed = new TLabel(&form);
    fixed->Font().SetColor(clBlue);
    TLabel* inherits = new TLabel(&form);
    TForm fixedForm;
    fixedForm.SetColor(clYellow);
    // A form placed inside another window gets no palette event of its own from Qt.
    TForm* nested = new TForm(&form);
    TLabel* nestedLabel = new TLabel(nested);
    nestedLabel->Font().SetColor(clWindowText);

    QPalette dark = before;
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents(); // Qt passes the change on at the next turn
    const QColor face = form.palette().color(QPalette::Window);
    const QColor formText = form.palette().color(QPalette::WindowText);
    const QColor ownText = own->palette().color(QPalette::WindowText);
    const QColor inheritedText = inherits->palette().color(QPalette::WindowText);
    const QColor fixedText = fixed->palette().color(QPalette::WindowText);
    const QColor fixedFace = fixedForm.palette().color(QPalette::Window);
    const QColor nestedFace = nested->palette().color(QPalette::Window);
    const QColor nestedLabelText = nestedLabel->palette().color(QPalette::WindowText);
    QApplication::setPalette(before);
    QCoreApplication::processEvents();

    EXPECT_EQ(face, QColor(0x30, 0x30, 0x30)) << "the button face";
    EXPECT_EQ(formText, QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(ownText, QColor(0xEE, 0xEE, 0xEE)) << "a label's own clWindowText";
    EXPECT_EQ(inheritedText, QColor(0xEE, 0xEE, 0xEE)) << "a label on its form's font";
    EXPECT_EQ(fixedText, QColor(Qt::blue));
    EXPECT_EQ(fixedFace, QColor(Qt::yellow));
    EXPECT_EQ(nestedFace, QColor(0x30, 0x30, 0x30)) << "a form inside the window";
    EXPECT_EQ(nestedLabelText, QColor(0xEE, 0xEE, 0xEE)) << "a label on that form";
    EXPECT_EQ(form.palette().color(QPalette::Window), before.color(QPalette::Button)) << "and back";
}

// Assistive technology finds the program's window as a window, named by its caption.
TEST(FormTest, AssistiveTechnologySeesAWindowNamedByItsCaption)
{
    TForm form;
    form.SetCaption("Quiz");
    TLabel* label = new TLabel(&form);
    label->SetCaption("Score:");
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Quiz");
    ASSERT_EQ(window->childCount(), 1);
    EXPECT_EQ(window->child(0)->text(QAccessible::Name), "Score:");
    // A form placed inside another window is a part of it, as any widget is.
    TForm outer;
    TForm* inner = new TForm(&outer);
    EXPECT_NE(QAccessible::queryAccessibleInterface(inner)->role(), QAccessible::Window);
}
