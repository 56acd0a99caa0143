// The real quiz window, built from the description embedded in the program, played with
// pointer events on the map; message boxes and the shell are recorded, never shown.
#include "app/Unit2.h"
#include "hotspot/Morvane.h"
#include "platform/Button.h"
#include "platform/Label.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"
#include "platform/TestDoubles.h"
#include "quiz/QuizGame.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace vandora;
using namespace vandora::test;

namespace {

class QuizWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm2>();
        form->Game().Random().SetState(0);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    TMorvane& Map() { return *form->Morvane1; }
    std::string Question() const { return form->lblQuestion->Caption(); }
    std::string ScoreLine() const { return form->lblScore->Caption(); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const TShownBox& box : boxes.boxes)
            texts.push_back(box.text);
        return texts;
    }

    // A point well inside the hotspot, as the control's own search finds it.
    QPoint InsidePoint(int index)
    {
        const THotSpot* spot = Map().HotSpots().Item(index);
        QPoint best(-1, -1);
        int bestScore = -1;
        for (int y = spot->Y(); y <= spot->Bottom(); ++y)
            for (int x = spot->X(); x <= spot->Right(); ++x) {
                int score = 0;
                while (score < 6 && Map().HotSpotAt(x - score, y) == index && Map().HotSpotAt(x + score, y) == index &&
                       Map().HotSpotAt(x, y - score) == index && Map().HotSpotAt(x, y + score) == index)
                    ++score;
                if (score > bestScore) {
                    bestScore = score;
                    best = QPoint(x, y);
                }
            }
        EXPECT_GT(bestScore, 0) << "no inside point for hotspot " << index;
        return best;
    }

    int IndexOfId(int id)
    {
        for (int i = 0; i < Map().HotSpots().Count(); ++i)
            if (Map().HotSpots().Item(i)->ID() == id)
                return i;
        return -1;
    }

    void ClickHotSpot(int index)
    {
        const QPoint p = InsidePoint(index);
        QTest::mouseMove(&Map(), p);
        QTest::mouseClick(&Map(), Qt::LeftButton, {}, p);
    }

    void StartNewQuiz() { QTest::mouseClick(form->Button2, Qt::LeftButton); }

    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> boxesInstalled{SetMessageBoxService, &boxes};
    TRecordingShell shell;
    ScopedService<IShellService> shellInstalled{SetShellService, &shell};
    std::unique_ptr<TForm2> form;
};

} // namespace

TEST_F(QuizWindow, TheWindowIsBuiltAsDesigned)
{
    EXPECT_EQ(form->windowTitle(), "Vandora");
    EXPECT_EQ(form->width(), 416);
    EXPECT_EQ(form->height(), 568);
    EXPECT_EQ(form->font().family(), "Tahoma");
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_EQ(Map().geometry(), QRect(8, 95, 400, 407));
    EXPECT_EQ(Map().HotSpots().Count(), 34);
    EXPECT_EQ(form->Button2->geometry(), QRect(8, 8, 161, 25));
    EXPECT_EQ(form->Button2->text(), "Start new quiz");
    EXPECT_EQ(form->lblQuestion->pos(), QPoint(8, 47));
    EXPECT_EQ(form->lblQuestion->font().pixelSize(), 21);
    EXPECT_EQ(form->lblScore->pos(), QPoint(80, 512));
    EXPECT_EQ(form->Label2->text(), "Score:");
    EXPECT_EQ(form->Label1->text(), "Demo for TMorvane by");
    EXPECT_TRUE(form->Label3->font().underline());
    EXPECT_EQ(form->Label3->Cursor(), crHandPoint);
    // Labels as high as designed: 13 pixels at the window's 11, 25 at 21.
    for (const TLabel* label : {form->Label1, form->Label3})
        EXPECT_EQ(label->height(), 13) << label->Name();
    for (const TLabel* label : {form->Label2, form->lblQuestion, form->lblScore})
        EXPECT_EQ(label->height(), 25) << label->Name();
    // The empty ones as wide as designed (a space's width).
    for (const TLabel* label : {form->lblQuestion, form->lblScore})
        EXPECT_EQ(label->width(), 7) << label->Name();
    EXPECT_TRUE(Question().empty());
    EXPECT_TRUE(ScoreLine().empty());
    EXPECT_EQ(form->Game().State(), TQuizState::Idle);
}

