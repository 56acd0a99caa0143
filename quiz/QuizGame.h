#pragma once
// The rules of the geography quiz, free of any window: 34 countries asked once each in
// random order, every click on the map judged against the country asked, and the score.
// The window owns one game, hands it the map's hotspots and three outputs, and forwards
// its handlers to the operations below.
#include "quiz/QuizRandom.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vandora {

class THotSpot;
class THotSpots;

// Where the game's texts go. An unassigned output is skipped.
struct TQuizOutputs {
    using TTextSink = std::function<void(const std::string&)>;
    TTextSink ShowQuestion; // the question line
    TTextSink ShowScore;    // the score line
    // A message box; returns once the player has closed it.
    TTextSink ShowMessage;
};

enum class TQuizState : std::uint8_t {
    Idle,   // since start-up, before the first new quiz
    Asking, // a question is pending
    Over,   // the last question has been answered
};

class TQuizGame {
public:
    static constexpr int QuestionCount = 34;

    // hotSpots: the map's collection, not owned; it must outlive the game.
    TQuizGame(THotSpots& hotSpots, TQuizOutputs outputs);

    // The operations the window's handlers forward to.
    void StartUp();
    void NewQuiz();
    void NextQuestion();
    // hotSpot: the clicked item of the collection. A right answer marks it as found only
    // if it is still in the collection when the message closes.
    void Answer(THotSpot& hotSpot);
    void ShutDown();

    TQuizState State() const { return state_; }
    const std::array<std::string, QuestionCount>& CountryNames() const { return countryNames_; }
    const std::vector<std::int32_t>& RemainingQuestions() const { return remainingQuestions_; }
    std::int32_t CurrentAnswer() const { return currentAnswer_; }
    std::int32_t Score() const { return score_; }
    TQuizRandom& Random() { return random_; }

private:
    void FillCountryNames();
    void FillRemainingQuestions();
    void ResetHotSpots();
    void AskQuestion();
    void EndGame();
    void AnswerRight(THotSpot& hotSpot);
    void AnswerWrong(THotSpot& hotSpot);
    THotSpot* StillInCollection(const THotSpot* hotSpot) const;
    static void Emit(const TQuizOutputs::TTextSink& sink, const std::string& text);

    THotSpots& hotSpots_;
    TQuizOutputs outputs_;
    TQuizRandom random_;
    std::array<std::string, QuestionCount> countryNames_;
    std::vector<std::int32_t> remainingQuestions_;
    std::int32_t currentAnswer_ = -1;
    std::int32_t score_ = 0;
    TQuizState state_ = TQuizState::Idle;
    bool answering_ = false; // an answer, with its message, is being given
};

} // namespace vandora
