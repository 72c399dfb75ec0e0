// The start-up layout: the nine arrays are built from the unseeded generator
// in a fixed order, and every family's drawn fields keep to their ranges.
#include "scene/vesk_nb_17.h"
#include "tests/scene/actors/fields.h"
#include "tests/scene/draws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

testing::AssertionResult Within(double value, double low, double high) {
    if (value >= low && value <= high) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << value << " outside " << low << " .. " << high;
}

template <class T>
void ExpectSameAsGlobal(const std::vector<T>& fresh, const T* global) {
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if constexpr (requires { fresh[i].record; }) {
            ASSERT_EQ(Fields(fresh[i].record), Fields(global[i].record)) << "element " << i;
        } else {
            ASSERT_EQ(Fields(fresh[i]), Fields(global[i])) << "element " << i;
        }
    }
}

// The first array built draws from a generator at its start: seed 1.
TEST(Layout, AllNineArraysAreDrawnInBuildingOrderFromSeedOne) {
    platform::srand(1);
    const std::vector<Lampje> lamps(kLampjes);
    const std::vector<Camera> cameras(kCameras);
    const std::vector<Floor> floors(kFloors);
    const std::vector<Cloud> clouds(kClouds);
    const std::vector<Carz> blocks(kBlocks);
    const std::vector<Moverz> movers(kMovers);
    const std::vector<Moverzbl> reds(kRedMovers);
    const std::vector<Moverzbl2> blues(kBlueMovers);
    const std::vector<Moverzbl3> squares(kGlowSquares);
    for (const Carz& block : blocks) {
        delete[] block.corners;
    }
    ExpectSameAsGlobal(lamps, licht);
    ExpectSameAsGlobal(cameras, Zenith);
    ExpectSameAsGlobal(floors, vloer);
    ExpectSameAsGlobal(clouds, cloudz);
    ExpectSameAsGlobal(blocks, kar);
    ExpectSameAsGlobal(movers, mover);
    ExpectSameAsGlobal(reds, moverbl);
    ExpectSameAsGlobal(blues, moverbl2);
    ExpectSameAsGlobal(squares, moverbl3);
}

TEST(Layout, FloorTilesLieLowAndAreSizedOrReplaced) {
    for (const Floor& tile : vloer) {
        EXPECT_TRUE(Within(tile.posX, -290000.0f, 168738.0f));
        EXPECT_TRUE(Within(tile.posY, -290000.0f, 168738.0f));
        EXPECT_TRUE(Within(tile.posZ, -144500.0f, -13432.0f));
        for (const float scale : {tile.scaleX, tile.scaleY}) {
            EXPECT_TRUE(scale == 29.0f || (scale >= 9.0f && scale <= 1499.84f)) << scale;
        }
        EXPECT_TRUE(Within(tile.colorR, 0, 254));
        EXPECT_EQ(tile.colorG, tile.colorR);
        EXPECT_EQ(tile.colorB, tile.colorR);
    }
}

TEST(Layout, CloudsStartWestOfTheWorldWithTheirSizesAndSpeeds) {
    for (const Cloud& cloud : cloudz) {
        EXPECT_TRUE(Within(cloud.posX, -340000.0f, -208932.0f));
        EXPECT_TRUE(Within(cloud.posY, -340000.0f, -208932.0f));
        EXPECT_TRUE(Within(cloud.posZ, 8000.0f, 40767.0f));
        EXPECT_TRUE(Within(cloud.scaleX, 250.0f, 766.65f));
        EXPECT_TRUE(Within(cloud.scaleY, 250.0f, 766.65f));
        EXPECT_TRUE(Within(cloud.speed, 40.0f, 73.325f));
    }
}

// Within 0.02 of an offset from -16.667 to -3.014 below one of the 14 bases
// -182000, -158000, ..., 130000.
bool NearGridBase(float value) {
    for (int k = 0; k < 14; ++k) {
        const double offset = value - (-182000.0 + 24000.0 * k);
        if (offset >= -16.687 && offset <= -2.994) {
            return true;
        }
    }
    return false;
}

TEST(Layout, BlockBasesSitOnTheFourteenCellGrid) {
    for (const Carz& block : kar) {
        EXPECT_TRUE(NearGridBase(block.posX)) << block.posX;
        EXPECT_TRUE(NearGridBase(block.posY)) << block.posY;
    }
}

TEST(Layout, BlocksKeepToTheirDrawnRanges) {
    for (const Carz& block : kar) {
        EXPECT_TRUE(Within(block.posZ, -50000.0f, -17233.0f));
        EXPECT_EQ(block.posZ, static_cast<float>(static_cast<int>(block.posZ)));
        for (const float size : {block.size, block.size2}) {
            EXPECT_TRUE(Within(size, 0.12f, 33.436668f));
        }
        EXPECT_TRUE(Within(block.stretch, 1.0f, 370.0f));
        EXPECT_EQ(block.stretch, static_cast<float>(static_cast<int>(block.stretch)));
        for (const int colour : {block.colorR, block.colorG, block.colorB}) {
            EXPECT_TRUE(Within(colour, 0, 54));
        }
        EXPECT_TRUE(Within(block.shape, 0, 2));
        EXPECT_TRUE(block.blend == 0 || block.blend == 1);
    }
}

TEST(Layout, AboutOneBlockInFourIsOpaque) {
    const auto opaque =
        std::count_if(kar, kar + kBlocks, [](const Carz& b) { return b.blend == 0; });
    EXPECT_GT(opaque, 500);
    EXPECT_LT(opaque, 700);
}

