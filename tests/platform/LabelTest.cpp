// TLabel: fitting to its text, following its form's font, and clicks.
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/LineBox.h"
#include "platform/StandardClasses.h"
#include "platform/StreamForm.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <limits>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>

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
    EXPECT_EQ(label->height(), DesignedLineBox(label->font()).Height());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));

    // Its Font holds the form's: making it bold keeps the form's face and size.
    EXPECT_EQ(label->Font().Height(), -21);
    EXPECT_EQ(label->Font().Name(), form.Font().Name());
    form.Font().SetCharset(0);
    label->Font().SetStyle(fsBold);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_EQ(label->font().pixelSize(), 21);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue)) << "and its colour";
    EXPECT_EQ(label->Font().Charset(), 0);
    label->Font().SetColor(clRed);
    label->SetParentFont(true);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue)) << "back on the form's colour";

    // A font of its own ends the link; the form's next change leaves it alone.
    label->Font().SetHeight(-11);
    form.Font().SetHeight(-30);
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_EQ(label->height(), DesignedLineBox(label->font()).Height());
}

// Without AutoSize a label keeps the size it was given; turning it back on fits at once.
// A whole font assigned to it is one change: the label leaves its form's font and refits.
TEST(LabelTest, AutoSizeOffKeepsTheGivenSizeAndAnAssignedFontIsTheLabelsOwn)
{
    TForm form;
    auto* label = new TLabel(&form);
    label->Loaded();
    label->SetAutoSize(false);
    label->resize(40, 30);
    label->SetCaption("A much longer caption than forty pixels");
    EXPECT_EQ(label->size(), QSize(40, 30));
    label->SetAutoSize(true);
    EXPECT_GT(label->width(), 40);
    EXPECT_EQ(label->height(), DesignedLineBox(label->font()).Height());

    TFont large;
    large.SetName(form.Font().Name());
    large.SetHeight(-24);
    large.SetColor(clRed);
    const int before = label->width();
    label->Font().Assign(large);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_EQ(label->font().pixelSize(), 24);
    EXPECT_GT(label->width(), before);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    form.Font().SetHeight(-9);
    EXPECT_EQ(label->font().pixelSize(), 24);

    // A label made without a parent takes the form's values once it is put on the form.
    auto* later = new TLabel;
    later->setParent(&form);
    EXPECT_TRUE(later->ParentFont());
    EXPECT_EQ(later->Font().Height(), -9);
}

