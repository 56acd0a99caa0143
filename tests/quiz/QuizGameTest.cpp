// The course of a quiz: start-up, the order of the questions, a whole game, a restart,
// and the states in which clicks are ignored.
#include "QuizMap.h"

#include "platform/TestDoubles.h"

#include <algorithm>
#include <numeric>
#include <tuple>

using namespace vandora;
using namespace vandora::test;

namespace {

std::vector<int> AllCountries()
{
    std::vector<int> all(TQuizGame::QuestionCount);
    std::iota(all.begin(), all.end(), 0);
    return all;
}

} // namespace

TEST_F(QuizTest, StartUpShowsNothingAndWaitsForANewQuiz)
{
    EXPECT_EQ(game.State(), TQuizState::Idle);
    EXPECT_EQ(game.CurrentAnswer(), -1);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_TRUE(game.RemainingQuestions().empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(scores.empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(QuizTest, QuestionTextsMatchTheMapNamesExceptTheMisspeltLithuania)
{
    const auto& names = game.CountryNames();
    for (const TMapCountry& country : MapCountries) {
        if (country.id == 5)
            EXPECT_EQ(names[5], "Lithaunia");
        else
            EXPECT_EQ(names[country.id], country.name) << "country " << country.id;
    }
}

TEST_F(QuizTest, StartUpSeedsFromTheCounterOrTheTickCount)
{
    TFakeClock clock;
    ScopedService<IClockService> guard(SetClockService, &clock);
    // Both seeds are 0 in their low 32 bits, so the seed-0 order must follow.
    clock.counter = 0x700000000;
    clock.ticks = 99;
    game.StartUp();
    game.NewQuiz();
    EXPECT_EQ(game.CurrentAnswer(), 0);

    clock.counterWorks = false;
    clock.ticks = 0;
    game.StartUp();
    game.NewQuiz();
    EXPECT_EQ(game.CurrentAnswer(), 0);
    AnswerRight();
    EXPECT_EQ(game.CurrentAnswer(), 2);
}

TEST_F(QuizTest, SeedZeroAsksNorwayFinlandSlovakiaMoldavaGreeceFirst)
{
    game.NewQuiz();
    std::vector<int> asked;
    for (int i = 0; i < 5; ++i) {
        asked.push_back(game.CurrentAnswer());
        AnswerRight();
    }
    EXPECT_EQ(asked, (std::vector<int>{0, 2, 29, 8, 11}));
    ASSERT_GE(questions.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(questions.begin(), questions.begin() + 5),
              (std::vector<std::string>{"Click on country : Norway", "Click on country : Finland",
                                        "Click on country : Slovakia", "Click on country : Moldava",
                                        "Click on country : Greece"}));
    EXPECT_EQ(scores.front(), "0/34");
    EXPECT_EQ(game.RemainingQuestions().size(), 28u);
}

TEST_F(QuizTest, EveryCountryIsAskedExactlyOncePerQuizWhateverTheSeed)
{
    for (std::uint32_t seed : {0u, 1u, 12345u, 0x80000000u, 0xFFFFFFFFu}) {
        game.Random().SetState(seed);
        game.NewQuiz();
        std::vector<int> asked;
        for (int i = 0; i < TQuizGame::QuestionCount; ++i) {
            ASSERT_EQ(game.State(), TQuizState::Asking) << "seed " << seed;
            asked.push_back(game.CurrentAnswer());
            // Wrong answers, so that nothing but the question list drives the quiz.
            Click(WrongCountry());
        }
        EXPECT_EQ(game.State(), TQuizState::Over) << "seed " << seed;
        EXPECT_EQ(messages.back(), "Game over.\r\nYour score is 0/34");
        std::sort(asked.begin(), asked.end());
        EXPECT_EQ(asked, AllCountries()) << "seed " << seed;
    }
}

TEST_F(QuizTest, ThirtyFourRightAnswersScoreFullMarks)
{
    game.NewQuiz();
    for (int i = 0; i < TQuizGame::QuestionCount; ++i)
        AnswerRight();

    EXPECT_EQ(game.State(), TQuizState::Over);
    EXPECT_EQ(game.CurrentAnswer(), -1);
    EXPECT_EQ(game.Score(), 34);
    ASSERT_EQ(messages.size(), 35u);
    EXPECT_EQ(messages.back(), "Game over.\r\nYour score is 34/34");
    // The score line is written with each question only, so it stops one short.
    ASSERT_EQ(scores.size(), 34u);
    EXPECT_EQ(scores.back(), "33/34");
    EXPECT_EQ(questions.size(), 34u);
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const THotSpot& hotSpot = *map.HotSpots().Item(i);
        EXPECT_TRUE(hotSpot.Down()) << hotSpot.Name();
        EXPECT_FALSE(hotSpot.Selected()) << hotSpot.Name();
        EXPECT_EQ(hotSpot.ClickColor(), clLime) << hotSpot.Name();
    }
}

TEST_F(QuizTest, ClicksBeforeTheFirstQuizAndAfterGameOverChangeNothing)
{
    THotSpot& norway = Country(0);
    Click(norway);
    EXPECT_EQ(game.State(), TQuizState::Idle);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(scores.empty());
    // Only the control's own toggle acted: the loaded colours stay.
    EXPECT_TRUE(norway.Selected());
    EXPECT_EQ(norway.SelectedColor(), clRed);
    EXPECT_EQ(norway.ClickColor(), clGray);
    EXPECT_FALSE(norway.Down());

    game.NewQuiz();
    for (int i = 0; i < TQuizGame::QuestionCount; ++i)
        AnswerRight();
    const auto before = std::tuple(questions, scores, messages.size());
    THotSpot& spain = Country(24);
    Click(spain);
    Click(spain);
    EXPECT_EQ(game.State(), TQuizState::Over);
    EXPECT_EQ(game.Score(), 34);
    EXPECT_EQ(std::tuple(questions, scores, messages.size()), before);
    EXPECT_EQ(spain.SelectedColor(), clAqua);
    EXPECT_TRUE(spain.Down());
}

TEST_F(QuizTest, NewQuizInMidGameResetsTheMapAndTheScore)
{
    game.NewQuiz();
    AnswerRight(); // Norway, found
    AnswerRight(); // Finland, found
    THotSpot& spain = Country(24);
    Click(spain);  // a miss leaves Spain selected, in purple
    ASSERT_TRUE(spain.Selected());
    ASSERT_EQ(spain.SelectedColor(), clPurple);
    Country(7).SetHoverColor(clBlue);
    ASSERT_EQ(game.Score(), 2);

    TQuizRandom expected = game.Random();
    const int firstQuestion = static_cast<int>(expected.Pick(34));
    questions.clear();
    scores.clear();
    game.NewQuiz();

    EXPECT_EQ(game.State(), TQuizState::Asking);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_EQ(game.CurrentAnswer(), firstQuestion);
    EXPECT_EQ(game.RemainingQuestions().size(), 33u);
    EXPECT_EQ(questions, std::vector<std::string>{"Click on country : " +
                                                  game.CountryNames()[firstQuestion]});
    EXPECT_EQ(scores, std::vector<std::string>{"0/34"});
    for (int i = 0; i < map.HotSpots().Count(); ++i) {
        const THotSpot& hotSpot = *map.HotSpots().Item(i);
        EXPECT_FALSE(hotSpot.Down()) << hotSpot.Name();
        EXPECT_EQ(hotSpot.ClickColor(), clLime) << hotSpot.Name();
        EXPECT_EQ(hotSpot.SelectedColor(), clAqua) << hotSpot.Name();
        EXPECT_EQ(hotSpot.HoverColor(), clYellow) << hotSpot.Name();
        EXPECT_EQ(hotSpot.Selected(), &hotSpot == &spain) << hotSpot.Name();
    }
}

TEST_F(QuizTest, HotSpotsBeyondTheCountriesAreResetAndAlwaysMissed)
{
    THotSpot* extra = map.HotSpots().AddHotSpot();
    extra->SetName("Atlantis");
    extra->SetID(34);
    extra->SetDown(true);
    game.NewQuiz();
    EXPECT_FALSE(extra->Down());
    EXPECT_EQ(extra->ClickColor(), clLime);

    Click(*extra);
    EXPECT_EQ(messages.back(), "Sorry, you missed. This country is Atlantis");
    EXPECT_EQ(game.Score(), 0);
    // Still 34 questions: the count does not come from the map.
    for (int i = 1; i < TQuizGame::QuestionCount; ++i)
        AnswerRight();
    EXPECT_EQ(messages.back(), "Game over.\r\nYour score is 33/34");
}
