// Judging one click: what the player is told, and when the hotspot changes relative to the
// message box that the game waits on.
#include "QuizMap.h"

#include <QTest>

using namespace vandora;
using namespace vandora::test;

namespace {

struct TSeen {
    bool selected = false;
    bool down = false;
    TColor clickColor = 0;
    TColor selectedColor = 0;
    int score = -1;
    std::size_t questionsShown = 0;
};

} // namespace

TEST_F(QuizTest, RightAnswerChangesTheHotSpotOnlyAfterTheMessageIsClosed)
{
    game.NewQuiz();
    THotSpot& norway = Country(0);
    norway.SetClickColor(clGray);
    TSeen seen;
    whileMessageShows = [&](const std::string&) {
        seen = {norway.Selected(), norway.Down(), norway.ClickColor(), norway.SelectedColor(),
                game.Score(), questions.size()};
    };
    Click(norway);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Correct country selected!");
    // While the box is open: as the press left it, nothing counted, no new question yet.
    EXPECT_TRUE(seen.selected);
    EXPECT_FALSE(seen.down);
    EXPECT_EQ(seen.clickColor, clGray);
    EXPECT_EQ(seen.score, 0);
    EXPECT_EQ(seen.questionsShown, 1u);
    // Afterwards: found, counted, and the next question asked with the new score.
    EXPECT_FALSE(norway.Selected());
    EXPECT_TRUE(norway.Down());
    EXPECT_EQ(norway.ClickColor(), clLime);
    EXPECT_EQ(norway.SelectedColor(), clAqua);
    EXPECT_EQ(game.Score(), 1);
    EXPECT_EQ(questions.back(), "Click on country : Finland");
    EXPECT_EQ(scores.back(), "1/34");
}

TEST_F(QuizTest, WrongAnswerTurnsTheHotSpotPurpleBeforeTheMessage)
{
    game.NewQuiz();
    THotSpot& sweden = Country(1);
    TSeen seen;
    whileMessageShows = [&](const std::string&) {
        seen = {sweden.Selected(), sweden.Down(), sweden.ClickColor(), sweden.SelectedColor(),
                game.Score(), questions.size()};
    };
    Click(sweden);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Sorry, you missed. This country is Sweden");
    EXPECT_EQ(seen.selectedColor, clPurple);
    EXPECT_EQ(seen.questionsShown, 1u);
    // A miss changes nothing else: the hotspot stays selected, in purple.
    EXPECT_TRUE(sweden.Selected());
    EXPECT_FALSE(sweden.Down());
    EXPECT_EQ(sweden.ClickColor(), clLime);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_EQ(questions.back(), "Click on country : Finland");
    EXPECT_EQ(scores.back(), "0/34");
}

TEST_F(QuizTest, LithuaniaIsAskedMisspeltButNamedCorrectlyOnAMiss)
{
    game.NewQuiz();
    ASSERT_NE(game.CurrentAnswer(), 5);
    Click(5);
    EXPECT_EQ(messages.back(), "Sorry, you missed. This country is Lithuania");

    while (game.State() == TQuizState::Asking && game.CurrentAnswer() != 5)
        AnswerRight();
    ASSERT_EQ(game.CurrentAnswer(), 5);
    EXPECT_EQ(questions.back(), "Click on country : Lithaunia");
    AnswerRight();
    EXPECT_EQ(messages.back(), "Correct country selected!");
}

TEST_F(QuizTest, HotSpotRemovedWhileTheMessageIsOpenIsNotTouched)
{
    game.NewQuiz();
    THotSpot& norway = Country(0);
    THotSpot& sweden = *map.HotSpots().Item(1);
    ASSERT_EQ(norway.Index(), 0);
    whileMessageShows = [&](const std::string&) {
        map.HotSpots().Delete(0); // Sweden moves up into Norway's place
    };
    Click(norway);

    EXPECT_EQ(map.HotSpots().Item(0), &sweden);
    EXPECT_FALSE(sweden.Down());
    EXPECT_EQ(sweden.ClickColor(), clLime);
    // The answer was right when it was given: it counts, and the quiz goes on.
    EXPECT_EQ(game.Score(), 1);
    EXPECT_EQ(game.CurrentAnswer(), 2);
    EXPECT_EQ(scores.back(), "1/34");

    whileMessageShows = [&](const std::string&) { map.HotSpots().Clear(); };
    AnswerRight();
    EXPECT_EQ(map.HotSpots().Count(), 0);
    EXPECT_EQ(game.Score(), 2);
}

