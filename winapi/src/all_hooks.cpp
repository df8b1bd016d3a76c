#include "winapi/hooks/all.h"

#include "winapi/hooks/clock.h"
#include "winapi/hooks/debug.h"
#include "winapi/hooks/dsound.h"
#include "winapi/hooks/graphics.h"
#include "winapi/hooks/input.h"
#include "winapi/hooks/mmio.h"
#include "winapi/hooks/module.h"
#include "winapi/hooks/registry.h"
#include "winapi/hooks/resources.h"
#include "winapi/hooks/shell.h"
#include "winapi/hooks/window.h"

namespace winapi::hooks {

void ResetAll() {
    ResetClockHooks();
    ResetDebugHooks();
    ResetSoundHooks();
    ResetGraphicsHooks();
    ResetInputHooks();
    ResetMmioHooks();
    ResetModuleHooks();
    ResetRegistryHooks();
    ResetResourceHooks();
    ResetShellHooks();
    ResetWindowHooks();
}

} // namespace winapi::hooks
