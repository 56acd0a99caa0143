#pragma once
// The 34 countries of the quiz's map in its order, each with its ID and bounding box: IDs
// follow the index up to the Netherlands, Luxembourg (ID 21) stands last.

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

} // namespace vandora::test