// A screen reader can press "Start new quiz" or a country while a message is open (modality
// stops only the pointer and the keys): the answer being given finishes first, alone.
TEST_F(QuizTest, NothingElseIsJudgedOrStartedWhileAnAnswersMessageIsOpen)
{
    game.NewQuiz();
    ASSERT_EQ(game.CurrentAnswer(), 0);
    whileMessageShows = [&](const std::string&) {
        game.NewQuiz();
        Click(5);
    };
    Click(0);
    EXPECT_EQ(messages, (std::vector<std::string>{"Correct country selected!"}));
    EXPECT_EQ(game.Score(), 1);
    EXPECT_TRUE(Country(0).Down());
    EXPECT_EQ(game.CurrentAnswer(), 2); // the second question of seed 0: none was skipped
    EXPECT_EQ(game.RemainingQuestions().size(), 32u);

    whileMessageShows = nullptr; // and once it has closed, both work again
    Click(WrongCountry());
    EXPECT_EQ(messages.size(), 2u);
    game.NewQuiz();
    EXPECT_EQ(game.Score(), 0);
}

// A hotspot deleted while the message is open and a new one added: the new one often takes
// the old one's memory, and must not be marked as the country found.
TEST_F(QuizTest, AHotSpotThatReplacesTheAnsweredOneIsNotMarkedFound)
{
    game.NewQuiz();
    THotSpot& asked = Country(game.CurrentAnswer());
    THotSpot* replacement = nullptr;
    whileMessageShows = [&](const std::string&) {
        map.HotSpots().Delete(asked.Index());
        replacement = map.HotSpots().AddHotSpot();
        replacement->SetName("Atlantis");
        replacement->SetID(99);
    };
    Click(asked);

    ASSERT_NE(replacement, nullptr);
    EXPECT_FALSE(replacement->Down()) << "a hotspot never clicked is marked as found";
    EXPECT_EQ(game.Score(), 1);
}

// The real control delivers the clicks: press toggles the selection, release raises
// OnHotSpotClick, which the window forwards to the game.
TEST_F(QuizTest, ClicksOnTheControlAreJudged)
{
    map.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot* hotSpot) { game.Answer(*hotSpot); });
    const QPoint luxembourg(166, 254); // also inside Belgium's box; the later item wins
    const QPoint slovakia(265, 250);
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    // The pointer moves onto a country before it presses there, as a real one does.
    const auto click = [&](const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(&map, at);
        EXPECT_EQ(map.HoverIndex(), map.HotSpotAt(at.x(), at.y()));
        QTest::mouseClick(&map, button, {}, at);
    };
    game.NewQuiz(); // asks Norway

    click(luxembourg);
    EXPECT_EQ(messages.back(), "Sorry, you missed. This country is Luxemburg");
    EXPECT_TRUE(Country(21).Selected());
    EXPECT_EQ(Country(21).SelectedColor(), clPurple);

    // Finland is asked now; a second click on the selected Luxembourg deselects it and
    // is still judged.
    click(luxembourg);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages.back(), "Sorry, you missed. This country is Luxemburg");
    EXPECT_FALSE(Country(21).Selected());
    ASSERT_EQ(game.CurrentAnswer(), 29);

    click(slovakia);
    EXPECT_EQ(messages.back(), "Correct country selected!");
    EXPECT_TRUE(Country(29).Down());
    EXPECT_FALSE(Country(29).Selected());
    EXPECT_EQ(game.Score(), 1);

    // A right click judges nothing.
    const std::size_t shown = messages.size();
    click(luxembourg, Qt::RightButton);
    EXPECT_EQ(messages.size(), shown);
}
