#include "core/Handles.h"

#include <gdiplus.h>

namespace SkinUI {

namespace flat = Gdiplus::DllExports;

void FreeGdiplusObject(Gdiplus::GpBrush* brush) noexcept {
    flat::GdipDeleteBrush(brush);
}

void FreeGdiplusObject(Gdiplus::GpFont* font) noexcept {
    flat::GdipDeleteFont(font);
}

void FreeGdiplusObject(Gdiplus::GpGraphics* graphics) noexcept {
    flat::GdipDeleteGraphics(graphics);
}

void FreeGdiplusObject(Gdiplus::GpImage* image) noexcept {
    flat::GdipDisposeImage(image);
}

void FreeGdiplusObject(Gdiplus::GpStringFormat* format) noexcept {
    flat::GdipDeleteStringFormat(format);
}

bool CGdiplusSession::Start() noexcept {
    if (m_started) return true;
    const Gdiplus::GdiplusStartupInput input; // version 1, no callbacks
    m_started = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    return m_started;
}

void CGdiplusSession::End() noexcept {
    if (!m_started) return;
    Gdiplus::GdiplusShutdown(m_token);
    m_token = 0;
    m_started = false;
}

} // namespace SkinUI
