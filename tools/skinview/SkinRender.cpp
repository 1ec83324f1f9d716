#include "SkinRender.h"

#include <algorithm>
#include <vector>

#include <stb_image_write.h>

#include "control/ControlUI.h"
#include "core/Handles.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinView {

namespace {

// The rows of a 32-bit bottom-up DIB of premultiplied BGRA as straight RGBA, top row first.
std::vector<unsigned char> ToStraightRgba(const DWORD* pixels, int width, int height, bool opaque) {
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    unsigned char* out = rgba.data();
    for (int y = height - 1; y >= 0; --y) {
        const DWORD* row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x, out += 4) {
            const DWORD pixel = row[x];
            const unsigned alpha = opaque ? 255 : pixel >> 24;
            const unsigned channels[3] = {(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF};
            for (int c = 0; c < 3; ++c) {
                unsigned value = channels[c];
                if (!opaque)
                    value = alpha == 0 ? 0 : std::min(255u, (value * 255 + alpha / 2) / alpha);
                out[c] = static_cast<unsigned char>(value);
            }
            out[3] = static_cast<unsigned char>(alpha);
        }
    }
    return rgba;
}

void AppendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    const auto* first = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

// Writes the whole file; a file that could not be written whole is removed.
bool WriteFileBytes(const wchar_t* path, const std::vector<unsigned char>& bytes) {
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    if (!done) ::DeleteFileW(path);
    return done;
}

// A 32-bit bottom-up DIB section selected into a memory DC, transparent black.
class CCanvas {
public:
    CCanvas(int width, int height) {
        void* bits = nullptr;
        if (m_surface.Create(nullptr,
                             SkinUI::CRenderEngine::CreateDib32(nullptr, width, height, &bits)))
            m_bits = bits;
    }

    bool IsValid() const { return m_bits != nullptr; }
    HDC GetDC() const { return m_surface.GetDC(); }
    const DWORD* GetPixels() const { return static_cast<const DWORD*>(m_bits); }

private:
    SkinUI::CBitmapDC m_surface;
    void* m_bits = nullptr;
};

} // namespace

bool RenderToPng(CSkinViewWindow& window, const wchar_t* path, CSkinString& reason) {
    SkinUI::CPaintManagerUI& manager = window.GetPaintManager();
    RECT client{};
    ::GetClientRect(window.GetHWND(), &client);
    if (client.right <= 0 || client.bottom <= 0) {
        reason = L"the skin gives the window no size (use --size)";
        return false;
    }
    CCanvas canvas(client.right, client.bottom);
    if (!canvas.IsValid()) {
        reason = L"no bitmap of that size";
        return false;
    }
    const bool alpha = manager.IsAlphaBackground();
    manager.GetRoot()->SetPos(client);
    if (alpha) {
        // As the window paints itself: the shadow, then the content inside it.
        RECT content = client;
        if (manager.HasWindowShadow()) manager.DrawWindowShadow(canvas.GetDC(), content);
        RECT paint{};
        if (::IntersectRect(&paint, &client, &content))
            manager.GetRoot()->DoPaint(canvas.GetDC(), paint);
    } else {
        ::SendMessageW(window.GetHWND(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()),
                       PRF_CLIENT);
    }
    ::GdiFlush();

    const std::vector<unsigned char> rgba =
        ToStraightRgba(canvas.GetPixels(), client.right, client.bottom, !alpha);
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(AppendBytes, &png, client.right, client.bottom, 4, rgba.data(),
                                client.right * 4)) {
        reason = L"the image could not be encoded";
        return false;
    }
    if (!WriteFileBytes(path, png)) {
        reason = L"cannot write ";
        reason += path;
        return false;
    }
    return true;
}

} // namespace SkinView
