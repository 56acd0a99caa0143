#include "quiz/QuizGame.h"

#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "platform/Colors.h"

#include <QScopeGuard>

#include <utility>

namespace vandora {

namespace {

// The question text of each country number; entry i asks for the hotspot whose ID is i.
// Number 5 is spelt "Lithaunia" here while its hotspot is named "Lithuania"; the player
// sees both, the question from this table and the miss message from the hotspot.
constexpr std::array<const char*, TQuizGame::QuestionCount> QuestionTexts = {
    "Norway", "Sweden", "Finland", "Estonia", "Latvia", "Lithaunia",            // 0-5
    "Belarus", "Ukraine", "Moldava", "Romania", "Bulgaria", "Greece",           // 6-11
    "Albania", "Serbia", "Bosnia", "Croatia", "Italia", "Swiss",                // 12-17
    "Austria", "Germany", "Netherlands", "Luxemburg", "Belgium", "France",      // 18-23
    "Spain", "United Kingdom", "Ireland", "Iceland", "Macedonia", "Slovakia",   // 24-29
    "Czech Republic", "Poland", "Portugal", "Slovenia",                         // 30-33
};

const std::string QuestionPrefix = "Click on country : ";
const std::string ScoreSuffix = "/34";
const std::string RightMessage = "Correct country selected!";
const std::string WrongMessagePrefix = "Sorry, you missed. This country is ";
const std::string GameOverMessage = "Game over.";
const std::string LineBreak = "\r\n";
const std::string FinalScorePrefix = "Your score is ";

} // namespace

TQuizGame::TQuizGame(THotSpots& hotSpots, TQuizOutputs outputs)
    : hotSpots_(hotSpots), outputs_(std::move(outputs))
{
}

void TQuizGame::StartUp()
{
    random_.SeedFromClock();
    FillCountryNames();
    remainingQuestions_.clear();
    currentAnswer_ = -1;
    score_ = 0;
    state_ = TQuizState::Idle;
}

void TQuizGame::NewQuiz()
{
    // Modality keeps the pointer and the keys away while an answer's message is open, but
    // not a screen reader's press of a button: the answer finishes first, whole.
    if (answering_)
        return;
    FillRemainingQuestions();
    ResetHotSpots();
    score_ = 0;
    NextQuestion();
}

void TQuizGame::NextQuestion()
{
    if (remainingQuestions_.empty())
        EndGame();
    else
        AskQuestion();
}

void TQuizGame::Answer(THotSpot& hotSpot)
{
    if (currentAnswer_ == -1 || answering_)
        return;
    answering_ = true;
    const auto answered = qScopeGuard([this] { answering_ = false; });
    if (hotSpot.ID() == currentAnswer_)
        AnswerRight(hotSpot);
    else
        AnswerWrong(hotSpot);
    NextQuestion();
}

void TQuizGame::ShutDown()
{
    std::vector<std::int32_t>().swap(remainingQuestions_);
}

void TQuizGame::FillCountryNames()
{
    for (int i = 0; i < QuestionCount; ++i)
        countryNames_[i] = QuestionTexts[i];
}

void TQuizGame::FillRemainingQuestions()
{
    remainingQuestions_.clear();
    for (std::int32_t country = 0; country < QuestionCount; ++country)
        remainingQuestions_.push_back(country);
}

void TQuizGame::ResetHotSpots()
{
    // Every hotspot there is, whatever its ID; Selected stays as the player left it.
    for (int i = 0; i < hotSpots_.Count(); ++i) {
        THotSpot* hotSpot = hotSpots_.Item(i);
        hotSpot->SetDown(false);
        hotSpot->SetClickColor(clLime);
        hotSpot->SetSelectedColor(clAqua);
        hotSpot->SetHoverColor(clYellow);
    }
}

void TQuizGame::AskQuestion()
{
    const auto n = static_cast<std::uint32_t>(remainingQuestions_.size());
    const auto position = static_cast<std::ptrdiff_t>(random_.Pick(n));
    currentAnswer_ = remainingQuestions_[position];
    // erase keeps the order of the others, which the next picks depend on.
    remainingQuestions_.erase(remainingQuestions_.begin() + position);
    state_ = TQuizState::Asking;
    Emit(outputs_.ShowQuestion, QuestionPrefix + countryNames_[currentAnswer_]);
    Emit(outputs_.ShowScore, std::to_string(score_) + ScoreSuffix);
}

void TQuizGame::EndGame()
{
    currentAnswer_ = -1;
    state_ = TQuizState::Over;
    Emit(outputs_.ShowMessage,
         GameOverMessage + LineBreak + FinalScorePrefix + std::to_string(score_) + ScoreSuffix);
}

void TQuizGame::AnswerRight(THotSpot& hotSpot)
{
    const THotSpot* clicked = &hotSpot;
    const std::int32_t country = hotSpot.ID();
    Emit(outputs_.ShowMessage, RightMessage);
    // The box runs its own event loop: the hotspot may be gone when it closes. The point
    // counts either way; only a hotspot still on the map is marked as found, and only if it
    // is still that country (a new hotspot may have taken the old one's memory).
    THotSpot* found = StillInCollection(clicked);
    if (found != nullptr && found->ID() == country) {
        found->SetClickColor(clLime);
        found->SetSelected(false);
        found->SetDown(true);
    }
    ++score_;
}

void TQuizGame::AnswerWrong(THotSpot& hotSpot)
{
    hotSpot.SetSelectedColor(clPurple);
    Emit(outputs_.ShowMessage, WrongMessagePrefix + hotSpot.Name());
}

THotSpot* TQuizGame::StillInCollection(const THotSpot* hotSpot) const
{
    for (int i = 0; i < hotSpots_.Count(); ++i)
        if (hotSpots_.Item(i) == hotSpot)
            return hotSpots_.Item(i);
    return nullptr;
}

void TQuizGame::Emit(const TQuizOutputs::TTextSink& sink, const std::string& text)
{
    if (sink)
        sink(text);
}

} // namespace vandora
