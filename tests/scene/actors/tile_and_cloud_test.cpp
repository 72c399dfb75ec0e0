// Floor tiles and clouds: a tile's size rule and a cloud's wrap.
#include "scene/actors/Cloud.h"
#include "scene/actors/Floor.h"
#include "tests/scene/draws.h"

#include <gtest/gtest.h>

namespace {

// A seed whose fourth draw (the tile's x scale) leaves `remainder` mod 10000.
unsigned SeedForScaleDraw(int remainder) {
    return SeedWhereDraw(3, [=](int r) { return r % 10000 == remainder; });
}

TEST(Tile, ScaleDrawJustBelowNineIsReplacedBy29) {
    platform::srand(SeedForScaleDraw(1053)); // 53 / 6, about 8.83
    const Floor tile;
    EXPECT_EQ(tile.scaleX, 29.0f);
}

TEST(Tile, ScaleDrawOfExactlyNineStays) {
    platform::srand(SeedForScaleDraw(1054));
    const Floor tile;
    EXPECT_EQ(tile.scaleX, 9.0f);
}

class CloudDrift : public testing::Test {
  protected:
    CloudDrift() {
        cloud.speed = 50.0f;
        cloud.posX = 1189950.0f;
    }
    Cloud cloud;
};

TEST_F(CloudDrift, CloudExactlyAtSevenWorldsIsNotWrapped) {
    cloud.CalcCloud();
    EXPECT_EQ(cloud.posX, 1190000.0f);
}

TEST_F(CloudDrift, CloudPastSevenWorldsComesBackAtExactlyMinusSeven) {
    cloud.CalcCloud();
    cloud.CalcCloud();
    EXPECT_EQ(cloud.posX, -1190000.0f);
}

} // namespace
