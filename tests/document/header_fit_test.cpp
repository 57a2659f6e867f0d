// The font fitting of the document window's header: grow by 2, 3, 4 ... points while the
// header is narrower than the window, then back by steps one smaller until it fits.
#include <gtest/gtest.h>

#include <vector>

#include "document/header_fit.h"

namespace talveron::document {
namespace {

TEST(HeaderFit, AHeaderWiderThanTheWindowKeepsTheStartingSize) {
    std::vector<int> asked;
    auto measure = [&](int size) {
        asked.push_back(size);
        return size * 100;
    };
    EXPECT_EQ(FitHeaderFontSize(9, 500, measure), 9);
    EXPECT_EQ(asked, std::vector<int>{9});  // the first shrinking step is 0 points
}

TEST(HeaderFit, GrowsByRisingStepsThenShrinksByFallingSteps) {
    std::vector<int> asked;
    // Ten units per point: 9 -> 11 -> 14 -> 18 (too wide) -> 15 fits.
    auto measure = [&](int size) {
        asked.push_back(size);
        return size * 10;
    };
    EXPECT_EQ(FitHeaderFontSize(9, 165, measure), 15);
    EXPECT_EQ(asked, (std::vector<int>{9, 11, 14, 18, 15}));
}

TEST(HeaderFit, ShrinkingStopsWhenTheStepsRunOut) {
    std::vector<int> asked;
    // Fits at 9 and 11, too wide from 14 on: 14 -> 12 (too wide) -> 11 (too wide) -> stop.
    auto measure = [&](int size) {
        asked.push_back(size);
        return size <= 11 ? 100 : 1000;
    };
    EXPECT_EQ(FitHeaderFontSize(9, 500, measure), 11);
    EXPECT_EQ(asked, (std::vector<int>{9, 11, 14, 12, 11}));
}

TEST(HeaderFit, AnEmptyOrTinyHeaderStopsAtTheLimit) {
    const int size = FitHeaderFontSize(
        9, 500, [](int) { return 0; }, 60);
    EXPECT_LE(size, 60);
    EXPECT_GE(size, 50);
}

}  // namespace
}  // namespace talveron::document
