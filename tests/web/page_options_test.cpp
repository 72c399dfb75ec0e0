// The browser page's address: each pair is read as the option it names, and
// what is wrong is said in the address's own terms.
#include "page_options.h"

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

// What URLSearchParams writes for {frames: 2, capture: '1,2'}, and a name
// escaped as well.
TEST(PageOptions, PercentEscapesAreDecoded) {
    const PageOptions options = ParsePageOptions("?frames=2&capture=1%2C2&%73eed=4");
    ASSERT_EQ(options.error, "");
    EXPECT_EQ(options.capture, (std::set<long>{1, 2}));
    EXPECT_EQ(options.seed, 4u);
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
        std::make_pair("?dump=1", "dump= and capture= belong to a run: give frames= too"),
        // Frames a run never draws are never read back.
        std::make_pair("?frames=5&capture=9",
                       "capture= frame 9 lies outside the run's frames 1 to 5"),
        std::make_pair("?frames=5&capture=3,6,9",
                       "capture= frames 6, 9 lie outside the run's frames 1 to 5"),
        std::make_pair("?frames=0&capture=1",
                       "capture= would read back no frame: frames=0 draws none"),
        std::make_pair("?seed=1&seed=2", "seed= is given twice; the address gives each pair once"),
        std::make_pair("?frames=2&capture=1%2", "'capture=1%2' has a malformed escape: % takes two "
                                                "hex digits, not '%2'"),
        std::make_pair("?fr%G1mes=2", "'fr%G1mes=2' has a malformed escape: % takes two hex "
                                      "digits, not '%G1'"),
        // A NUL would end the value early, leaving "1" to be read.
        std::make_pair("?seed=1%00junk", "'seed=1%00junk' has a control character, %00"),
        // '+' is a space, as in what URLSearchParams writes.
        std::make_pair("?seed=+1", "seed= needs a whole number from 0 to 4294967295, not ' 1'")));

} // namespace
