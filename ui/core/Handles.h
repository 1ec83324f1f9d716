// Thin owners of the handles the framework makes. Each owner frees what it holds exactly
// once, when it goes or is reset, and hands it over on a move; none can be copied except
// the COM pointer, whose copies add a reference. Scopes (a selection, a paint, a window
// DC) undo in their destructor what their constructor did.
//
// COM interfaces are held by CComPtr below, not by Microsoft::WRL::ComPtr. MinGW's
// <wrl/client.h> compiles cleanly with -Wall -Wextra, but its Attach adds a reference and
// its move assignment copies, where the SDK's take the pointer over: the same code would
// leak under one compiler and not under the other. CComPtr is small and means the same
// everywhere; it also needs no __uuidof, which not every interface declares.
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace Gdiplus {
class GpBrush;
class GpFont;
class GpGraphics;
class GpImage;
class GpStringFormat;
} // namespace Gdiplus

namespace SkinUI {

/// Owns one handle; `Traits` gives its type (`Handle`) and how it is freed (`Free`).
template <typename Traits> class CHandleOwner {
public:
    using Handle = typename Traits::Handle;

    CHandleOwner() noexcept = default;
    /// Takes over `handle`; null holds nothing.
    explicit CHandleOwner(Handle handle) noexcept : m_handle(handle) {}
    ~CHandleOwner() { Reset(); }
    CHandleOwner(CHandleOwner&& other) noexcept : m_handle(other.Detach()) {}
    CHandleOwner& operator=(CHandleOwner&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    /// Gives the handle up without freeing it.
    Handle Detach() noexcept {
        const Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    /// Frees what it holds, then holds `handle`.
    void Reset(Handle handle = nullptr) noexcept {
        const Handle old = m_handle;
        m_handle = handle;
        if (old != nullptr && old != handle) Traits::Free(old);
    }
    /// Frees what it holds and gives the address an API writes a new handle to.
    Handle* Receive() noexcept {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = nullptr;
};

void FreeGdiplusObject(Gdiplus::GpBrush* brush) noexcept;
void FreeGdiplusObject(Gdiplus::GpFont* font) noexcept;
void FreeGdiplusObject(Gdiplus::GpGraphics* graphics) noexcept;
void FreeGdiplusObject(Gdiplus::GpImage* image) noexcept;
void FreeGdiplusObject(Gdiplus::GpStringFormat* format) noexcept;

namespace handle_traits {

template <typename T> struct GdiObject {
    static_assert(std::is_pointer<T>::value, "a GDI object handle");
    using Handle = T;
    static void Free(T object) noexcept { ::DeleteObject(object); }
};
struct MemoryDC {
    using Handle = HDC;
    static void Free(HDC dc) noexcept { ::DeleteDC(dc); }
};
struct Icon {
    using Handle = HICON;
    static void Free(HICON icon) noexcept { ::DestroyIcon(icon); }
};
struct AcceleratorTable {
    using Handle = HACCEL;
    static void Free(HACCEL table) noexcept { ::DestroyAcceleratorTable(table); }
};
struct Menu {
    using Handle = HMENU;
    static void Free(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
// Derived objects (a line gradient is a brush, a bitmap an image) go through the
// function of their base.
template <typename T> struct GdiplusObject {
    using Handle = T*;
    static void Free(T* object) noexcept { FreeGdiplusObject(object); }
};

} // namespace handle_traits

template <typename T> using CGdiObject = CHandleOwner<handle_traits::GdiObject<T>>;
using CGdiBitmap = CGdiObject<HBITMAP>;
using CGdiBrush = CGdiObject<HBRUSH>;
using CGdiFont = CGdiObject<HFONT>;
using CGdiPen = CGdiObject<HPEN>;
using CGdiRegion = CGdiObject<HRGN>;
/// A DC made by CreateCompatibleDC (or CreateDC).
using CMemoryDC = CHandleOwner<handle_traits::MemoryDC>;
/// An icon or cursor made by LoadImage (without LR_SHARED) or CreateIcon*.
using CIcon = CHandleOwner<handle_traits::Icon>;
using CAcceleratorTable = CHandleOwner<handle_traits::AcceleratorTable>;
/// A menu made by LoadMenu or CreateMenu that no window owns (a window destroys its own).
using CMenu = CHandleOwner<handle_traits::Menu>;
/// A GDI+ flat-API object: GpFont, GpGraphics, GpStringFormat, a brush or an image.
template <typename T> using CGdiplusObject = CHandleOwner<handle_traits::GdiplusObject<T>>;

/// Selects an object into a DC and, when it ends, selects back the object it replaced.
/// Regions are refused: selecting one answers its complexity, not an old object.
class CSelection {
public:
    CSelection() noexcept = default;
    template <typename Object> CSelection(HDC dc, Object object) noexcept {
        static_assert(!std::is_same<Object, HRGN>::value, "regions go through SelectClipRgn");
        const HGDIOBJ old =
            dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr;
        if (old != nullptr && old != HGDI_ERROR) {
            m_dc = dc;
            m_old = old;
        }
    }
    ~CSelection() { Reset(); }
    CSelection(CSelection&& other) noexcept : m_dc(other.m_dc), m_old(other.m_old) {
        other.m_dc = nullptr;
        other.m_old = nullptr;
    }
    CSelection& operator=(CSelection&& other) noexcept {
        if (this != &other) {
            Reset();
            m_dc = other.m_dc;
            m_old = other.m_old;
            other.m_dc = nullptr;
            other.m_old = nullptr;
        }
        return *this;
    }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

    /// Whether the object went in (and the old one will come back).
    explicit operator bool() const noexcept { return m_dc != nullptr; }
    /// Selects the old object back now.
    void Reset() noexcept {
        if (m_dc != nullptr) ::SelectObject(m_dc, m_old);
        m_dc = nullptr;
        m_old = nullptr;
    }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

/// A bitmap of its own selected into a memory DC of its own: a surface to draw into off
/// screen. The bitmap leaves the DC before either is freed.
class CBitmapDC {
public:
    CBitmapDC() noexcept = default;
    ~CBitmapDC() { Reset(); }
    CBitmapDC(const CBitmapDC&) = delete;
    CBitmapDC& operator=(const CBitmapDC&) = delete;

    /// Takes `bitmap` and selects it into a new DC compatible with `reference` (null: the
    /// screen). False, with nothing kept and the bitmap freed, when the bitmap is null or
    /// the DC or the selection fails.
    bool Create(HDC reference, CGdiBitmap bitmap) noexcept {
        Reset();
        if (!bitmap) return false;
        CMemoryDC dc(::CreateCompatibleDC(reference));
        CSelection selection(dc.Get(), bitmap.Get());
        if (!selection) return false;
        m_bitmap = std::move(bitmap);
        m_dc = std::move(dc);
        m_selection = std::move(selection);
        return true;
    }
    /// Frees the DC and the bitmap.
    void Reset() noexcept {
        m_selection.Reset();
        m_dc.Reset();
        m_bitmap.Reset();
    }

    HDC GetDC() const noexcept { return m_dc.Get(); }
    HBITMAP GetBitmap() const noexcept { return m_bitmap.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(m_dc); }

private:
    CGdiBitmap m_bitmap;
    CMemoryDC m_dc;
    CSelection m_selection;
};

/// A window's DC from GetDC (a null window: the screen's), released to that window when
/// it goes.
class CWindowDC {
public:
    CWindowDC() noexcept = default;
    explicit CWindowDC(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    ~CWindowDC() { Reset(); }
    CWindowDC(CWindowDC&& other) noexcept : m_window(other.m_window), m_dc(other.m_dc) {
        other.m_window = nullptr;
        other.m_dc = nullptr;
    }
    CWindowDC& operator=(CWindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            m_window = other.m_window;
            m_dc = other.m_dc;
            other.m_window = nullptr;
            other.m_dc = nullptr;
        }
        return *this;
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    /// Takes over a DC that GetDC gave for `window` and that was lent out and given back
    /// (a windowless ActiveX object returns the DC its site lent it).
    static CWindowDC Adopt(HWND window, HDC dc) noexcept {
        CWindowDC owner;
        owner.m_window = window;
        owner.m_dc = dc;
        return owner;
    }

    HDC Get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }
    /// Gives the DC up without releasing it: whoever takes it gives it back to the window.
    HDC Detach() noexcept {
        const HDC dc = m_dc;
        m_window = nullptr;
        m_dc = nullptr;
        return dc;
    }
    /// Releases the DC now; false when the window did not take it back.
    bool Reset() noexcept {
        const bool released = m_dc == nullptr || ::ReleaseDC(m_window, m_dc) != 0;
        m_window = nullptr;
        m_dc = nullptr;
        return released;
    }

private:
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
};

/// BeginPaint for its life, EndPaint when it ends.
class CPaintScope {
public:
    explicit CPaintScope(HWND window) noexcept : m_window(window) {
        m_dc = ::BeginPaint(window, &m_paint);
    }
    ~CPaintScope() { End(); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;

    /// EndPaint now; the DC is gone from then on.
    void End() noexcept {
        if (m_dc != nullptr) ::EndPaint(m_window, &m_paint);
        m_dc = nullptr;
    }

    /// Null when BeginPaint failed.
    HDC GetDC() const noexcept { return m_dc; }
    const RECT& GetPaintRect() const noexcept { return m_paint.rcPaint; }

private:
    HWND m_window;
    HDC m_dc = nullptr;
    PAINTSTRUCT m_paint{};
};

/// One GDI+ session, from Start to the owner's end. GDI+ counts its starts, so sessions
/// nest: each ends only its own.
class CGdiplusSession {
public:
    CGdiplusSession() noexcept = default;
    ~CGdiplusSession() { End(); }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    /// Starts GDI+ (version 1, no callbacks) unless this session already did; false when
    /// it cannot be started.
    bool Start() noexcept;
    bool IsStarted() const noexcept { return m_started; }
    /// Ends the session now.
    void End() noexcept;

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

/// Holds one reference to a COM interface. A copy adds a reference, a move hands it over.
/// Every release clears the pointer before calling Release, which may call back into
/// the holder.
template <typename T> class CComPtr {
public:
    CComPtr() noexcept = default;
    CComPtr(std::nullptr_t) noexcept {}
    /// Shares `pointer`: adds a reference of its own.
    explicit CComPtr(T* pointer) noexcept : m_pointer(pointer) {
        if (m_pointer != nullptr) m_pointer->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.m_pointer) {}
    CComPtr(CComPtr&& other) noexcept : m_pointer(other.Detach()) {}
    ~CComPtr() { Reset(); }
    CComPtr& operator=(const CComPtr& other) noexcept {
        CComPtr copy(other);
        Swap(copy);
        return *this;
    }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    T* Get() const noexcept { return m_pointer; }
    T* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    /// Takes over a reference the caller owns, without adding one, and releases the old.
    void Attach(T* pointer) noexcept {
        T* old = m_pointer;
        m_pointer = pointer;
        if (old != nullptr) old->Release();
    }
    /// Gives the reference up without releasing it.
    T* Detach() noexcept {
        T* pointer = m_pointer;
        m_pointer = nullptr;
        return pointer;
    }
    /// Releases the reference.
    void Reset() noexcept { Attach(nullptr); }
    void Swap(CComPtr& other) noexcept {
        T* pointer = m_pointer;
        m_pointer = other.m_pointer;
        other.m_pointer = pointer;
    }
    /// Releases the reference and gives the address an API writes a new one to.
    T** Receive() noexcept {
        Reset();
        return &m_pointer;
    }
    /// The same, typed for QueryInterface and CoCreateInstance.
    void** ReceiveAsVoid() noexcept { return reinterpret_cast<void**>(Receive()); }
    /// Asks `source` for `iid`, which must be the id of T or of an interface derived from
    /// T (whose pointer is a T pointer too). On failure nothing is held and the failure is
    /// returned: E_POINTER without a source, E_NOINTERFACE for a success without a pointer.
    template <typename Source> HRESULT QueryFrom(Source* source, REFIID iid) noexcept {
        Reset();
        if (source == nullptr) return E_POINTER;
        void* found = nullptr;
        const HRESULT hr = source->QueryInterface(iid, &found);
        if (FAILED(hr)) return hr;
        if (found == nullptr) return E_NOINTERFACE;
        m_pointer = static_cast<T*>(found);
        return hr;
    }
    /// Hands a new reference out through an out-parameter.
    HRESULT CopyTo(T** out) const noexcept {
        if (out == nullptr) return E_POINTER;
        *out = m_pointer;
        if (m_pointer != nullptr) m_pointer->AddRef();
        return S_OK;
    }

private:
    T* m_pointer = nullptr;
};

/// A BSTR that lives as long as this object.
class CBstr {
public:
    CBstr() noexcept = default;
    /// A copy of `text`; null when the text is null or the copy cannot be made.
    explicit CBstr(const wchar_t* text) noexcept : m_text(::SysAllocString(text)) {}
    ~CBstr() { ::SysFreeString(m_text); }
    CBstr(CBstr&& other) noexcept : m_text(other.m_text) { other.m_text = nullptr; }
    CBstr& operator=(CBstr&& other) noexcept {
        if (this != &other) {
            ::SysFreeString(m_text);
            m_text = other.m_text;
            other.m_text = nullptr;
        }
        return *this;
    }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;

    BSTR Get() const noexcept { return m_text; }
    operator BSTR() const noexcept { return m_text; }
    /// Frees the text and gives the address an API writes a new one to.
    BSTR* Receive() noexcept {
        ::SysFreeString(m_text);
        m_text = nullptr;
        return &m_text;
    }

private:
    BSTR m_text = nullptr;
};

/// A VARIANT that lives as long as this object: its text is freed and its interface
/// released (VariantClear) when it goes or receives a new value.
class CVariant {
public:
    CVariant() noexcept { ::VariantInit(&m_value); }
    ~CVariant() { ::VariantClear(&m_value); }
    CVariant(CVariant&& other) noexcept : m_value(other.m_value) { ::VariantInit(&other.m_value); }
    CVariant& operator=(CVariant&& other) noexcept {
        if (this != &other) {
            ::VariantClear(&m_value);
            m_value = other.m_value;
            ::VariantInit(&other.m_value);
        }
        return *this;
    }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    /// A VT_BSTR copy of `text`; its BSTR is null when the text is null or the copy cannot
    /// be made.
    static CVariant FromText(const wchar_t* text) noexcept {
        CVariant variant;
        V_VT(&variant.m_value) = VT_BSTR;
        V_BSTR(&variant.m_value) = ::SysAllocString(text);
        return variant;
    }
    /// A VT_I4 value.
    static CVariant FromLong(LONG value) noexcept {
        CVariant variant;
        V_VT(&variant.m_value) = VT_I4;
        V_I4(&variant.m_value) = value;
        return variant;
    }

    VARIANT* Get() noexcept { return &m_value; }
    const VARIANT* Get() const noexcept { return &m_value; }
    /// Clears the value and gives the address an API writes a new one to.
    VARIANT* Receive() noexcept {
        ::VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

} // namespace SkinUI
