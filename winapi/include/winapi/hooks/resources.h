#pragma once
// Registration of program resources. The sources that quillerby_embed_resources generates call it
// before main; tests may call it to add resources of their own, and make the loading calls fail.

#include <cstddef>

namespace winapi::hooks {

// Makes the bytes a resource of the executable under the type and name (case does not matter;
// "#<id>" is the integer id). The bytes must stay valid for the rest of the program. A later
// registration of the same type and name replaces the earlier one. Returns true.
bool RegisterResource(const char* type, const char* name, const void* data, std::size_t size);

enum class ResourceCall {
    LoadResource, // returns null
    LockResource, // returns null
};
// While set, every call of that kind fails.
void FailResourceCall(ResourceCall call, bool fail);

} // namespace winapi::hooks
