#pragma once

#include <windows.h>

namespace SkinUI {

// A window-system point record with convenience constructors.
class CPoint : public POINT {
public:
    /// (0, 0).
    CPoint();
    CPoint(const POINT& source);
    CPoint(int xValue, int yValue);
    /// Mouse-message coordinates: x from the low 16 bits, y from the next 16, each
    /// sign-extended so that points left of or above a window come out negative.
    explicit CPoint(LPARAM lParam);
};

} // namespace SkinUI
