#include "game/game.h"

#include "game/game_state.h"
#include "platform/graphics.h"
#include "platform/platform_state.h"
#include "platform/sound_front_end.h"
#include "sound/sound_clip.h"

#include <cstdlib>
#include <ctime>

namespace {
constexpr D3DCOLOR magentaKey = 0xFFFF00FF; // the biker image's transparent colour
constexpr float startX = 300.0f;            // where the biker starts, at rest, in open tiles
constexpr float startY = 600.0f;
constexpr float startAccelY = 0.01f; // gravity, already pulling on the first frame
constexpr float maxAccel = 0.2f;     // bound of both accelerations, either way
constexpr float maxSpeed = 4.0f;     // bound of both velocities, either way
} // namespace

int Game_Init(HWND) {
    // The game draws no random numbers itself; the sound library does.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    tileMap.Build();
    tileMap.LoadTiles();
    tileMap.BuildSourceRects();

    player.texture = LoadTexture("Biker2.bmp", magentaKey);
    player.x = startX;
    player.y = startY;
    player.velX = 0;
    player.velY = 0;
    player.accelY = startAccelY;
    player.accelX = 0;
    player.SetMaxAccel(maxAccel);
    player.SetMaxSpeed(maxSpeed);
    player.visible = true;

    hitSound = LoadSound("hit1.wav");
    if (hitSound == nullptr) {
        return 0;
    }
    Log << "Game Specific Objects Initialized\n";
    gameState = gamePlaying;
    return 1;
}

void Game_Shutdown(HWND) {
    Log << "Surfaces Released\n";
    Log << "Textures Released\n";
    delete hitSound;
    hitSound = nullptr;
    Log << "Sounds Deleted\n";
    Log << "\nGame shut down!\n";
}
