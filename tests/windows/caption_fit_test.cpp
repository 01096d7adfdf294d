// Every caption fits its control (the measure in CaptionFit.h).
#include "tests/windows/CaptionFit.h"
#include "tests/windows/TestProgram.h"

#include <gtest/gtest.h>

namespace {

class CaptionFitTest : public StoreTest, public ::testing::WithParamInterface<const char*> {};

} // namespace

TEST_P(CaptionFitTest, EveryCaptionFitsItsControl)
{
    StartWithStored(dialogs, {{"Mode", GetParam()}});
    std::vector<std::string> all = CaptionFaults();
    EXPECT_TRUE(all.empty()) << FaultList(all);
}

INSTANTIATE_TEST_SUITE_P(BothModes, CaptionFitTest, ::testing::Values("rich", "plain"));
