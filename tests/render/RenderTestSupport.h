#pragma once

// Helpers of the render tests: surfaces to draw into and read back (DIB sections selected
// into memory device contexts), bitmaps made from pixel values, pixel comparison with a
// tolerance, and where the build put the test images.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace RenderTest {

/// Folder of the test executable, with a trailing back-slash.
inline std::wstring TestDirectory() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.rfind(L'\\') + 1);
}

/// The image folder written at build time, with a trailing back-slash.
inline std::wstring ImageDirectory() {
    return TestDirectory() + L"render_images\\";
}

/// The skin folder of the test images, with a trailing back-slash.
inline std::wstring SkinDirectory() {
    return ImageDirectory() + L"skin\\";
}

/// Pixels of a 32-bit top-down DIB section as 0xAARRGGBB values, row by row from the top.
/// (The row order cannot be asked: the system reports a positive height either way.)
inline std::vector<DWORD> ReadPixels(HBITMAP bitmap) {
    std::vector<DWORD> pixels;
    DIBSECTION section;
    if (GetObjectW(bitmap, sizeof(section), &section) != static_cast<int>(sizeof(section)) ||
        section.dsBm.bmBitsPixel != 32) {
        return pixels;
    }
    GdiFlush();
    const int width = section.dsBm.bmWidth;
    const int height = std::abs(section.dsBm.bmHeight);
    const BYTE* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    for (int y = 0; y < height; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(bits + y * section.dsBm.bmWidthBytes);
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

/// A DIB section of `width` × `height` pixels selected into its own memory device
/// context: something to draw into and read back. 32 bits (alpha kept) unless 24 is asked
/// for; top-down unless bottom-up is asked for, as the layered windows' bitmaps are.
class Surface {
public:
    Surface(int width, int height, DWORD fill = 0, int bitsPerPixel = 32, bool bottomUp = false)
        : m_width(width), m_height(height), m_bitsPerPixel(bitsPerPixel), m_bottomUp(bottomUp) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = bottomUp ? height : -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<BYTE*>(bits);
        m_stride = ((width * bitsPerPixel + 31) / 32) * 4;
        m_dc = CreateCompatibleDC(nullptr);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Surface() {
        SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    RECT rect() const { return RECT{0, 0, m_width, m_height}; }

    /// The pixel as 0xAARRGGBB; 24-bit surfaces have no alpha and read as opaque.
    DWORD Pixel(int x, int y) const {
        GdiFlush();
        const BYTE* p = Address(x, y);
        if (m_bitsPerPixel == 32) {
            DWORD value;
            std::memcpy(&value, p, 4);
            return value;
        }
        return 0xFF000000 | (DWORD(p[2]) << 16) | (DWORD(p[1]) << 8) | p[0];
    }
    void SetPixel(int x, int y, DWORD value) {
        GdiFlush();
        BYTE* p = Address(x, y);
        if (m_bitsPerPixel == 32) {
            std::memcpy(p, &value, 4);
        } else {
            p[0] = BYTE(value);
            p[1] = BYTE(value >> 8);
            p[2] = BYTE(value >> 16);
        }
    }
    void Fill(DWORD value) {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                SetPixel(x, y, value);
    }
    /// Every pixel, row by row.
    std::vector<DWORD> Pixels() const {
        std::vector<DWORD> pixels;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }
    /// Number of pixels in `area` that differ from `value`.
    int CountOther(const RECT& area, DWORD value) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += Pixel(x, y) != value;
        return count;
    }

private:
    BYTE* Address(int x, int y) const {
        const int line = m_bottomUp ? m_height - 1 - y : y;
        return m_bits + line * m_stride + x * (m_bitsPerPixel / 8);
    }

    int m_width;
    int m_height;
    int m_bitsPerPixel;
    bool m_bottomUp;
    HBITMAP m_bitmap;
    BYTE* m_bits;
    int m_stride;
    HDC m_dc;
    HGDIOBJ m_oldBitmap;
};

/// A 32-bit top-down DIB section holding the given 0xAARRGGBB values (premultiplied when
/// they are to be blended), owned.
class Bitmap {
public:
    Bitmap(int width, int height, const std::vector<DWORD>& pixels)
        : m_width(width), m_height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (m_bitmap != nullptr && pixels.size() == size_t(width) * height) {
            std::memcpy(bits, pixels.data(), pixels.size() * 4);
        }
    }
    ~Bitmap() { DeleteObject(m_bitmap); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HBITMAP get() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap;
};

/// A whole bitmap in one colour.
inline std::vector<DWORD> Solid(int width, int height, DWORD value) {
    return std::vector<DWORD>(size_t(width) * height, value);
}

/// ASCII text of a wide name, for failure messages.
inline std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

inline std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

/// Every byte of `actual` within `tolerance` of the same byte of `expected`.
inline ::testing::AssertionResult PixelNear(DWORD actual, DWORD expected, int tolerance = 1) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = (actual >> shift) & 0xFF;
        const int e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance) {
            return ::testing::AssertionFailure()
                   << Hex(actual) << " is not within " << tolerance << " of " << Hex(expected);
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace RenderTest
