// Turns skin XML into a tree of controls: the window settings, fonts, images and default
// attribute lists of the document go to a paint manager, and every other element becomes
// a control with its attributes applied.
#pragma once

#include <windows.h>

#include "core/Markup.h"
#include "core/StringOrId.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

/// Makes controls for element names the builder does not know itself.
class IDialogBuilderCallback {
public:
    /// A new control for the element name, or null when the name is not known either.
    virtual CControlUI* CreateControl(const wchar_t* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
public:
    /// Documents included from included documents are skipped below this depth, so a skin
    /// that includes itself ends.
    static constexpr int kMaxIncludeDepth = 8;
    /// Documents included in one top-level build, at all depths together; further includes
    /// are skipped with a trace line, so `count` cannot multiply a build without end.
    static constexpr int kMaxIncludedBuilds = 64;
    /// Controls nest at most this deep in one top-level build, included documents counted
    /// where they are included: layout and painting recurse once per level. A deeper element
    /// is skipped with its subtree, with one trace line per build.
    static constexpr int kMaxControlDepth = 256;
    /// Unknown elements reported by trace lines in one top-level build; one more line says
    /// that further ones go unreported.
    static constexpr int kMaxUnknownElementReports = 32;
    /// ActiveX controls (web browsers included) one top-level build makes; each may start
    /// a component. Further ones are skipped, with one trace line per build.
    static constexpr int kMaxActiveXControls = 32;
    /// `Image`, `Font` and `Default` elements applied in one top-level build, all kinds
    /// together; each may read a file or make a GDI font. Further ones are skipped, with
    /// one trace line per build.
    static constexpr int kMaxResourceElements = 1024;

    CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    /// Loads a document and builds it: an integer id is the resource of `type` in the
    /// resource module (read as UTF-8), text starting with '<' is XML, anything else a skin
    /// file name. Returns the first top-level control, or null when nothing loaded or built.
    /// Without a parent, the caller owns that control, and the builder frees every further
    /// top-level control (included ones too), which nobody else would.
    CControlUI* Create(STRINGorID xml, const wchar_t* type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    /// Builds the document already loaded into the markup. With a manager, the root's
    /// `Image`, `Font` and `Default` children and, for a `Window` root in a window, its
    /// window settings are applied; the root's child elements then become controls under
    /// `parent` (or top-level controls when it is null).
    CControlUI* Create(IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);

    /// The element names this builder makes framework controls of (`TreeNode` included),
    /// one per index from 0; null past the last. Plug-ins and callbacks are not asked.
    static const wchar_t* GetControlElementName(int index);

    CMarkup* GetMarkup();

    /// Why the last load failed (file and text sources), always terminated within `count`.
    void GetLastErrorMessage(wchar_t* message, unsigned long count) const;
    /// The text where the last parse failed, always terminated within `count`.
    void GetLastErrorLocation(wchar_t* source, unsigned long count) const;

private:
    /// Builds the child elements of `element` into `parent`; the first control built at
    /// this level, or null.
    CControlUI* _Parse(CMarkupNode* element, CControlUI* parent = nullptr,
                       CPaintManagerUI* manager = nullptr);
    /// Builds the child elements of `element` into `control`, one level deeper; at the
    /// depth bound they are skipped instead.
    void _ParseChildren(CMarkupNode& element, CControlUI* control, CPaintManagerUI* manager);
    /// Builds an `Include` element `count` times into `parent`.
    void BuildInclude(CMarkupNode& element, CControlUI* parent, CPaintManagerUI* manager);
    /// Builds a `TreeNode` element into `parent`; false when the parent can hold no node
    /// and the rest of this level must be dropped.
    bool BuildTreeNode(CMarkupNode& element, CControlUI* parent, CPaintManagerUI* manager);
    /// A new control for an element name: built-in names, then plug-ins, then the callback.
    CControlUI* CreateControl(const wchar_t* className) const;
    /// Applies the defaults for the element name and the element's own attributes.
    void ApplyAttributes(CMarkupNode& element, CControlUI* control, CPaintManagerUI* manager);

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback;
    const wchar_t* m_pstrtype; ///< resource type of a document read from a resource, else null
    int m_includeDepth;        ///< how many includes led to this builder
    /// What the whole top-level build has done so far, shared by its nested builders.
    struct IncludeCount {
        int builds = 0;
        bool traced = false;      ///< the include bound was reported
        int depth = 0;            ///< nesting level of the controls being built
        bool depthTraced = false; ///< the depth bound was reported
        int unknownReports = 0;   ///< unknown elements reported
        int activeX = 0;          ///< ActiveX controls made
        int resources = 0;        ///< resource elements met
    };
    IncludeCount m_ownIncludes;
    IncludeCount* m_includes; ///< the top-level builder's count
};

} // namespace SkinUI
