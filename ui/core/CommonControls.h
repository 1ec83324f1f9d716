#pragma once

// The system's common controls library (tool tips, the date picker), brought in only when
// a window of its classes is first needed: loading it is a noticeable share of a start-up
// that shows none of them.

#include <windows.h>

namespace SkinUI {

/// Loads the common controls library (once; it stays for the rest of the process, like
/// the windows of its classes) and registers the window classes of `classes` (ICC_*
/// flags). False when the library or its entry point is missing, or registration fails.
bool LoadCommonControls(DWORD classes);

} // namespace SkinUI
