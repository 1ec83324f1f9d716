// Tests that run the same cases along both axes: the cases are written along and across
// an axis, and the fixture turns them onto x and y for the vertical or horizontal one.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "control/HorizontalLayoutUI.h"
#include "control/VerticalLayoutUI.h"

// The parameter is true for the vertical axis.
template <class Base> class Along : public Base, public ::testing::WithParamInterface<bool> {
protected:
    bool Vertical() const { return this->GetParam(); }
    // A rectangle from its edges along and across the axis.
    RECT Turn(LONG nearAlong, LONG nearAcross, LONG farAlong, LONG farAcross) const {
        return Vertical() ? RECT{nearAcross, nearAlong, farAcross, farAlong}
                          : RECT{nearAlong, nearAcross, farAlong, farAcross};
    }
    RECT Turn(const RECT& alongAcross) const {
        return Turn(alongAcross.left, alongAcross.top, alongAcross.right, alongAcross.bottom);
    }
    SIZE Turn(LONG along, LONG across) const {
        return Vertical() ? SIZE{across, along} : SIZE{along, across};
    }
    POINT At(LONG along, LONG across) const {
        return Vertical() ? POINT{across, along} : POINT{along, across};
    }
    LONG NearAlong(const RECT& rc) const { return Vertical() ? rc.top : rc.left; }
    LONG FarAlong(const RECT& rc) const { return Vertical() ? rc.bottom : rc.right; }
    LONG AlongOf(const SIZE& size) const { return Vertical() ? size.cy : size.cx; }
    SkinUI::CContainerUI* NewLayout() const {
        if (Vertical()) return new SkinUI::CVerticalLayoutUI;
        return new SkinUI::CHorizontalLayoutUI;
    }
    // Sizes along the axis, then across it.
    void SetSizes(SkinUI::CControlUI& control, int along, int minimum = 0, int maximum = 9999,
                  int across = 0, int acrossMinimum = 0, int acrossMaximum = 9999) const {
        if (Vertical()) {
            control.SetFixedHeight(along);
            control.SetMinHeight(minimum);
            control.SetMaxHeight(maximum);
            control.SetFixedWidth(across);
            control.SetMinWidth(acrossMinimum);
            control.SetMaxWidth(acrossMaximum);
        } else {
            control.SetFixedWidth(along);
            control.SetMinWidth(minimum);
            control.SetMaxWidth(maximum);
            control.SetFixedHeight(across);
            control.SetMinHeight(acrossMinimum);
            control.SetMaxHeight(acrossMaximum);
        }
    }
};

inline std::string AxisName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "Vertical" : "Horizontal";
}
