#include "support/error_number.h"
#include "controls/progress_bar.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using namespace controls;

namespace {
} // namespace

TEST(ProgressBar, ValueMustLieBetweenMinAndMax)
{
    ProgressBar bar;
    bar.setMax(12);
    for (int value = -2; value <= 14; ++value) {
        SCOPED_TRACE(value);
        const int expected = value < 0 || value > 12 ? 380 : 0;
        EXPECT_EQ(errorNumber([&] { bar.setValue(value); }), expected);
        if (expected == 0) {
            EXPECT_EQ(bar.value(), value);
        }
    }
    EXPECT_EQ(bar.value(), 12);
    try {
        bar.setValue(13);
    } catch (const host::Error &e) {
        EXPECT_EQ(e.description(), host::errorText(380, host::errorLanguage()));
    }
}

TEST(ProgressBar, RangeChangesKeepMinBelowMaxAndValueInside)
{
    ProgressBar bar;
    EXPECT_EQ(bar.min(), 0);
    EXPECT_EQ(bar.max(), 100);
    bar.setValue(80);
    bar.setMax(50);
    EXPECT_EQ(bar.value(), 50);
    EXPECT_EQ(errorNumber([&] { bar.setMax(0); }), 380);
    EXPECT_EQ(errorNumber([&] { bar.setMin(50); }), 380);
    bar.setMin(10);
    bar.setValue(10);
    bar.setMin(20);
    EXPECT_EQ(bar.value(), 20);
    // The finish sequence of a progress display: value to max, then 0 and max 1.
    bar.setMin(0);
    bar.setValue(bar.max());
    bar.setValue(0);
    bar.setMax(1);
    EXPECT_EQ(bar.max(), 1);
    EXPECT_EQ(bar.value(), 0);
}
