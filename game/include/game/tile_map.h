#pragma once
// The level: a fixed grid of tiles built from the level layout, the tile atlas and the point
// queries that collisions ask in screen pixels.

#include <d3d9.h>
#include <windows.h>

#include <cstdint>
#include <vector>

struct Tile {
    bool solid = false;
    bool slopeUp = false;   // the incline rising to the right, which the biker rides up
    bool slopeDown = false; // the incline falling to the right; no rule of play reads it
    std::int32_t number = 0;
};

class TileMap {
public:
    // Sizes and fills the grid from the level layout.
    void Build();
    // Loads the tile atlas; a failed load leaves the texture null (the loader logs it).
    void LoadTiles();
    // Thirteen atlas rectangles indexed by tile number; entry 0 stays empty.
    void BuildSourceRects();
    // Gives the atlas texture back, once; called at exit.
    void ReleaseTexture();

    // Point queries in screen pixels. A point off the grid is open: neither solid nor a slope.
    bool IsSolidAt(int px, int py) const;
    // Also writes the queried column and row to the log, whatever the answer.
    bool IsSlopeAt(int px, int py) const;

    // Off the grid this is an open tile.
    const Tile& TileAt(int column, int row) const;
    // An unknown tile number gives an empty rectangle.
    const RECT& SourceRect(int number) const;
    IDirect3DTexture9* Texture() const { return texture; }

    int TileWidth() const { return tileWidth; }
    int TileHeight() const { return tileHeight; }
    int Columns() const { return columns; }
    int Rows() const { return rows; }

private:
    std::vector<std::vector<Tile>> tiles; // [column][row]
    std::vector<RECT> sourceRects;
    IDirect3DTexture9* texture = nullptr;
    int tileWidth = 32;
    int tileHeight = 32;
    int columns = 32;
    int rows = 24;
};
