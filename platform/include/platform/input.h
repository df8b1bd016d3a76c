#pragma once
// The program's DirectInput objects: the system keyboard and mouse, polled once per frame into
// snapshots that the key and button tests read.

#include "platform/platform_state.h"

#include <dinput.h>
#include <windows.h>

// Set-up, in this order; each returns 1 on success and 0 after logging its failure.
int Init_DirectInput(HWND window);
int Init_Mouse(HWND window);
int Init_Keyboard(HWND window);

// Refresh the snapshots. Read failures are silent.
void Read_Mouse();
void Read_Keyboard();

// These only read the last snapshots. Down keys and buttons give 0x80, not 1.
int Is_Key_Down(int key);
int Mouse_X();
int Mouse_Y();
int Mouse_Button(int button);

// Unacquire and release the device if there is one, then log.
void Release_Mouse();
void Release_Keyboard();
