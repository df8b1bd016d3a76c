#pragma once
// Gives back whatever a test's set-up or run left in the globals, and puts them back to their
// state at program start, so that the next test in the same process starts clean.

#include "game/game.h"
#include "game/game_objects.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/sound_front_end.h"
#include "sound/sound_clip.h"
#include "sound/sound_device.h"

template <typename Interface> void ReleaseAndForget(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

inline void ReleaseLeftovers() {
    delete hitSound;
    hitSound = nullptr;
    ReleaseAndForget(player.texture);
    tileMap.ReleaseTexture();
    Release_Keyboard();
    Release_Mouse();
    ReleaseAndForget(dinputObject);
    ReleaseAndForget(spriteHandler);
    ReleaseAndForget(backBuffer);
    ReleaseAndForget(d3dDevice);
    ReleaseAndForget(d3dObject);
    delete soundDevice;
    soundDevice = nullptr;
    player = Player{};
    tileMap = TileMap{};
    gameState = 0;
    for (bool& latch : keyLatch) {
        latch = false;
    }
}
