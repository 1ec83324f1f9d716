#include "core/Size.h"

namespace SkinUI {

CSize::CSize() : SIZE{0, 0} {}

CSize::CSize(const SIZE& source) : SIZE(source) {}

CSize::CSize(const RECT& rect) : SIZE{rect.right - rect.left, rect.bottom - rect.top} {}

CSize::CSize(int width, int height) : SIZE{width, height} {}

} // namespace SkinUI
