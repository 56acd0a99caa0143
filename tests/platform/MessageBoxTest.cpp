// The message box: what the default box looks like, and the seam.
#include "TestDoubles.h"

#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QTest>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TRecordingMessageBox;

TEST(MessageBoxTest, TheBoxHasTheCaptionTheTextOneOkAndNoIcon)
{
    const auto box = CreateMessageBox("Vandora", "You scored 30 out of 34.\r\nWell done!");
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Vandora"));
    EXPECT_EQ(box->text(), QStringLiteral("You scored 30 out of 34.\nWell done!"));
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), QStringLiteral("OK"));
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

// The button says "OK" whatever language Qt's own texts are translated to.
TEST(MessageBoxTest, TheButtonSaysOkUnderATranslation)
{
    class TTranslatedOk final : public QTranslator {
    public:
        QString translate(const char*, const char* source, const char*, int) const override
        {
            return QByteArray(source) == "OK" || QByteArray(source) == "&OK" ? QStringLiteral("D'accord") : QString();
        }
        bool isEmpty() const override { return false; }
    } translated;
    QCoreApplication::installTranslator(&translated);
    QMessageBox plain(QMessageBox::NoIcon, "T", "t", QMessageBox::Ok);
    const QString qtsOwn = plain.button(QMessageBox::Ok)->text();
    const auto box = CreateMessageBox("T", "t");
    QCoreApplication::removeTranslator(&translated);
    ASSERT_EQ(qtsOwn, QStringLiteral("D'accord")) << "the translation is not Qt's";
    EXPECT_EQ(box->buttons()[0]->text(), QStringLiteral("OK"));
}

TEST(MessageBoxTest, LoneLineFeedsAndCarriageReturnsBreakLinesToo)
{
    EXPECT_EQ(CreateMessageBox("T", "a\nb\rc")->text(), QStringLiteral("a\nb\nc"));
}

TEST(MessageBoxTest, TheErrorBoxShowsTheErrorWithOneOk)
{
    const auto box = CreateMessageBox("Vandora", "List index out of bounds (3)", true);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Vandora"));
    EXPECT_EQ(box->text(), QStringLiteral("List index out of bounds (3)"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->buttons().size(), 1);
}

TEST(MessageBoxTest, OnlyAFreshEnterClosesTheBoxNotOneHeldFromBefore)
{
    const auto box = CreateMessageBox("Vandora", "Correct country selected!");
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    QWidget* focus = box->focusWidget() ? box->focusWidget() : box.get();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(focus, &held);
        EXPECT_TRUE(box->isVisible()) << key;
    }
    QKeyEvent fresh(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &fresh);
    EXPECT_FALSE(box->isVisible());
}

TEST(MessageBoxTest, CenteredOnTheScreen)
{
    const auto box = CreateMessageBox("Vandora", "Hello");
    box->adjustSize();
    CenterOnScreen(*box);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = box->frameGeometry().center() - area.center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
}

TEST(MessageBoxTest, ShowMessageGoesThroughTheSeamWithTheTitle)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    ShowMessage("Correct country selected!");
    ShowErrorMessage("Broken");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, ApplicationTitle());
    EXPECT_EQ(boxes.boxes[0].text, "Correct country selected!");
    EXPECT_FALSE(boxes.boxes[0].error);
    EXPECT_EQ(boxes.boxes[1].caption, ApplicationTitle());
    EXPECT_TRUE(boxes.boxes[1].error);
}

TEST(MessageBoxTest, SetServiceReturnsThePreviousAndNullRestoresTheDefault)
{
    TRecordingMessageBox a;
    TRecordingMessageBox b;
    IMessageBoxService* original = SetMessageBoxService(&a);
    EXPECT_EQ(&MessageBoxService(), &a);
    EXPECT_EQ(SetMessageBoxService(&b), &a);
    SetMessageBoxService(nullptr);
    EXPECT_NE(&MessageBoxService(), &a);
    EXPECT_NE(&MessageBoxService(), &b);
    SetMessageBoxService(original);
}

TEST(MessageBoxTest, TheDefaultServiceShowsAModalBoxUntilOkIsPressed)
{
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, nullptr); // the real box
    QString title;
    QString text;
    int buttons = 0;
    bool centred = false;
    bool wasModal = false;
    // Presses OK on the box as soon as it is shown (retrying until it is).
    QTimer presser;
    presser.setInterval(1);
    QObject::connect(&presser, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        wasModal = box->isModal();
        const QRect area = box->screen()->availableGeometry();
        const QPoint offset = box->frameGeometry().center() - area.center();
        centred = std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
        presser.stop();
        box->button(QMessageBox::Ok)->click();
    });
    presser.start();
    ShowMessage("Line one\r\nLine two");
    EXPECT_EQ(title, QString::fromStdString(ApplicationTitle()));
    EXPECT_EQ(text, QStringLiteral("Line one\nLine two"));
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(centred);
}
