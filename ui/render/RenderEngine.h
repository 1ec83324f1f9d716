#pragma once

// The framework's drawing routines: image loading, the image attribute language and
// nine-grid image drawing, colour fills, gradients, lines and rectangles, text and control
// snapshots.
//
// Everything drawn here also works on 32-bit bitmaps with per-pixel alpha (the layered
// windows' surfaces): opaque colours, lines and borders come out opaque there, where plain
// GDI would leave alpha 0 behind.

#include <windows.h>

#include "core/Handles.h"
#include "core/SkinString.h"
#include "core/StringOrId.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

/// A loaded image, ready for alpha blending.
struct TImageInfo {
    HBITMAP bitmap = nullptr;  ///< 32-bit top-down DIB section, colours premultiplied by alpha
    int width = 0;             ///< in pixels
    int height = 0;            ///< in pixels
    bool alphaChannel = false; ///< some pixel is not fully opaque: draw with per-pixel alpha
    CSkinString resourceType;  ///< resource type it was loaded with; empty for files
    DWORD mask = 0;            ///< colour keyed out at load time (0xAARRGGBB), 0 for none
    /// Pixel bytes this record holds of the decoded-image budget (LoadImageW); 0 for
    /// bitmaps made elsewhere. FreeImage gives them back.
    size_t decodedBytes = 0;
};

/// The settings an image attribute string builds up, item by item ("file", "dest", ...).
struct TImageAttributes {
    CSkinString name;         ///< image name: file, archive entry or numeric resource id
    CSkinString resourceType; ///< empty: a skin file, else an executable resource
    RECT dest = {};           ///< destination, absolute (already offset by the item)
    RECT source = {};         ///< part of the bitmap; all 0 means the whole bitmap
    RECT corner = {};         ///< fixed border widths of the nine-grid
    DWORD mask = 0;           ///< colour made transparent at load time
    BYTE fade = 255;          ///< constant opacity of the whole image
    bool hole = false;        ///< leave the middle cell out
    bool xTiled = false;      ///< repeat the middle cell horizontally
    bool yTiled = false;      ///< repeat the middle cell vertically

    TImageAttributes() = default;
    /// The starting settings of a string drawn over `item`: the whole string as the image
    /// name and the item as destination.
    TImageAttributes(const wchar_t* imageString, const RECT& item);
};

/// Receives each image an attribute string finishes before its end (see `ParseImageString`).
using PendingImageHandler = void (*)(void* context, const TImageAttributes& image);
/// Finds a loaded image by name, resource type and mask (the paint manager's image cache);
/// null when it is not available.
using ImageLookup = const TImageInfo* (*)(void* context, const wchar_t* name,
                                          const wchar_t* resourceType, DWORD mask);

/// Static drawing routines.
class CRenderEngine {
public:
    // ---- Images

    /// Loads an image file (PNG, JPEG or BMP, whatever its name) into a premultiplied 32-bit
    /// DIB. With a `type` it is a resource of the resource module, else a skin file; when
    /// neither yields bytes, a name (never an id) is read as a plain file path. Pixels
    /// equal to `mask` after premultiplication become transparent. Null on any failure.
    /// Images beyond 16,384 pixels a side or 8 Mi pixels in all are refused from their
    /// header, and so is an image that would take the decoded images alive in the process
    /// beyond 64 MiB; each with a trace line.
    static TImageInfo* LoadImageW(STRINGorID bitmap, const wchar_t* type = nullptr, DWORD mask = 0);
    /// Converts an icon into an opaque image on black; null on failure.
    static TImageInfo* LoadImageFromHICON(HICON icon);
    /// Deletes the bitmap and the record; null is ignored.
    static void FreeImage(TImageInfo* info);

    // ---- Image attribute strings and image drawing

    /// Images one attribute string and its modifier may draw. Real skins draw one or two;
    /// a string asking for more is refused whole, with a trace line.
    static constexpr int kMaxImagesPerString = 32;

