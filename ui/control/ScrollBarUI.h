// A scroll bar: a track between two optional end buttons, with a thumb whose length shows
// the visible share of the content. It keeps a range and a position, paints its parts from
// state images (a plain border when a part has none), and turns clicks, drags and held
// buttons into scroll steps: of its owner container, or without one of its own position,
// reported with "scroll". Vertical and horizontal bars are one code path over an axis.
#pragma once

#include <windows.h>

#include "control/ControlUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class Axis;
class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    /// The parts a bar paints, in paint order. Button 1 is the up or left one.
    enum Part { kBackground, kButton1, kButton2, kThumb, kRail, kPartCount };
    /// The image each part has for each state.
    enum ImageState { kNormalImage, kHotImage, kPushedImage, kDisabledImage, kImageStateCount };

    /// A vertical bar 16 pixels thick with range 100 and both buttons.
    CScrollBarUI();

    /// "ScrollBarUI".
    const wchar_t* GetClass() const override;
    /// This bar for "ScrollBar", else as the control base.
    void* GetInterface(const wchar_t* name) override;

    /// The container this bar scrolls; not owned.
    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* owner);

    bool IsHorizontal() const;
    /// Changes the orientation; a bar without a thickness across the new axis gets 16.
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const;
    /// Stores the range (negative reads as 0) and keeps the position within it.
    void SetScrollRange(int range);
    int GetScrollPos() const;
    /// Stores the position clamped to 0..range.
    void SetScrollPos(int pos);
    /// Step of a button when the bar has no owner.
    int GetLineSize() const;
    void SetLineSize(int size);
    bool GetShowButton1() const;
    void SetShowButton1(bool show);
    bool GetShowButton2() const;
    void SetShowButton2(bool show);

    /// Where the geometry put each part, in window client coordinates. A missing button is
    /// an empty rectangle at its end; without room for a thumb, its rectangle is all zero.
    const RECT& GetButton1Rect() const;
    const RECT& GetButton2Rect() const;
    const RECT& GetThumbRect() const;
    /// UISTATE_* bits of the parts; the thumb's also stand for the background.
    UINT GetButton1State() const;
    UINT GetButton2State() const;
    UINT GetThumbState() const;

    /// Image attribute strings of each part and state; setting one repaints.
    const CSkinString& GetPartImage(Part part, ImageState state) const;
    void SetPartImage(Part part, ImageState state, const wchar_t* image);

    const CSkinString& GetBkNormalImage() const { return GetPartImage(kBackground, kNormalImage); }
    void SetBkNormalImage(const wchar_t* v) { SetPartImage(kBackground, kNormalImage, v); }
    const CSkinString& GetBkHotImage() const { return GetPartImage(kBackground, kHotImage); }
    void SetBkHotImage(const wchar_t* v) { SetPartImage(kBackground, kHotImage, v); }
    const CSkinString& GetBkPushedImage() const { return GetPartImage(kBackground, kPushedImage); }
    void SetBkPushedImage(const wchar_t* v) { SetPartImage(kBackground, kPushedImage, v); }
    const CSkinString& GetBkDisabledImage() const {
        return GetPartImage(kBackground, kDisabledImage);
    }
    void SetBkDisabledImage(const wchar_t* v) { SetPartImage(kBackground, kDisabledImage, v); }
    const CSkinString& GetButton1NormalImage() const {
        return GetPartImage(kButton1, kNormalImage);
    }
    void SetButton1NormalImage(const wchar_t* v) { SetPartImage(kButton1, kNormalImage, v); }
    const CSkinString& GetButton1HotImage() const { return GetPartImage(kButton1, kHotImage); }
    void SetButton1HotImage(const wchar_t* v) { SetPartImage(kButton1, kHotImage, v); }
    const CSkinString& GetButton1PushedImage() const {
        return GetPartImage(kButton1, kPushedImage);
    }
    void SetButton1PushedImage(const wchar_t* v) { SetPartImage(kButton1, kPushedImage, v); }
    const CSkinString& GetButton1DisabledImage() const {
        return GetPartImage(kButton1, kDisabledImage);
    }
    void SetButton1DisabledImage(const wchar_t* v) { SetPartImage(kButton1, kDisabledImage, v); }
    const CSkinString& GetButton2NormalImage() const {
        return GetPartImage(kButton2, kNormalImage);
    }
    void SetButton2NormalImage(const wchar_t* v) { SetPartImage(kButton2, kNormalImage, v); }
    const CSkinString& GetButton2HotImage() const { return GetPartImage(kButton2, kHotImage); }
    void SetButton2HotImage(const wchar_t* v) { SetPartImage(kButton2, kHotImage, v); }
    const CSkinString& GetButton2PushedImage() const {
        return GetPartImage(kButton2, kPushedImage);
    }
    void SetButton2PushedImage(const wchar_t* v) { SetPartImage(kButton2, kPushedImage, v); }
    const CSkinString& GetButton2DisabledImage() const {
        return GetPartImage(kButton2, kDisabledImage);
    }
    void SetButton2DisabledImage(const wchar_t* v) { SetPartImage(kButton2, kDisabledImage, v); }
    const CSkinString& GetThumbNormalImage() const { return GetPartImage(kThumb, kNormalImage); }
    void SetThumbNormalImage(const wchar_t* v) { SetPartImage(kThumb, kNormalImage, v); }
    const CSkinString& GetThumbHotImage() const { return GetPartImage(kThumb, kHotImage); }
    void SetThumbHotImage(const wchar_t* v) { SetPartImage(kThumb, kHotImage, v); }
    const CSkinString& GetThumbPushedImage() const { return GetPartImage(kThumb, kPushedImage); }
    void SetThumbPushedImage(const wchar_t* v) { SetPartImage(kThumb, kPushedImage, v); }
    const CSkinString& GetThumbDisabledImage() const {
        return GetPartImage(kThumb, kDisabledImage);
    }
    void SetThumbDisabledImage(const wchar_t* v) { SetPartImage(kThumb, kDisabledImage, v); }
    const CSkinString& GetRailNormalImage() const { return GetPartImage(kRail, kNormalImage); }
    void SetRailNormalImage(const wchar_t* v) { SetPartImage(kRail, kNormalImage, v); }
    const CSkinString& GetRailHotImage() const { return GetPartImage(kRail, kHotImage); }
    void SetRailHotImage(const wchar_t* v) { SetPartImage(kRail, kHotImage, v); }
    const CSkinString& GetRailPushedImage() const { return GetPartImage(kRail, kPushedImage); }
    void SetRailPushedImage(const wchar_t* v) { SetPartImage(kRail, kPushedImage, v); }
    const CSkinString& GetRailDisabledImage() const { return GetPartImage(kRail, kDisabledImage); }
    void SetRailDisabledImage(const wchar_t* v) { SetPartImage(kRail, kDisabledImage, v); }

    /// Places the bar and works out its buttons, track and thumb.
    void SetPos(RECT rect) override;
    /// Stores the flag only: the owner lays itself out again.
    void SetVisible(bool visible = true) override;
    /// Disabling also clears the part states and stops a held button.
    void SetEnabled(bool enabled = true) override;
    /// Focuses the owner when there is one.
    void SetFocus() override;
    /// Presses, drags, held buttons and hot tracking; focus and context menu events are
    /// ignored; the rest goes to the owner.
    void DoEvent(TEventUI& event) override;
    /// The part images, "hor", "linesize", "range", "value", "showbutton1",
    /// "showbutton2"; others as the control base.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// Background, buttons, thumb and rail.
    void DoPaint(HDC hDC, const RECT& paintRect) override;