// Saved and read back, a label on its form's font still follows the form: it writes no
// font, since a font read into it would end the link. One with its own font keeps it.
TEST(LabelTest, ALabelOnItsFormsFontIsSavedWithoutAFontAndStillFollowsTheFormWhenReadBack)
{
    RegisterStandardClasses();
    TForm form;
    form.SetName("Form1");
    auto* follows = new TLabel(&form);
    follows->SetName("Label1");
    follows->SetCaption("Demo");
    form.InsertComponent(follows);
    auto* own = new TLabel(&form);
    own->SetName("Label2");
    own->Font().SetHeight(-21);
    form.InsertComponent(own);
    auto* fixed = new TLabel(&form); // a size of its own, kept when read back
    fixed->SetName("Label3");
    fixed->Loaded();
    fixed->SetAutoSize(false);
    fixed->resize(40, 30);
    fixed->SetCaption("A caption far wider than forty pixels");
    form.InsertComponent(fixed);

    const std::string text = WriteFormText(form);
    const auto label2 = text.find("object Label2");
    ASSERT_NE(label2, std::string::npos);
    EXPECT_EQ(text.substr(text.find("object Label1"), label2 - text.find("object Label1")).find("Font."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Font.Height = -21", label2), std::string::npos) << text;

    const std::unique_ptr<TComponent> read = ReadForm(QByteArray::fromStdString(text));
    auto& again = dynamic_cast<TForm&>(*read);
    EXPECT_TRUE(dynamic_cast<TLabel&>(*again.FindComponent("Label1")).ParentFont());
    EXPECT_FALSE(dynamic_cast<TLabel&>(*again.FindComponent("Label2")).ParentFont());
    const auto& fixedAgain = dynamic_cast<TLabel&>(*again.FindComponent("Label3"));
    EXPECT_FALSE(fixedAgain.AutoSize());
    EXPECT_EQ(fixedAgain.size(), QSize(40, 30));
    EXPECT_TRUE(dynamic_cast<TLabel&>(*again.FindComponent("Label1")).AutoSize());
    EXPECT_EQ(WriteFormText(again), text);
    again.Font().SetHeight(-30);
    EXPECT_EQ(dynamic_cast<TLabel&>(*again.FindComponent("Label1")).font().pixelSize(), 30);
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
    EXPECT_EQ(label.height(), DesignedLineBox(label.font()).Height());
    EXPECT_EQ(label.width(), m.horizontalAdvance(QStringLiteral("One line")));
}

// The metric-compatible Tahoma asks for its smaller typographic heights; the forms were
// designed with its Windows ones: 13 pixels at 11, 25 at 21, the baseline 11 and 21 down.
TEST(LabelTest, TahomaLabelsAreAsHighAsDesignedAndAccentedCapitalsShowWhole)
{
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine is not installed";
    for (const auto& [px, designed] : {std::pair{11, 13}, std::pair{21, 25}}) {
        TLabel label;
        label.Font().SetHeight(-px);
        label.SetCaption("\xc3\x89" "cole");
        EXPECT_EQ(label.height(), designed) << px << " pixels";
        const int baseline = label.contentsMargins().top() + QFontMetrics(label.font()).ascent();
        EXPECT_EQ(baseline, px) << px << " pixels";

        // The text laid out as the label lays it out, with room above: no ink above its top.
        constexpr int room = 8;
        QImage tall(label.width(), label.height() + room, QImage::Format_RGB32);
        tall.fill(Qt::white);
        {
            QPainter painter(&tall);
            painter.setFont(label.font());
            painter.drawText(label.contentsRect().translated(0, room), Qt::AlignLeft | Qt::AlignTop, label.text());
        }
        int inkTop = -1;
        for (int y = 0; y < tall.height() && inkTop < 0; ++y)
            for (int x = 0; x < tall.width() && inkTop < 0; ++x)
                if (tall.pixel(x, y) != qRgb(255, 255, 255))
                    inkTop = y;
        EXPECT_GE(inkTop, room) << px << " pixels: the accent starts above the label";

        // Lowered to the designed baseline, several lines still fit whole.
        label.SetCaption("One\r\nTwo");
        const QFontMetrics m(label.font());
        EXPECT_GE(label.height(), label.contentsMargins().top() + m.height() + m.lineSpacing()) << px << " pixels";
    }
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
    QTest::mousePress(&label, Qt::RightButton, {}, inside);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks, 2) << "a left release after a right press";
}

// A font height is the characters' (negative) or the whole cell's, internal leading
// included (positive): the same number gives smaller characters when positive. Any
// stored height, down to the smallest int, gives a usable font.
TEST(LabelTest, APositiveFontHeightIsTheCellAndAnyHeightGivesAFont)
{
    TFont character;
    character.SetName("DejaVu Sans");
    character.SetHeight(-13);
    TFont cell;
    cell.Assign(character);
    cell.SetHeight(13);
    EXPECT_EQ(character.ToQFont().pixelSize(), 13);
    EXPECT_LT(cell.ToQFont().pixelSize(), 13);
    EXPECT_GT(cell.ToQFont().pixelSize(), 8);
    cell.SetHeight(std::numeric_limits<int>::min());
    EXPECT_GE(cell.ToQFont().pixelSize(), 1);
    // Each style bit reaches the font, alone.
    const std::pair<TFontStyles, bool (QFont::*)() const> styles[] = {
        {fsBold, &QFont::bold}, {fsItalic, &QFont::italic}, {fsUnderline, &QFont::underline},
        {fsStrikeOut, &QFont::strikeOut}};
    for (const auto& [style, has] : styles) {
        character.SetStyle(style);
        for (const auto& [other, otherHas] : styles)
            EXPECT_EQ((character.ToQFont().*otherHas)(), other == style) << int(style) << " asked " << int(other);
    }
}
