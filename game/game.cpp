#include "game/game.h"

#include "game/game_objects.h"
#include "platform/graphics.h"
#include "platform/log.h"
#include "platform/sound_front_end.h"
#include "sound/sound_clip.h"

#include <cstdlib>
#include <ctime>

int gameState = 0;
DWORD frameStartTick = 0;
SoundClip* hitSound = nullptr;
D3DXVECTOR3 drawPosition{0, 0, 0};
bool keyLatch[keyLatchCount] = {};

namespace {
constexpr D3DCOLOR magentaKey = 0xFFFF00FF;
} // namespace

int Game_Init(HWND) {
    // The game draws no random numbers itself; the sound library does.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    tileMap.Build();
    tileMap.LoadTiles();
    tileMap.BuildSourceRects();

    player.texture = LoadTexture("Biker2.bmp", magentaKey);
    player.x = 300.0f;
    player.y = 600.0f;
    player.velX = 0;
    player.velY = 0;
    player.accelY = 0.01f;
    player.accelX = 0;
    player.SetMaxAccel(0.2f);
    player.SetMaxSpeed(4.0f);
    player.visible = true;

    hitSound = LoadSound("hit1.wav");
    if (hitSound == nullptr) {
        return 0;
    }
    Log << "Game Specific Objects Initialized\n";
    gameState = 1;
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