TEST_F(QuizWindow, AWholeGameOfRightAnswers)
{
    StartNewQuiz();
    EXPECT_EQ(Question(), "Click on country : Norway");
    EXPECT_EQ(ScoreLine(), "0/34");
    for (int answer = 0; answer < 34; ++answer) {
        const int index = IndexOfId(form->Game().CurrentAnswer());
        ASSERT_GE(index, 0);
        ClickHotSpot(index);
        EXPECT_TRUE(Map().HotSpots().Item(index)->Down());
        EXPECT_FALSE(Map().HotSpots().Item(index)->Selected());
    }
    EXPECT_EQ(ScoreLine(), "33/34");
    ASSERT_EQ(boxes.boxes.size(), 35u);
    EXPECT_EQ(boxes.boxes[0].text, "Correct country selected!");
    EXPECT_EQ(boxes.boxes.back().text, "Game over.\r\nYour score is 34/34");
    EXPECT_EQ(form->Game().State(), TQuizState::Over);

    // After game over a click changes nothing in the game.
    const std::string question = Question();
    ClickHotSpot(3);
    EXPECT_EQ(boxes.boxes.size(), 35u);
    EXPECT_EQ(Question(), question);
    EXPECT_EQ(ScoreLine(), "33/34");
}

TEST_F(QuizWindow, AMissColoursTheCountryPurpleAndNamesIt)
{
    StartNewQuiz(); // asks Norway
    const int lithuania = IndexOfId(5);
    ClickHotSpot(lithuania);
    EXPECT_EQ(Messages().back(), "Sorry, you missed. This country is Lithuania");
    EXPECT_EQ(Map().HotSpots().Item(lithuania)->SelectedColor(), clPurple);
    const QPoint p = InsidePoint(lithuania);
    EXPECT_EQ(Map().Surface().pixel(p) | 0xFF000000u, ColorToRgb(clPurple) | 0xFF000000u);
    EXPECT_EQ(Question(), "Click on country : Finland");

    // A second click on the still-selected country deselects it, and is judged again.
    ClickHotSpot(lithuania);
    EXPECT_FALSE(Map().HotSpots().Item(lithuania)->Selected());
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(QuizWindow, ClicksBeforeTheFirstQuizAndARestartMidGame)
{
    ClickHotSpot(0);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(Question().empty());
    EXPECT_TRUE(Map().HotSpots().Item(0)->Selected()) << "the control's own selection still applies";

    StartNewQuiz();
    ClickHotSpot(IndexOfId(form->Game().CurrentAnswer()));
    ClickHotSpot(IndexOfId(form->Game().CurrentAnswer()));
    EXPECT_EQ(ScoreLine(), "2/34");
    StartNewQuiz();
    EXPECT_EQ(ScoreLine(), "0/34");
    EXPECT_EQ(form->Game().RemainingQuestions().size(), 33u);
    for (int i = 0; i < Map().HotSpots().Count(); ++i)
        EXPECT_FALSE(Map().HotSpots().Item(i)->Down());
}

// The handlers may be bound to other events too: the start-up step run again mid-game, or a
// click reported without a hotspot, leaves the game as it is.
TEST_F(QuizWindow, AHandlerRaisedOutOfTurnLeavesTheGameAlone)
{
    StartNewQuiz();
    ClickHotSpot(IndexOfId(form->Game().CurrentAnswer()));
    const TQuizGame* game = &form->Game();
    const std::string question = Question();
    form->FormCreate(form.get());
    form->Morvane1HotSpotClick(&Map(), nullptr);
    EXPECT_EQ(&form->Game(), game);
    EXPECT_EQ(form->Game().State(), TQuizState::Asking);
    EXPECT_EQ(Question(), question);
    EXPECT_EQ(ScoreLine(), "1/34");
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(QuizWindow, TheLinkOpensTheMakersPageAndLeavesTheQuizAlone)
{
    StartNewQuiz();
    const std::string question = Question();
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].address, TForm2::kMakerAddress);
    EXPECT_EQ(Question(), question);
}

TEST_F(QuizWindow, SpaceAndEnterOnTheFocusedButtonStartAQuiz)
{
    form->Button2->setFocus();
    QTest::keyClick(form->Button2, Qt::Key_Space);
    EXPECT_EQ(form->Game().State(), TQuizState::Asking);
    ClickHotSpot(IndexOfId(form->Game().CurrentAnswer()));
    EXPECT_EQ(form->Game().RemainingQuestions().size(), 32u);
    QTest::keyClick(form->Button2, Qt::Key_Return);
    EXPECT_EQ(form->Game().RemainingQuestions().size(), 33u) << "a new quiz";
    EXPECT_EQ(form->Game().Score(), 0);
}

