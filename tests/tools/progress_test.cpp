// The progress line's last word: an interrupted run never says it is done.
#include "tarrow-render/progress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string LastLine(bool completed) {
    char text[256] = {};
    std::FILE* out = fmemopen(text, sizeof(text) - 1, "w");
    Progress progress(10, true, out);
    progress.Finish(4, 2.0, completed);
    std::fclose(out);
    return text;
}

TEST(Progress, LiveLineSaysDoneOnlyWhenTheRunCompleted) {
    EXPECT_NE(LastLine(true).find("done in 2.000 s"), std::string::npos) << LastLine(true);
    EXPECT_EQ(LastLine(false).find("done"), std::string::npos) << LastLine(false);
    EXPECT_NE(LastLine(false).find("frame 4 of 10"), std::string::npos) << LastLine(false);
}

} // namespace