    /// Draws an image attribute string and a modifier string with the images of the
    /// manager's cache (loaded on first use) into `item`, touching only cells that meet
    /// `paint`. False for a null device context or manager, and for strings refused for
    /// drawing more than kMaxImagesPerString images (callers may drop them).
    static bool DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& item,
                                const RECT& paint, const wchar_t* image,
                                const wchar_t* modifier = nullptr);
    /// Draws an image attribute string, then the modifier string on top of its settings,
    /// into `item`, touching only cells that meet `paint`. Each pending image of the two
    /// strings is found through `lookup` and drawn with `DrawImageAttributes`; a missing
    /// image draws nothing. False for a null device context or lookup, and for strings
    /// refused for drawing more than kMaxImagesPerString images.
    static bool DrawImageStrings(HDC hDC, const RECT& item, const RECT& paint, const wchar_t* image,
                                 const wchar_t* modifier, ImageLookup lookup, void* lookupContext);
    /// Reads one attribute string into `attributes`, on top of what they hold. A "file" or
    /// "res" item that replaces an image this same string already named first hands the
    /// pending image to `onPending` (may be null). Parsing stops at the first malformed item.
    static void ParseImageString(const wchar_t* text, const RECT& item,
                                 TImageAttributes& attributes, PendingImageHandler onPending,
                                 void* context);
    /// Draws one loaded image with the settings of an attribute string: the source defaults
    /// to the whole bitmap and is cut at its edges; nothing is drawn when the destination
    /// misses `item` or `paint`.
    static void DrawImageAttributes(HDC hDC, const TImageInfo* image,
                                    const TImageAttributes& attributes, const RECT& item,
                                    const RECT& paint);
    /// Nine-grid drawing of `source` of a bitmap into `dest`: corners keep their size, edges
    /// and middle stretch (or the middle repeats); only cells meeting `paint` are drawn.
    /// With `alphaChannel` or a fade below 255 the bitmap must hold premultiplied alpha.
    static void DrawImage(HDC hDC, HBITMAP bitmap, const RECT& dest, const RECT& paint,
                          const RECT& source, const RECT& corners, bool alphaChannel,
                          BYTE fade = 255, bool hole = false, bool xTiled = false,
                          bool yTiled = false);

    // ---- Colours and primitives (colours are 0xAARRGGBB)

    /// Shifts hue by h - 180 degrees and scales saturation by s% and lightness by l%;
    /// (180, 100, 100) leaves the colour as it is. Alpha is kept.
    static DWORD AdjustColor(DWORD color, short h, short s, short l);
    /// Fills with a colour, blended by its alpha; alpha 0 draws nothing.
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    /// Two-colour gradient, top to bottom or left to right, blended by the mean of the two
    /// alphas; `steps` sets the number of bands where the system cannot draw gradients.
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                             int steps);
    /// Line from (left, top) to (right, bottom) with a pen style (PS_SOLID, PS_DASH, ...).
    static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    /// Rectangle outline drawn inside the rectangle.
    static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color);
    /// Rounded rectangle outline with the given ellipse width and height.
    static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                              DWORD color);

    // ---- Text and snapshots

    /// Draws text in one of the manager's fonts (an index; the default font outside the
    /// list) with DrawText format flags; "&" is never a prefix. With DT_CALCRECT `rc`
    /// receives the measured size instead. Text stays opaque on surfaces with alpha.
    static void DrawTextW(HDC hDC, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                          DWORD color, int font, UINT format);
    /// Draws (or with DT_CALCRECT measures) HTML-like text: single-letter tags for bold,
    /// italic, underline, fonts, colours, links, paragraphs, line heights, pen moves, line
    /// breaks, raw text, selection and inline images. Uses DT_CENTER, DT_RIGHT, DT_VCENTER,
    /// DT_BOTTOM (which move `rc` to the text when drawing), DT_SINGLELINE, DT_WORDBREAK,
    /// DT_END_ELLIPSIS and DT_CALCRECT (`rc` then receives the text's right and bottom).
    /// `linkCount` holds the capacity of `links` and `targets` on entry (either may be null)
    /// and the number of links recorded on return; the pointer over one of the rectangles
    /// passed in shows links to its target in the hover colour. Malformed markup is drawn as
    /// well as it can be, never failing.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                             DWORD color, RECT* links, CSkinString* targets, int& linkCount,
                             UINT style);
    /// Runs `draw(context)` and keeps what GDI text and shape calls drew into `bounds`
    /// opaque on a surface with alpha (elsewhere it is plain drawing).
    static void DrawOpaque(HDC hDC, const RECT& bounds, void (*draw)(void* context), void* context);
    /// Width and height of one line of text in one of the manager's fonts; 0 x 0 for null
    /// text or manager.
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* manager, const wchar_t* text, int font,
                            UINT format);
    /// Paints a control and returns `rc` of it as a bottom-up 32-bit DIB section (the
    /// caller deletes it); null on failure.
    static HBITMAP GenerateBitmap(CPaintManagerUI* manager, CControlUI* control, const RECT& rc);
    /// A 32-bit DIB section `width` pixels wide and `height` high, its rows bottom-up for a
    /// positive height and top-down for a negative one (as a bitmap header has it), made
    /// for `hDC` (which may be null); `bits` receives its pixels. Empty, with `bits` null,
    /// for an empty size, one over 2 GiB of pixels, or when the system cannot make it.
    static CGdiBitmap CreateDib32(HDC hDC, int width, int height, void** bits);

    // ---- Blending

    /// The built-in stand-in for the system's AlphaBlend, with the same arguments and
    /// result: source-over of premultiplied colour and alpha, constant alpha applied once.
    static bool SoftwareAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source,
                                   int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                   BLENDFUNCTION blend);
    /// Whether drawing may use the system's AlphaBlend and GradientFill ("msimg32.dll"); when
    /// off, or when they are missing, the built-in blend and gradient bands are used.
    static void SetSystemBlending(bool use);
};

} // namespace SkinUI
