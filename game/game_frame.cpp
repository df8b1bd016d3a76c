#include "game/game.h"

#include "game/truncate.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/platform_state.h"
#include "platform/sound_front_end.h"

#include <dinput.h>

namespace {

// The keys with a latch, in the order of KeyLatch.
constexpr int latchedKeys[keyLatchCount] = {
    DIK_RIGHT, DIK_LEFT, DIK_UP,       DIK_DOWN,   DIK_A,      DIK_D,     DIK_W,
    DIK_S,     DIK_F,    DIK_RCONTROL, DIK_ESCAPE, DIK_RETURN, DIK_SPACE,
};

constexpr float pushPerFrame = 0.001f;     // accelX change per frame while an arrow is held
constexpr float frictionFactor = 10.0f;    // with neither arrow: accelX = -0.001 * 10 * velX
constexpr float jumpAccel = -0.2f;         // accelY at the start of a jump
constexpr float gravity = 0.01f;           // added to accelY every frame; accelY after landing
constexpr double slopeLiftPerFrame = 0.01; // lift while pushing right into an up-slope tile
constexpr double slopeSurfaceTop = 31.99;  // the incline's height at a slope tile's left edge
constexpr double slopeBikerHeight = 30.0;  // gives back the biker height taken off the row top
constexpr DWORD minimumFrameMs = 15;       // a frame lasts at least this long
constexpr D3DCOLOR backgroundBlue = 0xFF0000FF;
constexpr D3DCOLOR noTint = 0xFFFFFFFF;

void ClearReleasedLatches() {
    for (int latch = 0; latch < keyLatchCount; ++latch) {
        if (!Is_Key_Down(latchedKeys[latch])) {
            keyLatch[latch] = false;
        }
    }
}

void ApplyInput() {
    if (Is_Key_Down(DIK_B)) {
        Play_Sound(hitSound);
    }
    if (Is_Key_Down(DIK_RIGHT)) {
        player.accelX = player.accelX + pushPerFrame;
    } else if (Is_Key_Down(DIK_LEFT)) {
        player.accelX = player.accelX - pushPerFrame;
    } else {
        player.accelX = (-pushPerFrame * frictionFactor) * player.velX;
    }
    // No ground test: a new press of Space in the air jumps again.
    if (Is_Key_Down(DIK_SPACE) && !keyLatch[latchSpace]) {
        player.accelY = jumpAccel;
        keyLatch[latchSpace] = true;
    }
    // Gravity grows the acceleration, so a fall speeds up faster and faster.
    player.accelY = player.accelY + gravity;
}

// The pixel just below the biker's bottom edge, at its left edge: a solid tile there puts the
// bottom edge on top of that tile's row.
void CheckFloor() {
    const int h = player.Height();
    const int th = tileMap.TileHeight();
    if (tileMap.IsSolidAt(Trunc(player.x), Trunc(player.y + h))) {
        player.velY = 0;
        player.accelY = gravity;
        const float bottom = player.y + h;
        player.y = static_cast<float>(Trunc(bottom / th) * th - h);
    }
}

// The right side samples the biker's bottom pixel row, the left side its middle.
void CheckWalls() {
    const int w = player.Width();
    const int h = player.Height();
    const int tw = tileMap.TileWidth();
    const int th = tileMap.TileHeight();
    if (player.velX > 0 && tileMap.IsSolidAt(Trunc(player.x + w), Trunc(player.y + h - 1.0))) {
        // The row comes from the bottom edge itself, so standing exactly on a tile boundary it is
        // the row below the tile that was hit.
        const int tx = Trunc((player.x + w) / tw);
        const int ty = Trunc((player.y + h) / th);
        Log << "tx ty " << tx << " " << ty << "\n";
        if (tileMap.TileAt(tx, ty).slopeUp) {
            player.y = static_cast<float>(player.y - slopeLiftPerFrame);
        } else {
            player.velX = 0;
            player.accelX = 0;
            player.x = static_cast<float>(tx * tw - w);
        }
    } else if (player.velX < 0 && tileMap.IsSolidAt(Trunc(player.x), Trunc(player.y + (h / 2)))) {
        player.velX = 0;
        player.accelX = 0;
        player.x = static_cast<float>((Trunc(player.x / tw) + 1) * tw);
    }
}

// The pixel diagonally beyond the bottom-right corner: on an up-slope tile the biker's top is put
// one pixel higher for each pixel of x into the tile, so it rides up the incline.
void CheckSlope() {
    const int w = player.Width();
    const int h = player.Height();
    const int tw = tileMap.TileWidth();
    const int th = tileMap.TileHeight();
    if (tileMap.IsSlopeAt(AddSaturating(Trunc(player.x), w), AddSaturating(Trunc(player.y), h))) {
        const int txs = Trunc(player.x + w) / tw;
        const int r = Trunc((player.y + h) / th) - 1;
        player.accelY = 0;
        player.velY = 0;
        Log << "Biker x+width and tx+1 * tilewidth " << player.x + w << " " << (txs + 1) * tw
            << "\n";
        Log << "Biker y " << player.y << "\n";
        player.y = static_cast<float>((slopeSurfaceTop - (Trunc(player.x) % tw)) +
                                      static_cast<float>(th * r - h) + slopeBikerHeight);
    }
}

void PlayStep() {
    ApplyInput();
    player.Update();
    CheckFloor();
    CheckWalls();
    Log << player.x << " " << player.y << "\n";
    CheckSlope();
}

void Draw() {
    if (SUCCEEDED(d3dDevice->BeginScene())) {
        d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET, backgroundBlue, 1.0f, 0);
        spriteHandler->Begin(D3DXSPRITE_ALPHABLEND);
        const int tw = tileMap.TileWidth();
        const int th = tileMap.TileHeight();
        for (int i = 0; i < tileMap.Columns(); ++i) {
            for (int j = 0; j < tileMap.Rows(); ++j) {
                drawPosition = D3DXVECTOR3(static_cast<float>(tw) * static_cast<float>(i),
                                           static_cast<float>(th) * static_cast<float>(j), 0);
                spriteHandler->Draw(tileMap.Texture(),
                                    &tileMap.SourceRect(tileMap.TileAt(i, j).number), nullptr,
                                    &drawPosition, noTint);
            }
        }
        if (player.visible) {
            drawPosition = D3DXVECTOR3(player.x, player.y, 0);
            spriteHandler->Draw(player.texture, nullptr, nullptr, &drawPosition, noTint);
        }
        spriteHandler->End();
        d3dDevice->EndScene();
    }
    d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void RequestCloseOnEscape(HWND window) {
    if (Is_Key_Down(DIK_ESCAPE) && !keyLatch[latchEscape]) {
        keyLatch[latchEscape] = true;
        PostMessageA(window, WM_DESTROY, 0, 0);
    }
}

// A busy wait; the unsigned difference stays right across the wrap of the tick counter.
void WaitForFrameEnd() {
    while (GetTickCount() - frameStartTick < minimumFrameMs) {
    }
}

} // namespace

void Game_Frame(HWND window) {
    frameStartTick = GetTickCount();
    Read_Mouse();
    Read_Keyboard();
    ClearReleasedLatches();
    switch (gameState) {
    case gamePlaying:
        PlayStep();
        break;
    case gameIdle:
        break;
    default:
        Log << "Problem with Game State Switch\n";
        break;
    }
    Draw();
    RequestCloseOnEscape(window);
    WaitForFrameEnd();
}