private:
    /// The axis the bar scrolls along.
    Axis Along() const;
    /// The bar's breadth: its fixed width when vertical, its fixed height when horizontal.
    int Thickness() const;
    /// How far the thumb can travel along the track, in pixels.
    long long ThumbTravel() const;
    /// One line or page back (up, left) or forward: the owner's step, else the bar's own.
    void Step(bool forward, bool page);
    /// A page step towards a track point before or after the thumb; none on the thumb.
    void PageTowards(POINT point);
    /// Moves to the position where the thumb drag has taken it.
    void ApplyDrag();
    void Press(POINT point);
    void Release();
    void TrackMouse(POINT point);
    /// One tick of the repeat timer: the drag or a held button or track.
    void Repeat();
    /// Events the bar does not handle: the owner's, else the control base's.
    void PassOn(TEventUI& event);
    /// Draws the image of a part for a state, else its normal image, with an optional
    /// destination; an image that cannot be drawn is emptied. True when one was drawn.
    bool DrawPartImage(HDC hDC, Part part, UINT state, const RECT* dest);

    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    CContainerUI* m_pOwner = nullptr; ///< not owned
    POINT m_ptLastMouse{};            ///< where the thumb drag started
    int m_nLastScrollPos = 0;         ///< position where the thumb drag started
    int m_nLastScrollOffset = 0;      ///< position change the drag has made so far
    int m_nScrollRepeatDelay = 0;     ///< timer ticks since the press
    bool m_bShowButton1 = true;
    bool m_bShowButton2 = true;
    RECT m_rcButton1{};
    RECT m_rcButton2{};
    RECT m_rcThumb{};
    UINT m_uButton1State = 0;
    UINT m_uButton2State = 0;
    UINT m_uThumbState = 0;
    CSkinString m_sImages[kPartCount][kImageStateCount];
};

} // namespace SkinUI
