#pragma once
// The platform layer's state, one global each, all defined in platform_state.cpp: the log stream,
// the Direct3D objects, the DirectInput objects and snapshots, and the sound device. Every pointer
// is null and every snapshot zero when the program starts.

#include <d3d9.h>
#include <d3dx9.h>
#include <dinput.h>
#include <ostream>
#include <windows.h>

class SoundDevice;

// The system's one text output stream. It writes to standard error, unit-buffered, until the
// shell attaches Log.txt by replacing its buffer.
extern std::ostream Log;

// Null until Init_Direct3D makes them; never reset by the layer itself.
extern IDirect3D9* d3dObject;
extern IDirect3DDevice9* d3dDevice;
extern IDirect3DSurface9* backBuffer;
extern ID3DXSprite* spriteHandler;

extern IDirectInput8A* dinputObject;
extern IDirectInputDevice8A* keyboardDevice;
extern IDirectInputDevice8A* mouseDevice;
// Indexed by DirectInput key code; the high bit is set while the key is down.
extern BYTE keys[256];
extern DIMOUSESTATE mouseState;

// The one sound device; never released (the process ends with it).
extern SoundDevice* soundDevice;

// Back to the state at program start, for tests that set up the platform more than once in one
// process: releases the input devices, the DirectInput object, the sprite object, the back buffer,
// the device and the Direct3D object, deletes the sound device and clears the snapshots, logging
// nothing. Log keeps the buffer it has: whoever attached one puts the old one back.
void ResetPlatformState();
