#include "render/RenderClip.h"

#include <utility>

namespace SkinUI {

namespace {

// Regions are selected in device coordinates, painting code works in logical ones.
RECT ToDevice(HDC hDC, const RECT& rc) {
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    LPtoDP(hDC, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// A copy of the clip region of `hDC`, or none when it has none.
CGdiRegion CopyClipRegion(HDC hDC) {
    CGdiRegion region(CreateRectRgn(0, 0, 0, 0));
    if (region && GetClipRgn(hDC, region.Get()) != 1) region.Reset();
    return region;
}

} // namespace

CRenderClip::CRenderClip() : m_itemRect{0, 0, 0, 0}, m_dc(nullptr) {}

CRenderClip::~CRenderClip() {
    Restore();
}

void CRenderClip::Restore() {
    if (m_dc != nullptr) SelectClipRgn(m_dc, m_oldRegion.Get());
    m_dc = nullptr;
    m_region.Reset();
    m_oldRegion.Reset();
}

void CRenderClip::Generate(HDC hDC, const RECT& rc, CGdiRegion region, CRenderClip& clip) {
    clip.Restore(); // a guard generated again first gives its earlier clip back
    if (hDC == nullptr || !region) return;
    // The exact clip before, not just its bounding box: nested guards inside a rounded
    // clip must not widen it to a rectangle when they end.
    clip.m_oldRegion = CopyClipRegion(hDC);
    ExtSelectClipRgn(hDC, region.Get(), RGN_AND);
    clip.m_region = CopyClipRegion(hDC);
    clip.m_dc = hDC;
    clip.m_itemRect = rc;
}

void CRenderClip::GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip) {
    const RECT device = ToDevice(hDC, rc);
    Generate(hDC, rc, CGdiRegion(CreateRectRgnIndirect(&device)), clip);
}

void CRenderClip::GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& item, int width,
                                    int height, CRenderClip& clip) {
    const RECT device = ToDevice(hDC, rc);
    const RECT deviceItem = ToDevice(hDC, item);
    CGdiRegion region(CreateRectRgnIndirect(&device));
    const CGdiRegion round(CreateRoundRectRgn(deviceItem.left, deviceItem.top, deviceItem.right + 1,
                                              deviceItem.bottom + 1, width, height));
    if (region && round) CombineRgn(region.Get(), region.Get(), round.Get(), RGN_AND);
    Generate(hDC, rc, std::move(region), clip);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip) {
    if (clip.m_dc == nullptr) return;
    SelectClipRgn(hDC, clip.m_oldRegion.Get());
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip) {
    if (clip.m_dc == nullptr) return;
    SelectClipRgn(hDC, clip.m_region.Get());
}

} // namespace SkinUI
