#include "game/tile_map.h"

#include "game/level_layout.h"
#include "platform/graphics.h"
#include "platform/platform_state.h"

#include <cstddef>

namespace {
constexpr std::int32_t openTileNumber = 1; // the only tile that is not solid
const Tile openTile{false, false, false, openTileNumber};
const RECT emptyRect{0, 0, 0, 0};

constexpr int atlasColumns = 4;
constexpr int atlasPitch = 33;  // one-pixel line before, between and after the 32-pixel cells
constexpr LONG atlasOrigin = 1; // the first cell starts after that line
constexpr int tileNumbers = 12;

bool SlopesUp(std::int32_t number) {
    return number == 9 || number == 10;
}

bool SlopesDown(std::int32_t number) {
    return number == 4 || number == 5;
}
} // namespace

void TileMap::Build() {
    tiles.resize(static_cast<std::size_t>(columns));
    for (auto& column : tiles) {
        column.resize(static_cast<std::size_t>(rows));
    }
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            Tile& tile = tiles[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
            tile.number = levelLayout[row * levelColumns + column];
            tile.solid = tile.number != openTileNumber;
            tile.slopeUp = SlopesUp(tile.number);
            tile.slopeDown = SlopesDown(tile.number);
        }
    }
}

void TileMap::LoadTiles() {
    texture = LoadTexture("TilesFun2.bmp", 0);
}

void TileMap::BuildSourceRects() {
    sourceRects.assign(tileNumbers + 1, emptyRect);
    for (int number = 1; number <= tileNumbers; ++number) {
        const LONG left = atlasOrigin + atlasPitch * ((number - 1) % atlasColumns);
        const LONG top = atlasOrigin + atlasPitch * ((number - 1) / atlasColumns);
        sourceRects[static_cast<std::size_t>(number)] =
            RECT{left, top, left + tileWidth, top + tileHeight};
    }
}

void TileMap::ReleaseTexture() {
    if (texture != nullptr) {
        texture->Release();
        texture = nullptr;
    }
}

const Tile& TileMap::TileAt(int column, int row) const {
    if (column < 0 || row < 0 || static_cast<std::size_t>(column) >= tiles.size()) {
        return openTile;
    }
    const auto& cells = tiles[static_cast<std::size_t>(column)];
    if (static_cast<std::size_t>(row) >= cells.size()) {
        return openTile;
    }
    return cells[static_cast<std::size_t>(row)];
}

bool TileMap::IsSolidAt(int px, int py) const {
    return TileAt(px / tileWidth, py / tileHeight).solid;
}

bool TileMap::IsSlopeAt(int px, int py) const {
    const int column = px / tileWidth;
    const int row = py / tileHeight;
    Log << column << " " << row << "\n";
    return TileAt(column, row).slopeUp;
}

const RECT& TileMap::SourceRect(int number) const {
    if (number < 0 || static_cast<std::size_t>(number) >= sourceRects.size()) {
        return emptyRect;
    }
    return sourceRects[static_cast<std::size_t>(number)];
}
