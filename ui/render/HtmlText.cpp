// CRenderEngine::DrawHtmlText: the set-up around the line layout (HtmlLayout.h): checks,
// clip, block alignment, the hovered link and the measured result.
#include "render/RenderEngine.h"

#include <algorithm>

#include "render/HtmlLayout.h"
#include "render/RenderClip.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                                 DWORD color, RECT* links, CSkinString* targets, int& linkCount,
                                 UINT style) {
    const int capacity = links != nullptr && targets != nullptr ? std::max(linkCount, 0) : 0;
    linkCount = 0;
    if (hDC == nullptr || manager == nullptr || text == nullptr) return;
    // Edges far outside any surface are brought in, so that widths and heights taken from
    // them cannot overflow: a skin's text padding of INT_MIN puts an edge two billion
    // pixels out.
    constexpr LONG kFarthest = 1 << 29;
    for (LONG* edge : {&rc.left, &rc.top, &rc.right, &rc.bottom})
        *edge = std::clamp(*edge, -kFarthest, kFarthest);
    if (::IsRectEmpty(&rc)) return;
    const bool drawing = (style & DT_CALCRECT) == 0;
    const bool singleLine = (style & DT_SINGLELINE) != 0;

    CRenderClip clip;
    if (drawing) CRenderClip::GenerateClip(hDC, rc, clip);

    if (drawing && (style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        // Measured where it will be laid out: on one long line, or wrapped to this width.
        RECT measured{0, 0, singleLine ? 9999 : rc.right - rc.left, 100};
        int none = 0;
        DrawHtmlText(hDC, manager, measured, text, color, nullptr, nullptr, none,
                     style | DT_CALCRECT);
        const LONG textWidth = measured.right - measured.left;
        const LONG textHeight = measured.bottom - measured.top;
        const LONG width = rc.right - rc.left;
        const LONG height = rc.bottom - rc.top;
        // A text too wide for an ellipsis line keeps the whole width, so that the
        // ellipsis shows at its end instead of both ends being cut off.
        const bool fits = textWidth <= width || (style & DT_END_ELLIPSIS) == 0;
        if (singleLine && fits) {
            if ((style & DT_CENTER) != 0) {
                rc.left += width / 2 - textWidth / 2;
                rc.right = rc.left + textWidth;
            } else if ((style & DT_RIGHT) != 0) {
                rc.left = rc.right - textWidth;
            }
        }
        if ((style & DT_VCENTER) != 0) {
            rc.top += height / 2 - textHeight / 2;
            rc.bottom = rc.top + textHeight;
        } else if ((style & DT_BOTTOM) != 0) {
            rc.top = rc.bottom - textHeight;
        }
    }

    // The links of the previous call tell which link the pointer is over.
    CSkinString hovered;
    bool hovering = false;
    if (drawing && capacity > 0) {
        const POINT mouse = manager->GetMousePos();
        for (int i = 0; i < capacity && !hovering; ++i) {
            if (::PtInRect(&links[i], mouse)) {
                hovered = targets[i];
                hovering = true;
            }
        }
    }

    THtmlLayoutRequest request;
    request.dc = hDC;
    request.manager = manager;
    request.rect = rc;
    request.text = text;
    request.color = color;
    request.style = style;
    request.drawing = drawing;
    request.links = links;
    request.targets = targets;
    request.capacity = capacity;
    request.hoveredTarget = hovering ? hovered.GetData() : nullptr;
    const THtmlLayoutResult result = LayOutHtmlText(request);
    linkCount = result.links;
    if (!drawing) {
        rc.bottom = result.bottom;
        rc.right = std::min(rc.right, result.widest);
    }
}

} // namespace SkinUI
