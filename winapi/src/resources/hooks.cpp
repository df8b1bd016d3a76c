#include "winapi/hooks/resources.h"

#include "resources/injected_failures.h"

namespace winapi::hooks {

void FailResourceCall(ResourceCall call, DWORD error) {
    resources::injectedFailures.Set(call, error);
}

void ResetResourceHooks() {
    resources::injectedFailures.Clear();
}

} // namespace winapi::hooks
