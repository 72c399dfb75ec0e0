// The browser page's address: each pair is read as the option it names, and
// what is wrong is said in the address's own terms.
#include "web/page_options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(PageOptions, ARunWithEveryPair) {
    const PageOptions options =
        ParsePageOptions("?seed=3&frames=60&size=64x40&dump=1&capture=1,60");
    ASSERT_EQ(options.error, "");
    EXPECT_TRUE(options.seeded);
    EXPECT_EQ(options.seed, 3u);
    EXPECT_TRUE(options.run);
    EXPECT_EQ(options.frames, 60);
    EXPECT_EQ(std::make_pair(options.width, options.height), std::make_pair(64, 40));
    EXPECT_TRUE(options.dump);
    EXPECT_EQ(options.capture, (std::set<long>{1, 60}));
}

class PageRefusal : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(PageRefusal, SaysWhatIsWrongInTheAddressTerms) {
    EXPECT_EQ(ParsePageOptions(GetParam().first).error, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    , PageRefusal,
    testing::Values(
        std::make_pair("?foo=1", "unknown pair 'foo' (seed, frames, size, dump, capture)"),
        // A pair without a value never takes the next pair as its value.
        std::make_pair("?frames&dump=1", "frames= needs a value"),
        std::make_pair("?seed=x", "seed= needs a whole number from 0 to 4294967295, not 'x'"),
        std::make_pair("?dump=1", "dump= and capture= belong to a run: give frames= too")));

} // namespace
