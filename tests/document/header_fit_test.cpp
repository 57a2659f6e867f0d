// The font fitting of the document window's header: grow by 2, 3, 4 ... points while the
// header is narrower than the window, then back by steps one smaller until it fits.
#include <gtest/gtest.h>

#include "document/header_fit.h"

namespace talveron::document {
namespace {

TEST(HeaderFit, GrowsByRisingStepsThenShrinksByFallingSteps) {
    const struct {
        int window;
        std::function<int(int)> width;
        int size;
        std::vector<int> asked;
    } cases[] = {
        {500, [](int s) { return s * 100; }, 9, {9}},  // too wide at once: the first step is 0
        {165, [](int s) { return s * 10; }, 15, {9, 11, 14, 18, 15}},
        {500, [](int s) { return s <= 11 ? 100 : 1000; }, 11, {9, 11, 14, 12, 11}},
    };
    for (const auto& c : cases) {
        std::vector<int> asked;
        EXPECT_EQ(
            FitHeaderFontSize(9, c.window, [&](int s) { return asked.push_back(s), c.width(s); }),
            c.size);
        EXPECT_EQ(asked, c.asked);
    }
    const int size = FitHeaderFontSize(
        9, 500, [](int) { return 0; }, 60);  // an empty header
    EXPECT_TRUE(size <= 60 && size >= 50) << size;
}

}  // namespace
}  // namespace talveron::document
