// The skinned window that skinview shows or renders, and where its skin comes from.
#pragma once

#include <windows.h>

#include "core/SkinString.h"
#include "window/WindowImplBase.h"

namespace SkinView {

using SkinUI::CSkinString;

/// Where a skin comes from: a file in a folder, or an entry of an archive in a folder.
struct TSkinSource {
    CSkinString folder;  ///< absolute, ending in a separator
    CSkinString archive; ///< archive file name in the folder; empty for plain files
    CSkinString skin;    ///< file name in the folder, or entry name in the archive
    CSkinString file;    ///< the file whose changes rebuild the window: the skin or the archive
};

/// Points the skin sources at the skin (reopening its archive) and checks that it loads and
/// builds at least one control; false with the reason, the parser's message and place
/// included where there is one.
bool CheckSkin(const TSkinSource& source, CSkinString& reason);

class CSkinViewWindow : public SkinUI::WindowImplBase {
public:
    explicit CSkinViewWindow(const TSkinSource& source) : m_source(source) {}

    /// Creates the window (shown or hidden) at its skin's size, or `size` when that is not
    /// empty; null when the window cannot be created.
    HWND Open(SIZE size, bool show, const RECT* place = nullptr);
    /// Ends the message loop when the window is closed (not when it is replaced).
    void SetQuitWhenClosed(bool quit) { m_quitWhenClosed = quit; }

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinViewWindow"; }
    CSkinString GetSkinDirectory() const override { return m_source.folder; }
    CSkinString GetSkinXmlName() override { return m_source.skin; }
    SkinUI::UILIB_RESOURCETYPE GetResourceType() const override;
    CSkinString GetZIPFileName() const override { return m_source.archive; }
    /// Heap-allocated windows delete themselves once gone.
    void OnFinalMessage(HWND hWnd) override;

private:
    TSkinSource m_source;
    bool m_quitWhenClosed = false;
};

} // namespace SkinView
