#include "game/game_objects.h"

TileMap tileMap;
Player player;
