#pragma once

#include <windows.h>

#include "core/Handles.h"

namespace SkinUI {

// Scope guard that narrows a device context's clip region to a rectangle or a rounded
// rectangle while painting, and gives the previous clip back when it goes out of scope.
// Guards nest: each restores exactly the clip that was in force before it.
class CRenderClip {
public:
    CRenderClip();
    /// Restores the clip that was in force before the guard was generated.
    ~CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

    /// Intersects the clip of `hDC` with `rc` (logical coordinates) for the life of `clip`.
    static void GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip);
    /// Intersects the clip of `hDC` with `rc` and with the rounded rectangle from the left
    /// and top of `item` to its right + 1 and bottom + 1, with the given ellipse size.
    static void GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& item, int width, int height,
                                  CRenderClip& clip);
    /// Selects the clip that was in force before `clip`, to paint outside it for a while.
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    /// Selects the narrowed clip of `clip` again.
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

    /// The rectangle the clip was made for.
    const RECT& GetItemRect() const { return m_itemRect; }

private:
    /// Gives the old clip back and forgets both regions.
    void Restore();
    /// Shared by both generate operations: `region` is the shape in device coordinates.
    static void Generate(HDC hDC, const RECT& rc, CGdiRegion region, CRenderClip& clip);

    RECT m_itemRect;        ///< the rectangle the clip was made for
    HDC m_dc;               ///< where the clip is selected; null while inactive
    CGdiRegion m_region;    ///< the clip in force while the guard lives (device coordinates)
    CGdiRegion m_oldRegion; ///< the clip before it; null when there was none
};

} // namespace SkinUI
