#include "core/Point.h"

namespace SkinUI {

CPoint::CPoint() : POINT{0, 0} {}

CPoint::CPoint(const POINT& source) : POINT(source) {}

CPoint::CPoint(int xValue, int yValue) : POINT{xValue, yValue} {}

CPoint::CPoint(LPARAM lParam)
    : POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))} {}

} // namespace SkinUI
