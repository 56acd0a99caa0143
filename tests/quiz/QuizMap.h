#pragma once
// A real map control holding the 34 countries in the order of the quiz's map. Each country
// is its bounding box, which is enough for the game, and the game's outputs are recorded.
#include "hotspot/Morvane.h"
#include "MapCountries.h"
#include "quiz/QuizGame.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vandora::test {

class QuizTest : public ::testing::Test {
protected:
    QuizTest()
    {
        map.SetBounds(0, 0, 400, 407);
        for (const TMapCountry& country : MapCountries) {
            THotSpot* hotSpot = map.HotSpots().AddHotSpot();
            hotSpot->SetName(country.name);
            hotSpot->SetID(country.id);
            hotSpot->SetCorners(country.x, country.y, country.x + country.width,
                                country.y + country.height);
        }
        game.StartUp();
        game.Random().SetState(0);
    }

    THotSpot& Country(int id)
    {
        for (int i = 0; i < map.HotSpots().Count(); ++i)
            if (map.HotSpots().Item(i)->ID() == id)
                return *map.HotSpots().Item(i);
        throw std::out_of_range("no country " + std::to_string(id));
    }

    // What a left click on the map does to the game: the press toggles the selection,
    // the release hands the hotspot over.
    void Click(THotSpot& hotSpot)
    {
        hotSpot.ToggleSelected();
        game.Answer(hotSpot);
    }
    void Click(int id) { Click(Country(id)); }
    void AnswerRight() { Click(game.CurrentAnswer()); }
    // A country other than the one asked.
    int WrongCountry() const { return game.CurrentAnswer() == 0 ? 1 : 0; }

    TQuizOutputs Outputs()
    {
        TQuizOutputs outputs;
        outputs.ShowQuestion = [this](const std::string& text) { questions.push_back(text); };
        outputs.ShowScore = [this](const std::string& text) { scores.push_back(text); };
        outputs.ShowMessage = [this](const std::string& text) {
            messages.push_back(text);
            if (whileMessageShows)
                whileMessageShows(text);
        };
        return outputs;
    }

    TMorvane map;
    std::vector<std::string> questions;
    std::vector<std::string> scores;
    std::vector<std::string> messages;
    // Runs while a message is "open", before the game goes on.
    std::function<void(const std::string&)> whileMessageShows;
    TQuizGame game{map.HotSpots(), Outputs()};
};

} // namespace vandora::test
