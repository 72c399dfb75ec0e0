// Mover motion, shared by all four mover classes, and what sets the mover
// classes apart at construction.
#include "scene/actors/Moverz.h"
#include "scene/actors/Moverzbl.h"
#include "tests/scene/actors/fields.h"
#include "tests/scene/draws.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

constexpr int kPlusX = 0;
constexpr int kMinusX = 1;

class MoverMotion : public testing::Test {
  protected:
    MoverMotion() {
        mover.direction = kPlusX;
        mover.speed = 5.0f;
        mover.laneOffset = 25.0f;
    }
    // One step that crosses a blocksize of travel, from `direction` and `seed`.
    MoverRecord DecideFrom(int direction, unsigned seed) {
        MoverRecord deciding = mover;
        deciding.direction = direction;
        deciding.travelled = 24000.0f;
        platform::srand(seed);
        MoveMover(deciding);
        return deciding;
    }

    MoverRecord mover;
};

TEST_F(MoverMotion, FullBlockOfTravelIsNoDecisionYet) {
    const int draws = DrawsMadeBy([&] {
        for (int frame = 0; frame < 4800; ++frame) {
            MoveMover(mover);
        }
    });
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(mover.travelled, 24000.0f);
    EXPECT_EQ(mover.posX, 24000.0f);
    EXPECT_EQ(mover.direction, kPlusX);
}

TEST_F(MoverMotion, DecisionSetsTheMoverBackToExactlyOneBlock) {
    for (int frame = 0; frame < 4800; ++frame) {
        MoveMover(mover);
    }
    EXPECT_EQ(DrawsMadeBy([&] { MoveMover(mover); }), 1);
    EXPECT_EQ(mover.travelled, 0.0f);
    EXPECT_EQ(mover.posX, 24000.0f); // 24005, less the 5 beyond the block
    EXPECT_EQ(mover.posY, 0.0f);
}

// The travel is a float after each step: the excess beyond the block comes
// from the sum rounded, not from a wider one (as an x87 unit keeps it).
TEST_F(MoverMotion, ExcessComesFromTheTravelRoundedToAFloat) {
    mover.direction = kMinusX;
    mover.posX = -105857.109f;
    mover.speed = 10.6999998f;
    mover.travelled = 23999.7559f;
    MoveMover(mover);
    EXPECT_EQ(mover.posX, -105857.359f);
}

TEST_F(MoverMotion, LeavingAtPlusBoundComesBackAtMinusBound) {
    mover.posX = 169998.0f;
    mover.travelled = 100.0f;
    MoveMover(mover);
    EXPECT_EQ(mover.posX, -170000.0f);
    EXPECT_EQ(mover.travelled, 5.0f);
}

TEST_F(MoverMotion, ReachingMinusBoundExactlyDoesNotWrap) {
    mover.direction = kMinusX;
    mover.posX = -169995.0f;
    MoveMover(mover);
    EXPECT_EQ(mover.posX, -170000.0f);
    MoveMover(mover);
    EXPECT_EQ(mover.posX, 170000.0f);
    EXPECT_EQ(mover.travelled, 5.0f);
}

TEST_F(MoverMotion, TurnsFollowTheTableAndNeverReverse) {
    constexpr int kTurns[4][3] = {{0, 2, 3}, {1, 2, 3}, {0, 1, 2}, {0, 1, 3}};
    for (int direction = 0; direction < 4; ++direction) {
        std::set<int> reached;
        for (unsigned seed = 1; seed <= 30; ++seed) {
            const MoverRecord turned = DecideFrom(direction, seed);
            EXPECT_EQ(turned.direction, kTurns[direction][turned.turnDraw]) << "from " << direction;
            reached.insert(turned.direction);
        }
        EXPECT_EQ(reached, std::set<int>(kTurns[direction], kTurns[direction] + 3));
    }
}

TEST_F(MoverMotion, EveryDecisionPutsTheBoxRightOfItsWay) {
    // Offsets (x, y) for +x, -x, +y, -y at a lane offset of 25.
    constexpr std::array<std::array<float, 2>, 4> kRight = {
        {{0.0f, -25.0f}, {0.0f, 25.0f}, {25.0f, 0.0f}, {-25.0f, 0.0f}}};
    for (int direction = 0; direction < 4; ++direction) {
        for (unsigned seed = 1; seed <= 30; ++seed) {
            const MoverRecord turned = DecideFrom(direction, seed);
            EXPECT_EQ((std::array<float, 2>{turned.offsetX, turned.offsetY}),
                      kRight[turned.direction]);
        }
    }
}

TEST_F(MoverMotion, FirstDecisionKeepingTheWayStillLeavesTheLaneLine) {
    // A turn draw divisible by 3 keeps +x.
    const MoverRecord kept = DecideFrom(kPlusX, SeedWhereDraw(0, [](int r) { return r % 3 == 0; }));
    EXPECT_EQ(kept.direction, kPlusX);
    EXPECT_EQ(kept.offsetX, 0.0f);
    EXPECT_EQ(kept.offsetY, -25.0f);
}

TEST_F(MoverMotion, DirectionOutsideTheFourDoesNothing) {
    for (const int direction : {4, -1}) {
        mover.direction = direction;
        mover.travelled = 24000.0f;
        const MoverRecord before = mover;
        EXPECT_EQ(DrawsMadeBy([&] { MoveMover(mover); }), 0);
        EXPECT_EQ(Fields(mover), Fields(before));
    }
}

// From seed 1 the draws run 41, 18467, 6334, 26500, 19169, 15724, 11478,
// 29358, 26962, 24464, 5705, 28145: the sixth is thrown away after the scales.
TEST(MoverConstruction, BlueMoverThrowsAwayTheDrawBeforeItsColour) {
    platform::srand(1);
    const Moverzbl2 blue;
    EXPECT_EQ(blue.record.posX, -64959.0f);
    EXPECT_EQ(blue.record.posY, -46533.0f);
    EXPECT_FLOAT_EQ(blue.record.scaleX, 64.36f);
    EXPECT_FLOAT_EQ(blue.record.scaleY, 7.0f);
    EXPECT_EQ(blue.record.colorR, 169);
    EXPECT_EQ(blue.record.colorG, 3);
    EXPECT_EQ(blue.record.colorB, 33);
    EXPECT_EQ(blue.record.direction, 1);
    EXPECT_FLOAT_EQ(blue.record.speed, 5.4571428f);
    EXPECT_EQ(blue.record.coinToss, 1);
}

TEST(MoverConstruction, GlowingSquareThrowsAwayTheDrawBeforeItsColour) {
    platform::srand(1);
    const Moverzbl3 square;
    EXPECT_EQ(square.record.posX, -44959.0f);
    EXPECT_EQ(square.record.posY, -26533.0f);
    EXPECT_EQ(square.record.posZ, 29000.0f);
    EXPECT_FLOAT_EQ(square.record.scaleX, 4.8022814f);
    EXPECT_FLOAT_EQ(square.record.scaleY, 2.1112167f);
    EXPECT_EQ(square.record.colorR, 3);
    EXPECT_EQ(square.record.colorG, 33);
    EXPECT_EQ(square.record.colorB, 187);
    EXPECT_EQ(square.record.direction, 2);
    EXPECT_FLOAT_EQ(square.record.speed, 5.75f);
    EXPECT_EQ(square.record.coinToss, 1);
}

} // namespace
