// One description of each axis, so that code that places, sizes or scrolls along x and
// along y is written once: "along" is the axis named, "across" the other one. Near edges
// are left and top, far edges right and bottom.
#pragma once

#include <windows.h>

#include "control/ControlUI.h"
#include "control/LayoutMath.h"

namespace SkinUI {

class Axis {
public:
    constexpr explicit Axis(bool vertical) : m_vertical(vertical) {}

    constexpr bool IsVertical() const { return m_vertical; }
    /// The other axis.
    constexpr Axis Cross() const { return Axis(!m_vertical); }

    /// A rectangle's near edge (left or top) and far edge (right or bottom) on this axis.
    LONG Near(const RECT& rc) const { return m_vertical ? rc.top : rc.left; }
    LONG& Near(RECT& rc) const { return m_vertical ? rc.top : rc.left; }
    LONG Far(const RECT& rc) const { return m_vertical ? rc.bottom : rc.right; }
    LONG& Far(RECT& rc) const { return m_vertical ? rc.bottom : rc.right; }
    /// Far edge less near edge, in 64 bits.
    long long Extent(const RECT& rc) const { return static_cast<long long>(Far(rc)) - Near(rc); }

    /// The component of a size or a point on this axis.
    LONG Of(const SIZE& size) const { return m_vertical ? size.cy : size.cx; }
    LONG& Of(SIZE& size) const { return m_vertical ? size.cy : size.cx; }
    LONG Of(const POINT& point) const { return m_vertical ? point.y : point.x; }

    /// The rectangle from nearEdge to farEdge on this axis and from crossNear to crossFar
    /// across it, each edge limited to the range of int.
    RECT Rect(long long nearEdge, long long farEdge, long long crossNear,
              long long crossFar) const {
        return m_vertical ? MakeRect(crossNear, nearEdge, crossFar, farEdge)
                          : MakeRect(nearEdge, crossNear, farEdge, crossFar);
    }
    /// The size `along` this axis and `across` it, each limited to the range of int.
    SIZE Size(long long along, long long across) const {
        return m_vertical ? SIZE{ClampToInt(across), ClampToInt(along)}
                          : SIZE{ClampToInt(along), ClampToInt(across)};
    }

    /// A control's fixed, minimum and maximum size on this axis.
    int Fixed(const CControlUI& control) const {
        return m_vertical ? control.GetFixedHeight() : control.GetFixedWidth();
    }
    int Min(const CControlUI& control) const {
        return m_vertical ? control.GetMinHeight() : control.GetMinWidth();
    }
    int Max(const CControlUI& control) const {
        return m_vertical ? control.GetMaxHeight() : control.GetMaxWidth();
    }
    /// A size raised to the control's minimum, then lowered to its maximum on this axis.
    long long Clamp(long long size, const CControlUI& control) const {
        return ClampToMinMax(size, Min(control), Max(control));
    }

private:
    bool m_vertical;
};

inline constexpr Axis kHorizontal{false};
inline constexpr Axis kVertical{true};

} // namespace SkinUI
