// Rendering a built skin window into a PNG file, without showing it.
#pragma once

#include <windows.h>

#include "SkinViewWindow.h"

namespace SkinView {

/// Lays the window's tree out over its client area, paints it into a 32-bit bitmap and
/// writes it to `path` as RGBA: the painted alpha for a per-pixel alpha skin, opaque
/// otherwise. False with the reason; nothing is left at `path` then.
bool RenderToPng(CSkinViewWindow& window, const wchar_t* path, CSkinString& reason);

} // namespace SkinView
