#include "game/game_state.h"

#include "sound/sound_clip.h"

TileMap tileMap;
Player player;
int gameState = 0;
DWORD frameStartTick = 0;
SoundClip* hitSound = nullptr;
D3DXVECTOR3 drawPosition{0, 0, 0};
bool keyLatch[keyLatchCount] = {};

void ResetGameState() {
    delete hitSound;
    hitSound = nullptr;
    if (player.texture != nullptr) {
        player.texture->Release();
    }
    tileMap.ReleaseTexture();
    player = Player{};
    tileMap = TileMap{};
    gameState = 0;
    frameStartTick = 0;
    drawPosition = D3DXVECTOR3{0, 0, 0};
    for (bool& latch : keyLatch) {
        latch = false;
    }
}
