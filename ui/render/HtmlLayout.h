// Line layout of HTML-like text: word wrapping, tags, fonts, colours, inline images and
// link rectangles, one line at a time. Every line is laid out twice from the same starting
// state, first to learn its height and width, then (reusing what the first pass measured)
// to draw it; measuring stops after the first pass. The caller (CRenderEngine::DrawHtmlText)
// has already checked its arguments, narrowed the clip and aligned the block.
#pragma once

#include <windows.h>

#include "core/SkinString.h"

namespace SkinUI {

class CPaintManagerUI;

struct THtmlLayoutRequest {
    HDC dc = nullptr;
    CPaintManagerUI* manager = nullptr;
    RECT rect{};                   ///< the area; lines start at its left and top
    const wchar_t* text = nullptr; ///< the markup, not null
    DWORD color = 0;               ///< text colour outside c and a tags (0xAARRGGBB)
    UINT style = 0;        ///< DT_SINGLELINE, DT_WORDBREAK, DT_END_ELLIPSIS, DT_CENTER, DT_RIGHT
    bool drawing = false;  ///< false: measure only
    RECT* links = nullptr; ///< link rectangles out, `capacity` of them (or null)
    CSkinString* targets = nullptr;         ///< link targets out, `capacity` of them (or null)
    int capacity = 0;                       ///< the most links recorded
    const wchar_t* hoveredTarget = nullptr; ///< links to this target take the hover colour
};

struct THtmlLayoutResult {
    int links = 0;   ///< link rectangles recorded
    LONG widest = 0; ///< the furthest the pen went to the right
    LONG bottom = 0; ///< bottom of the last line (or of the lowest image)
};

/// Lays out (and when drawing, draws) the text; the font, colours and background mode of
/// the device context are given back afterwards.
THtmlLayoutResult LayOutHtmlText(const THtmlLayoutRequest& request);

} // namespace SkinUI
