#pragma once
// The game's state, one global each, all defined in game_state.cpp: the level and the biker, the
// play state, the frame's start, the hit sound, the draw position and the key latches. Every item
// is zero, false or null (the objects unbuilt) when the program starts.

#include "game/player.h"
#include "game/tile_map.h"

#include <d3dx9.h>
#include <windows.h>

class SoundClip;

extern TileMap tileMap;
extern Player player;

// 0 until Game_Init succeeds, then gamePlaying. gameIdle would only draw (nothing sets it); any
// other value logs an error every frame.
extern int gameState;
constexpr int gamePlaying = 1; // input, motion and collisions run each frame
constexpr int gameIdle = 2;    // only the drawing runs

extern DWORD frameStartTick;
extern SoundClip* hitSound; // owned; deleted by Game_Shutdown
extern D3DXVECTOR3 drawPosition;

// Latches of the keys whose action fires once per press; a latch clears in every frame in which
// its key is up. In the order the frame clears them.
enum KeyLatch {
    latchRight,
    latchLeft,
    latchUp,
    latchDown,
    latchA,
    latchD,
    latchW,
    latchS,
    latchF,
    latchRightControl,
    latchEscape,
    latchReturn,
    latchSpace,
    keyLatchCount
};
extern bool keyLatch[keyLatchCount];

// Back to the state at program start, for tests that set up the game more than once in one
// process: deletes the hit sound, releases the textures of the level and the biker, and clears
// everything else. Call before the platform's ResetPlatformState, which releases the device.
void ResetGameState();
