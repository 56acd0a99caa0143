// TLabel: fitting to its text, following its form's font, and clicks.
#include "platform/Form.h"
#include "platform/Label.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace vandora;

TEST(LabelTest, ALabelOnItsFormsFontFollowsLaterChangesOfItAndRefits)
{
    TForm form;
    auto* label = new TLabel(&form);
    label->SetCaption("Score:");
    label->Loaded(); // as after reading the form
    const QSize before = label->size();

    form.Font().SetHeight(-21);
    form.Font().SetColor(clBlue);
    EXPECT_EQ(label->font().pixelSize(), 21);
    EXPECT_GT(label->width(), before.width());
    EXPECT_EQ(label->height(), QFontMetrics(label->font()).height());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));

    // A font of its own ends the link; the form's next change leaves it alone.
    label->Font().SetHeight(-11);
    form.Font().SetHeight(-30);
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_EQ(label->height(), QFontMetrics(label->font()).height());
}

TEST(LabelTest, ACaptionOfSeveralLinesSizesTheLabelToThemAll)
{
    TLabel label;
    label.SetCaption("Game over.\r\nYour score is 34/34");
    const QFontMetrics m(label.font());
    EXPECT_GE(label.height(), m.height() + m.lineSpacing() - m.leading());
    EXPECT_GE(label.width(), m.horizontalAdvance(QStringLiteral("Your score is 34/34")));
    EXPECT_LT(label.width(), m.horizontalAdvance(QStringLiteral("Game over.Your score is 34/34")));
    EXPECT_EQ(label.Caption(), "Game over.\r\nYour score is 34/34");

    label.SetCaption("One line");
    EXPECT_EQ(label.height(), m.height());
    EXPECT_EQ(label.width(), m.horizontalAdvance(QStringLiteral("One line")));
}

TEST(LabelTest, AClickIsAPressAndAReleaseOnTheLabelAndADoubleClickIsOne)
{
    TLabel label;
    label.SetCaption("vandora.example.org");
    int clicks = 0;
    label.OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    const QPoint inside(3, 3);

    QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks, 1);
    // A double click as the window system sends it: press, release, double click, release.
    QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(inside), label.mapToGlobal(QPointF(inside)),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&label, &second);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks, 2);
    QTest::mousePress(&label, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(label.width() + 5, 3));
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(&label, Qt::RightButton, {}, inside);
    EXPECT_EQ(clicks, 2);
}
