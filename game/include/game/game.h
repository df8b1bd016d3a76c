#pragma once
// The game as the shell sees it: set-up, one frame of play and drawing, shutdown, and the state
// those routines share.

#include <d3dx9.h>
#include <windows.h>

class SoundClip;

// 0 until Game_Init succeeds, then 1 (playing). 2 would only draw; any other value logs an error
// every frame.
extern int gameState;
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

// 1 on success; 0 when the hit sound cannot be loaded. The window is not used.
int Game_Init(HWND window);
// Input, motion, collisions and diagnostics while playing; then drawing, the Escape request to
// `window`, and the wait until the frame has lasted 15 ms.
void Game_Frame(HWND window);
// Frees the hit sound and writes the closing lines of the log.
void Game_Shutdown(HWND window);
