#include "game/player.h"

#include "platform/platform_state.h"

void Player::Update() {
    if (accelX > maxAccel) {
        accelX = maxAccel;
    } else if (accelX < -maxAccel) {
        accelX = -maxAccel;
    }
    velX = velX + accelX;
    velY = velY + accelY;
    if (velX > maxSpeed) {
        velX = maxSpeed;
        accelX = 0;
    } else if (velX < -maxSpeed) {
        velX = -maxSpeed;
        accelX = 0;
    }
    x = x + velX;
    y = y + velY;
}

void Player::Release() {
    if (texture != nullptr) {
        texture->Release();
        texture = nullptr;
    }
    Log << "Player texture released\n";
}