// What every mover family shares at the start: on its lane line, no turn
// made yet, the lane offset five times the speed.
void ExpectFreshCourse(const MoverRecord& m) {
    EXPECT_EQ(m.travelled, 0.0f);
    EXPECT_EQ(m.turnDraw, 0);
    EXPECT_EQ(m.offsetX, 0.0f);
    EXPECT_EQ(m.offsetY, 0.0f);
    EXPECT_FLOAT_EQ(m.laneOffset, m.speed * 5);
    for (const int colour : {m.colorR, m.colorG, m.colorB}) {
        EXPECT_TRUE(Within(colour, 0, 254));
    }
}

void ExpectStartIn(const MoverRecord& m, float low, float high) {
    EXPECT_TRUE(Within(m.posX, low, high));
    EXPECT_TRUE(Within(m.posY, low, high));
}

TEST(Layout, GlowingMoversKeepToTheirRanges) {
    for (const Moverz& glowing : mover) {
        const MoverRecord& m = glowing.record;
        ExpectFreshCourse(m);
        ExpectStartIn(m, 35000.0f, 67767.0f);
        EXPECT_TRUE(Within(m.posZ, 24000.0f, 131667.0f));
        for (const float scale : {m.scaleX, m.scaleY, m.scaleZ}) {
            EXPECT_TRUE(Within(scale, 3.0f, 1266.11f));
        }
        EXPECT_TRUE(Within(m.speed, 5.0f, 7.85f));
        EXPECT_TRUE(m.coinToss == 0 || m.coinToss == 1);
    }
}

TEST(Layout, RedMoversAreSquareFootedOnTheGroundAndFastest) {
    for (const Moverzbl& red : moverbl) {
        const MoverRecord& m = red.record;
        ExpectFreshCourse(m);
        ExpectStartIn(m, -85000.0f, -52233.0f);
        EXPECT_EQ(m.posZ, 0.0f);
        EXPECT_TRUE(Within(m.scaleX, 33.0f, 972.9f));
        EXPECT_EQ(m.scaleY, m.scaleX);
        EXPECT_TRUE(Within(m.scaleZ, 3.0f, 447.34f));
        EXPECT_TRUE(Within(m.speed, 8.0f, 10.85f));
        EXPECT_TRUE(Within(m.laneOffset, 40.0f, 54.2501f));
        EXPECT_EQ(m.coinToss, 0);
    }
}

TEST(Layout, BlueMoversAreSmallCubesAtHeight2000) {
    for (const Moverzbl2& blue : moverbl2) {
        const MoverRecord& m = blue.record;
        ExpectFreshCourse(m);
        ExpectStartIn(m, -65000.0f, -32233.0f);
        EXPECT_EQ(m.posZ, 2000.0f);
        EXPECT_TRUE(Within(m.scaleX, 3.0f, 98.96f));
        EXPECT_TRUE(Within(m.scaleY, 3.0f, 98.96f));
        EXPECT_EQ(m.scaleZ, m.scaleX);
        EXPECT_TRUE(Within(m.speed, 5.0f, 7.85f));
    }
}

TEST(Layout, GlowingSquareFloatsAtOneOfNineHeights) {
    const MoverRecord& m = moverbl3[0].record;
    ExpectFreshCourse(m);
    ExpectStartIn(m, -45000.0f, -12233.0f);
    const std::set<float> heights = {1000, 5000, 9000, 13000, 17000, 21000, 25000, 29000, 33000};
    EXPECT_TRUE(heights.contains(m.posZ)) << m.posZ;
    EXPECT_TRUE(Within(m.scaleX, 1.0f, 5.277f));
    EXPECT_TRUE(Within(m.scaleY, 1.0f, 5.277f));
    EXPECT_EQ(m.scaleZ, m.scaleX);
    EXPECT_TRUE(Within(m.speed, 5.0f, 7.85f));
}

TEST(Layout, NoMoverOfAnyFamilyStartsGoingMinusY) {
    std::set<int> directions;
    for (const Moverz& m : mover) {
        directions.insert(m.record.direction);
    }
    for (const Moverzbl& m : moverbl) {
        directions.insert(m.record.direction);
    }
    for (const Moverzbl2& m : moverbl2) {
        directions.insert(m.record.direction);
    }
    directions.insert(moverbl3[0].record.direction);
    EXPECT_EQ(directions, (std::set<int>{0, 1, 2}));
}

// Leaving out a draw, or adding one, shifts every later object of the layout.
TEST(Layout, EachConstructorTakesItsNumberOfDraws) {
    EXPECT_EQ(DrawsMadeBy([] { Lampje fresh; }), 12);
    EXPECT_EQ(DrawsMadeBy([] { Camera fresh; }), 0);
    EXPECT_EQ(DrawsMadeBy([] { Floor fresh; }), 6);
    EXPECT_EQ(DrawsMadeBy([] { Cloud fresh; }), 6);
    EXPECT_EQ(DrawsMadeBy([] { delete[] Carz().corners; }), 13);
    EXPECT_EQ(DrawsMadeBy([] { Moverz fresh; }), 12);
    EXPECT_EQ(DrawsMadeBy([] { Moverzbl fresh; }), 9);
    EXPECT_EQ(DrawsMadeBy([] { Moverzbl2 fresh; }), 11);
    EXPECT_EQ(DrawsMadeBy([] { Moverzbl3 fresh; }), 12);
}

} // namespace
