#pragma once
// The two game objects: the level and the biker, one global instance each.

#include "game/player.h"
#include "game/tile_map.h"

extern TileMap tileMap;
extern Player player;
