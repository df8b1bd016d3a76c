#include "../platform/log_capture.h"
#include "game/tile_map.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class TileMapTest : public testing::Test {
protected:
    void SetUp() override {
        map.Build();
        map.BuildSourceRects();
    }
    TileMap map;
    LogCapture log;
};

TEST_F(TileMapTest, GridIsIndexedColumnFirstFromTheRowByRowLayout) {
    EXPECT_EQ(map.TileAt(0, 0).number, 2);
    EXPECT_EQ(map.TileAt(1, 0).number, 7);
    EXPECT_EQ(map.TileAt(0, 1).number, 2);
    EXPECT_EQ(map.TileAt(1, 1).number, 8);
    EXPECT_EQ(map.TileAt(13, 0).number, 11);
    EXPECT_EQ(map.TileAt(25, 4).number, 10);
    EXPECT_EQ(map.TileAt(31, 23).number, 2);
}

TEST_F(TileMapTest, LevelHasTheExpectedMixOfTilesAndIsClosedOnAllSides) {
    std::map<int, int> count;
    for (int column = 0; column < map.Columns(); ++column) {
        for (int row = 0; row < map.Rows(); ++row) {
            ++count[map.TileAt(column, row).number];
        }
    }
    EXPECT_EQ(count[1], 401);
    EXPECT_EQ(count[10], 19);
    EXPECT_EQ(count[9], 18);
    for (int column = 0; column < map.Columns(); ++column) {
        EXPECT_TRUE(map.TileAt(column, 0).solid) << column;
        EXPECT_TRUE(map.TileAt(column, map.Rows() - 1).solid) << column;
    }
    for (int row = 0; row < map.Rows(); ++row) {
        EXPECT_TRUE(map.TileAt(0, row).solid) << row;
        EXPECT_TRUE(map.TileAt(map.Columns() - 1, row).solid) << row;
    }
}

TEST_F(TileMapTest, FlagsFollowTheTileNumber) {
    for (int column = 0; column < map.Columns(); ++column) {
        for (int row = 0; row < map.Rows(); ++row) {
            const Tile& tile = map.TileAt(column, row);
            SCOPED_TRACE(testing::Message() << "tile " << tile.number);
            EXPECT_EQ(tile.solid, tile.number != 1);
            EXPECT_EQ(tile.slopeUp, tile.number == 9 || tile.number == 10);
            EXPECT_EQ(tile.slopeDown, tile.number == 4 || tile.number == 5);
        }
    }
}

TEST_F(TileMapTest, PointQueriesTruncateTowardZero) {
    // Row 19 is open from column 1 to 26; column 0 is the solid border.
    EXPECT_TRUE(map.IsSolidAt(31, 630));
    EXPECT_FALSE(map.IsSolidAt(32, 630));
    EXPECT_TRUE(map.IsSolidAt(300, 767)); // row 23
    EXPECT_FALSE(map.IsSolidAt(300, 735 - 32));
    // -5 and -31 still land in column 0 and row 0.
    EXPECT_TRUE(map.IsSolidAt(-5, 630));
    EXPECT_TRUE(map.IsSolidAt(100, -31));
}

TEST_F(TileMapTest, SlopeQueryLogsColumnAndRowWhateverTheAnswer) {
    EXPECT_TRUE(map.IsSlopeAt(830, 140));
    EXPECT_FALSE(map.IsSlopeAt(300, 630));
    EXPECT_FALSE(map.IsSlopeAt(13 * 32 + 4, 21 * 32 + 9)); // a flat surface
    EXPECT_EQ(log.TakeLines(), (std::vector<std::string>{"25 4", "9 19", "13 21"}));
}

TEST_F(TileMapTest, PointsOffTheGridAreOpenAndReadNothingOutside) {
    const int offGrid[][2] = {{-32, 100},          {100, -32},         {1024, 100},
                              {100, 768},          {-100000, -100000}, {2147483647, 2147483647},
                              {-2147483647 - 1, 0}};
    for (const auto& point : offGrid) {
        EXPECT_FALSE(map.IsSolidAt(point[0], point[1])) << point[0] << "," << point[1];
        EXPECT_FALSE(map.IsSlopeAt(point[0], point[1])) << point[0] << "," << point[1];
    }
    EXPECT_FALSE(map.TileAt(32, 0).solid);
    EXPECT_FALSE(map.TileAt(0, -1).solid);
    const auto lines = log.TakeLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "-1 3");
    EXPECT_EQ(lines[1], "3 -1");
    EXPECT_EQ(lines[3], "3 24");
}

TEST_F(TileMapTest, SourceRectanglesFollowTheAtlasGrid) {
    const RECT zero{0, 0, 0, 0};
    auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(same(map.SourceRect(0), zero));
    EXPECT_TRUE(same(map.SourceRect(1), RECT{1, 1, 33, 33}));
    EXPECT_TRUE(same(map.SourceRect(4), RECT{100, 1, 132, 33}));
    EXPECT_TRUE(same(map.SourceRect(5), RECT{1, 34, 33, 66}));
    EXPECT_TRUE(same(map.SourceRect(12), RECT{100, 67, 132, 99}));
    EXPECT_TRUE(same(map.SourceRect(13), zero));
    EXPECT_TRUE(same(map.SourceRect(-1), zero));
}

TEST(TileMapConstruction, StartsEmptyWithItsSizes) {
    TileMap map;
    EXPECT_EQ(map.TileWidth(), 32);
    EXPECT_EQ(map.TileHeight(), 32);
    EXPECT_EQ(map.Columns(), 32);
    EXPECT_EQ(map.Rows(), 24);
    EXPECT_EQ(map.Texture(), nullptr);
    EXPECT_FALSE(map.IsSolidAt(0, 0)); // nothing built yet: open, not a read of an empty grid
}

} // namespace
