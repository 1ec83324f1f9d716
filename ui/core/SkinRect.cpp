#include "core/SkinRect.h"

namespace SkinUI {

CSkinRect::CSkinRect() : RECT{0, 0, 0, 0} {}

CSkinRect::CSkinRect(const RECT& source) : RECT(source) {}

CSkinRect::CSkinRect(int leftEdge, int topEdge, int rightEdge, int bottomEdge)
    : RECT{leftEdge, topEdge, rightEdge, bottomEdge} {}

void CSkinRect::Empty() {
    left = top = right = bottom = 0;
}

bool CSkinRect::IsNull() const {
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CSkinRect::Join(const RECT& other) {
    if (other.left < left) left = other.left;
    if (other.top < top) top = other.top;
    if (other.right > right) right = other.right;
    if (other.bottom > bottom) bottom = other.bottom;
}

void CSkinRect::Union(const CSkinRect& other) {
    const RECT self = *this;
    ::UnionRect(this, &self, &other);
}

void CSkinRect::ResetOffset() {
    ::OffsetRect(this, -left, -top);
}

void CSkinRect::Normalize() {
    if (left > right) {
        const LONG swapped = left;
        left = right;
        right = swapped;
    }
    if (top > bottom) {
        const LONG swapped = top;
        top = bottom;
        bottom = swapped;
    }
}

void CSkinRect::Offset(int cx, int cy) {
    ::OffsetRect(this, cx, cy);
}

void CSkinRect::Inflate(int cx, int cy) {
    ::InflateRect(this, cx, cy);
}

void CSkinRect::Deflate(int cx, int cy) {
    ::InflateRect(this, -cx, -cy);
}

} // namespace SkinUI
