#pragma once

#include <windows.h>

namespace SkinUI {

// A window-system size record with convenience constructors.
class CSize : public SIZE {
public:
    /// (0, 0).
    CSize();
    CSize(const SIZE& source);
    /// Width and height of a rectangle (negative for a reversed one).
    CSize(const RECT& rect);
    CSize(int width, int height);
};

} // namespace SkinUI
