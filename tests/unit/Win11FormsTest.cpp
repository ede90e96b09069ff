// Tests of the corner preference values of the runtime's form base.
#include "runtime/Win11Forms.h"

#include <gtest/gtest.h>

using namespace Veltrano::Win11Forms;

TEST(Win11Forms, CornerValuesFollowTheDefault) {
    const auto saved = DefaultRoundedCorners;
    EXPECT_EQ(DefaultRoundedCorners, TRoundedCornerType::rcOn);
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcDefault), 2);
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcOff), 1);
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcOn), 2);
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcSmall), 3);
    DefaultRoundedCorners = TRoundedCornerType::rcDefault;
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcDefault), 0);
    DefaultRoundedCorners = TRoundedCornerType::rcSmall;
    EXPECT_EQ(CornerPreferenceValue(TRoundedCornerType::rcDefault), 3);
    DefaultRoundedCorners = saved;
}
