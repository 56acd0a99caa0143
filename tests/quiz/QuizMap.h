#pragma once
// A real map control holding the 34 countries in the order of the quiz's map: IDs follow
// the index up to the Netherlands, Luxembourg (ID 21) stands last. Each country is its
// bounding box, which is enough for the game, and the game's outputs are recorded.
#include "hotspot/Morvane.h"
#include "quiz/QuizGame.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vandora::test {

struct TMapCountry {
    int id;
    const char* name;
    int x, y, width, height;
};

inline constexpr TMapCountry MapCountries[] = {
    {0, "Norway", 151, 2, 90, 162},       {1, "Sweden", 183, 33, 48, 156},
    {2, "Finland", 207, 13, 71, 112},     {3, "Estonia", 255, 120, 31, 24},
    {4, "Latvia", 249, 140, 46, 28},      {5, "Lithuania", 250, 159, 38, 27},
    {6, "Belarus", 274, 151, 62, 57},     {7, "Ukraine", 282, 177, 117, 86},
    {8, "Moldava", 314, 233, 23, 27},     {9, "Romania", 274, 238, 74, 56},
    {10, "Bulgaria", 300, 279, 46, 40},   {11, "Greece", 294, 312, 44, 61},
    {12, "Albania", 280, 314, 17, 31},    {13, "Serbia", 264, 276, 41, 46},
    {14, "Bosnia", 243, 291, 32, 24},     {15, "Croatia", 227, 278, 41, 35},
    {16, "Italia", 175, 280, 104, 92},    {17, "Swiss", 168, 276, 36, 20},
    {18, "Austria", 198, 255, 52, 27},    {19, "Germany", 165, 201, 63, 78},
    {20, "Netherlands", 147, 215, 24, 28}, {22, "Belgium", 141, 237, 26, 20},
    {23, "France", 90, 243, 93, 94},      {24, "Spain", 49, 320, 101, 85},
    {25, "United Kingdom", 87, 158, 49, 94}, {26, "Ireland", 55, 194, 35, 42},
    {27, "Iceland", 12, 56, 48, 39},      {28, "Macedonia", 289, 313, 23, 18},
    {29, "Slovakia", 248, 239, 35, 24},   {30, "Czech Republic", 209, 233, 48, 27},
    {31, "Poland", 216, 184, 72, 62},     {32, "Portugal", 42, 338, 31, 55},
    {33, "Slovenia", 226, 276, 21, 19},   {21, "Luxemburg", 164, 252, 4, 5},
};

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
