// A skinned window of the leak cycles and the input every cycle drives it with.
#pragma once

#include <windows.h>

#include <string>

#include "control/ControlUI.h"
#include "window/WindowImplBase.h"

namespace leaktest {

// The folder of skins and images beside the test (ends with a separator).
std::wstring SkinFolder();

// A skinned window whose skin is XML text or a file of SkinFolder().
class LeakWindow : public SkinUI::WindowImplBase {
public:
    explicit LeakWindow(std::wstring xml) : m_xml(std::move(xml)) {}

    // Creates, shows and paints the window (the first paint lays it out); null on failure.
    HWND Open(HWND owner = nullptr);
    SkinUI::CControlUI* Find(const wchar_t* name) { return m_PaintManager.FindControl(name); }

protected:
    const wchar_t* GetWndClassName() const override { return L"VarnelLeakWindow"; }
    SkinUI::CSkinString GetSkinDirectory() const override;
    SkinUI::CSkinString GetSkinXmlName() override { return m_xml.c_str(); }
    SkinUI::UILIB_RESOURCETYPE GetResourceType() const override { return SkinUI::UILIB_FROM_FILE; }

private:
    std::wstring m_xml;
};

// Paints what is invalid now, the native children included.
void Paint(HWND window);

// Drives a window at a client point: the mouse moves, hovers, clicks (left and right) and
// wheels there, then keys go to whatever has the keyboard focus inside it, then the focus
// leaves and comes back; the window is painted after.
void DriveAt(HWND window, POINT point);

// The centre of a control, in its window's client coordinates.
POINT CentreOf(const SkinUI::CControlUI* control);

// A key message as the message loop delivers it: the framework's pre-translation first.
void Key(HWND target, UINT message, WPARAM key);

// The first descendant of `window` of the window class, or null.
HWND FindChildOfClass(HWND window, const wchar_t* className);

// Destroys the window (if still there) and runs what destroying it posted.
void Destroy(HWND window);

} // namespace leaktest
