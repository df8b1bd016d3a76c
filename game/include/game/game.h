#pragma once
// The game as the shell sees it: set-up, one frame of play and drawing, and shutdown, over the
// state in game/game_state.h.

#include "game/game_state.h"

#include <windows.h>

// 1 on success; 0 when the hit sound cannot be loaded. The window is not used.
int Game_Init(HWND window);
// Input, motion, collisions and diagnostics while playing; then drawing, the Escape request to
// `window`, and the wait until the frame has lasted 15 ms.
void Game_Frame(HWND window);
// Frees the hit sound and writes the closing lines of the log.
void Game_Shutdown(HWND window);
