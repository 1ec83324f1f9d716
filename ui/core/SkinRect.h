#pragma once

#include <windows.h>

namespace SkinUI {

// A window-system rectangle with the handful of operations layout code needs.
class CSkinRect : public RECT {
public:
    /// All zero.
    CSkinRect();
    CSkinRect(const RECT& source);
    CSkinRect(int leftEdge, int topEdge, int rightEdge, int bottomEdge);

    /// right - left; negative for a reversed rectangle.
    int GetWidth() const { return right - left; }
    /// bottom - top; negative for a reversed rectangle.
    int GetHeight() const { return bottom - top; }
    /// Sets all four edges to 0.
    void Empty();
    /// True when all four edges are 0.
    bool IsNull() const;
    /// Grows to take in `other` edge by edge; empty rectangles count like any other.
    void Join(const RECT& other);
    /// Bounding rectangle of both, where an empty rectangle contributes nothing.
    void Union(const CSkinRect& other);
    /// Moves the rectangle so that its left-top corner is at (0, 0).
    void ResetOffset();
    /// Swaps left/right and top/bottom where they are reversed.
    void Normalize();
    /// Moves the rectangle by (cx, cy).
    void Offset(int cx, int cy);
    /// Pushes each edge outwards by cx horizontally and cy vertically.
    void Inflate(int cx, int cy);
    /// Pulls each edge inwards by cx horizontally and cy vertically.
    void Deflate(int cx, int cy);
};

} // namespace SkinUI