TEST_F(QuizWindow, TheMapCanBePlayedFromTheKeyboard)
{
    form->Button2->setFocus();
    QTest::keyClick(form->Button2, Qt::Key_Space);
    // Tab from the button reaches the map, which lights its first country.
    QTest::keyClick(form.get(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &Map());
    EXPECT_EQ(Map().HoverIndex(), 0);
    for (int answer = 0; answer < 3; ++answer) {
        const int index = IndexOfId(form->Game().CurrentAnswer());
        while (Map().HoverIndex() != index)
            QTest::keyClick(&Map(), Qt::Key_PageDown);
        QTest::keyClick(&Map(), Qt::Key_Return);
    }
    EXPECT_EQ(form->Game().Score(), 3);
    EXPECT_EQ(Messages().size(), 3u);
    // A miss from the keyboard is judged as one from the pointer.
    const int asked = IndexOfId(form->Game().CurrentAnswer());
    QTest::keyClick(&Map(), asked == 0 ? Qt::Key_End : Qt::Key_Home);
    QTest::keyClick(&Map(), Qt::Key_Space);
    EXPECT_EQ(form->Game().Score(), 3);
    EXPECT_EQ(Messages().back().rfind("Sorry, you missed. This country is ", 0), 0u) << Messages().back();

    // Clicking the map leaves the focus on the button.
    form->Button2->setFocus();
    ClickHotSpot(IndexOfId(form->Game().CurrentAnswer()));
    EXPECT_EQ(QApplication::focusWidget(), form->Button2);
}

TEST_F(QuizWindow, AScreenReaderNamesTheCountriesAndCanAnswer)
{
    StartNewQuiz();
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(&Map());
    EXPECT_EQ(map->text(QAccessible::Name), "Map of Europe");
    ASSERT_EQ(map->childCount(), 34);
    const int asked = IndexOfId(form->Game().CurrentAnswer());
    const auto press = [&](int index) {
        map->child(index)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::sendPostedEvents(); // carried out at the next turn
    };
    press(asked);
    EXPECT_EQ(form->Game().Score(), 1);
    // A miss names the country as the screen reader did.
    const int wrong = (IndexOfId(form->Game().CurrentAnswer()) + 1) % 34;
    press(wrong);
    EXPECT_EQ(Messages().back(), "Sorry, you missed. This country is " + map->child(wrong)->text(QAccessible::Name).toStdString());
}

TEST_F(QuizWindow, TheArrowKeysReachEveryCountryFromAnyOther)
{
    const int count = Map().HotSpots().Count();
    for (int start = 0; start < count; ++start) {
        std::vector<bool> reached(std::size_t(count), false);
        std::vector<int> todo{start};
        reached[std::size_t(start)] = true;
        while (!todo.empty()) {
            const int from = todo.back();
            todo.pop_back();
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int to = Map().HotSpotToward(from, dx, dy);
                if (to != -1 && !reached[std::size_t(to)]) {
                    reached[std::size_t(to)] = true;
                    todo.push_back(to);
                }
            }
        }
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(reached[std::size_t(i)]) << Map().HotSpots().Item(i)->Name() << " from "
                                                 << Map().HotSpots().Item(start)->Name();
    }
}

// The window's description names the handlers; one that does not start the game with
// FormCreate is refused when read, not left to fail at the first click.
TEST(QuizWindowDescription, OneThatDoesNotStartTheGameIsRefused)
{
    const std::string text = FormToText(EmbeddedForm2());
    const std::string binding = "OnCreate = FormCreate";
    const auto at = text.find(binding);
    ASSERT_NE(at, std::string::npos);
    for (const std::string& replacement : {std::string(), std::string("OnCreate = Button2Click")}) {
        std::string changed = text;
        changed.replace(at, binding.size(), replacement);
        try {
            TForm2 form(QByteArray::fromStdString(changed));
            ADD_FAILURE() << "accepted with '" << replacement << "'";
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find("OnCreate is not FormCreate"), std::string::npos) << e.what();
        }
    }
}

// The window needs its map, its button and its two labels; a description without one of
// them is refused when read.
TEST(QuizWindowDescription, OneWithoutAControlTheGameNeedsIsRefused)
{
    const std::string text = FormToText(EmbeddedForm2());
    for (const std::string name : {"Morvane1", "Button2", "lblQuestion", "lblScore"}) {
        const std::string header = "object " + name + ":";
        const auto at = text.find(header);
        ASSERT_NE(at, std::string::npos) << name;
        std::string changed = text;
        changed.replace(at, header.size(), "object Other" + name + ":");
        try {
            TForm2 form(QByteArray::fromStdString(changed));
            ADD_FAILURE() << "accepted without " << name;
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "The quiz window's description lacks one of its controls") << name;
        }
    }
}
