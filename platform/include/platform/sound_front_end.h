#pragma once
// The thin layer through which the shell and the game use the sound library.

#include "platform/platform_state.h"

#include <windows.h>

class SoundClip;

int Init_DirectSound(HWND window);
SoundClip* LoadSound(const char* fileName);
void Play_Sound(SoundClip* clip);
void Loop_Sound(SoundClip* clip);
void Stop_Sound(SoundClip* clip);
