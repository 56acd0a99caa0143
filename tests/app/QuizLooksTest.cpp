// What the player sees on the real map, pixel by pixel, in the quiz's configuration.
#include "app/Unit2.h"
#include "hotspot/Morvane.h"
#include "platform/TestDoubles.h"
#include "platform/Button.h"
#include "quiz/QuizGame.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace vandora;
using namespace vandora::test;

namespace {

class QuizLooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm2>();
        form->Game().Random().SetState(0); // first question: Norway
        map = form->Morvane1;
        map->Repaint();
    }

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::NoButton)
    {
        QMouseEvent event(type, QPointF(p), map->mapToGlobal(QPointF(p)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
        QCoreApplication::sendEvent(map, &event);
    }
    QRgb At(QPoint p) const { return map->Surface().pixel(p) | 0xFF000000u; }
    static QRgb Rgb(TColor c) { return ColorToRgb(c) | 0xFF000000u; }
    // The deepest point of a country that the search gives to it.
    QPoint Deep(int index)
    {
        const THotSpot* h = map->HotSpots().Item(index);
        QPoint best;
        int bestDepth = -1;
        for (int y = h->Y(); y <= h->Bottom(); ++y)
            for (int x = h->X(); x <= h->Right(); ++x) {
                int d = 0;
                while (d < 8 && map->HotSpotAt(x - d, y) == index && map->HotSpotAt(x + d, y) == index &&
                       map->HotSpotAt(x, y - d) == index && map->HotSpotAt(x, y + d) == index)
                    ++d;
                if (d > bestDepth) {
                    bestDepth = d;
                    best = QPoint(x, y);
                }
            }
        return best;
    }
    // Away from its edge by two pixels: the outline's clip and its point test agree there
    // (a clip leaves out pixels on the right and bottom edges that the point test includes).
    bool Interior(int index, int x, int y)
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (map->HotSpotAt(x + dx, y + dy) != index)
                    return false;
        return true;
    }
    // Every pixel of the country's outline, away from its edge, has the colour.
    void ExpectFilled(int index, TColor color)
    {
        const THotSpot* h = map->HotSpots().Item(index);
        int checked = 0;
        for (int y = h->Y(); y <= h->Bottom(); ++y)
            for (int x = h->X(); x <= h->Right(); ++x)
                if (Interior(index, x, y)) {
                    ++checked;
                    ASSERT_EQ(At(QPoint(x, y)), Rgb(color)) << h->Name() << " at " << x << "," << y;
                }
        EXPECT_GT(checked, 10);
    }
    void ExpectMapPixels(int index)
    {
        const QImage& picture = map->BackgroundBuffer();
        const THotSpot* h = map->HotSpots().Item(index);
        for (int y = h->Y(); y <= h->Bottom(); ++y)
            for (int x = h->X(); x <= h->Right(); ++x)
                if (Interior(index, x, y)) {
                    ASSERT_EQ(At(QPoint(x, y)), picture.pixel(x, y) | 0xFF000000u) << x << "," << y;
                }
    }

    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> installed{SetMessageBoxService, &boxes};
    std::unique_ptr<TForm2> form;
    TMorvane* map = nullptr;
};

// Records like the recorder it forwards to, and looks at the screen while the box is open.
class TCallbackMessageBox : public IMessageBoxService {
public:
    TCallbackMessageBox(std::function<void()> onShow, TRecordingMessageBox& next) : onShow_(std::move(onShow)), next_(next) {}
    void ShowMessage(const std::string& caption, const std::string& text) override
    {
        onShow_();
        next_.ShowMessage(caption, text);
    }
    void ShowErrorMessage(const std::string& caption, const std::string& text) override
    {
        next_.ShowErrorMessage(caption, text);
    }

private:
    std::function<void()> onShow_;
    TRecordingMessageBox& next_;
};

constexpr int kGermany = 19;
constexpr int kNorway = 0;

} // namespace

TEST_F(QuizLooks, HoverIsYellowAndLeavingRestoresTheMap)
{
    const QPoint p = Deep(kGermany);
    Send(QEvent::MouseMove, p);
    ExpectFilled(kGermany, clYellow);
    Send(QEvent::MouseMove, QPoint(2, 400)); // the sea
    ExpectMapPixels(kGermany);
}

TEST_F(QuizLooks, APressIsAquaOverLimeAndARightAnswerStaysLime)
{
    form->Button2->click();
    ASSERT_EQ(form->Game().CurrentAnswer(), 0);
    const QPoint p = Deep(kNorway);
    Send(QEvent::MouseMove, p);
    Send(QEvent::MouseButtonPress, p, Qt::LeftButton);
    ExpectFilled(kNorway, clAqua);
    // The message of a right answer is shown while the country is still aqua.
    bool aquaWhileMessageShows = false;
    TCallbackMessageBox seen([&] { aquaWhileMessageShows = At(p) == Rgb(clAqua); }, boxes);
    ScopedService<IMessageBoxService> watch{SetMessageBoxService, &seen};
    Send(QEvent::MouseButtonRelease, p, Qt::LeftButton);
    EXPECT_TRUE(aquaWhileMessageShows);
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes[0].text, "Correct country selected!");
    EXPECT_TRUE(map->HotSpots().Item(kNorway)->Down());
    map->Repaint(); // the invalidation the Down write asked for
    ExpectFilled(kNorway, clLime);
    Send(QEvent::MouseMove, QPoint(2, 400));
    map->Repaint();
    ExpectFilled(kNorway, clLime);
}

TEST_F(QuizLooks, AMissIsPurpleUntilAnotherCountryIsPressed)
{
    form->Button2->click();
    const QPoint germany = Deep(kGermany);
    Send(QEvent::MouseMove, germany);
    Send(QEvent::MouseButtonPress, germany, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, germany, Qt::LeftButton);
    EXPECT_EQ(boxes.boxes.back().text, "Sorry, you missed. This country is Germany");
    ExpectFilled(kGermany, clPurple);
    const QPoint france = Deep(22);
    Send(QEvent::MouseMove, france);
    Send(QEvent::MouseButtonPress, france, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, france, Qt::LeftButton);
    ExpectMapPixels(kGermany);
}
