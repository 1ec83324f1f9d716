// COM conveniences of the browser controls that still hold raw interface pointers.
#pragma once

#include "core/Handles.h"

namespace SkinUI {

/// Clears the pointer, then releases what it held (the release may call back here).
template <typename Interface> void ReleaseAndClear(Interface*& pointer) {
    if (pointer == nullptr) return;
    Interface* old = pointer;
    pointer = nullptr;
    old->Release();
}

} // namespace SkinUI
