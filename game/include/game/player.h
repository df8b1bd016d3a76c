#pragma once
// The biker: position, velocity and acceleration in pixels per frame, the limits of its horizontal
// motion and its picture. The game frame reads and writes the fields directly.

#include <d3d9.h>

class Player {
public:
    // One integration step: clamp accelX, add the accelerations, clamp velX, move.
    void Update();
    int Width() const { return width; }
    int Height() const { return height; }
    void SetMaxAccel(float limit) { maxAccel = limit; }
    void SetMaxSpeed(float limit) { maxSpeed = limit; }
    // Gives the texture back, once, and logs it.
    void Release();

    float x = 0;
    float y = 0;
    float velX = 0;
    float velY = 0; // positive is downward
    float accelX = 0;
    float accelY = 0;
    IDirect3DTexture9* texture = nullptr; // owned
    bool visible = false;

private:
    int width = 30; // the extents that collisions use; the sprite is drawn at the picture's size
    int height = 30;
    float maxSpeed = 0;
    float maxAccel = 0;
};
