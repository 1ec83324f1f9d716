// HTML document, element, body and style interfaces with every operation
// answering E_NOTIMPL, written out from the interfaces' declarations. The mock
// document objects override the few operations a host uses.
#pragma once

#include <windows.h>
#include <mshtml.h>

// IHTMLDocument2 with every operation answering E_NOTIMPL.
class HtmlDocumentDefaults : public IHTMLDocument2 {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_Script(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_all(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_body(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP get_activeElement(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP get_images(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_applets(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_links(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_forms(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_anchors(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP put_title(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_title(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_scripts(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP put_designMode(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_designMode(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_selection(IHTMLSelectionObject**) override { return E_NOTIMPL; }
    STDMETHODIMP get_readyState(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_frames(IHTMLFramesCollection2**) override { return E_NOTIMPL; }
    STDMETHODIMP get_embeds(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_plugins(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP put_alinkColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_alinkColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_bgColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_bgColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fgColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_fgColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_linkColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_linkColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_vlinkColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_vlinkColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_referrer(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_location(IHTMLLocation**) override { return E_NOTIMPL; }
    STDMETHODIMP get_lastModified(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_URL(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_URL(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_domain(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_domain(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_cookie(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_cookie(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_expando(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_expando(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_charset(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_charset(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_defaultCharset(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_defaultCharset(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_mimeType(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileSize(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileCreatedDate(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileModifiedDate(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileUpdatedDate(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_security(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_protocol(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_nameProp(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP write(SAFEARRAY*) override { return E_NOTIMPL; }
    STDMETHODIMP writeln(SAFEARRAY*) override { return E_NOTIMPL; }
    STDMETHODIMP open(BSTR, VARIANT, VARIANT, VARIANT, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP close() override { return E_NOTIMPL; }
    STDMETHODIMP clear() override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandSupported(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandEnabled(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandState(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandIndeterm(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandText(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandValue(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP execCommand(BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP execCommandShowHelp(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP createElement(BSTR, IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP put_onhelp(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onhelp(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onclick(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onclick(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondblclick(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondblclick(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeyup(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeyup(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeydown(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeydown(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeypress(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeypress(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseup(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseup(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousedown(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousedown(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousemove(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousemove(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseout(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseout(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseover(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseover(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onreadystatechange(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onreadystatechange(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onafterupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onafterupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowexit(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowexit(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowenter(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowenter(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondragstart(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondragstart(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onselectstart(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onselectstart(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP elementFromPoint(LONG, LONG, IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP get_parentWindow(IHTMLWindow2**) override { return E_NOTIMPL; }
    STDMETHODIMP get_styleSheets(IHTMLStyleSheetsCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP put_onbeforeupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onbeforeupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onerrorupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onerrorupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP toString(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP createStyleSheet(BSTR, LONG, IHTMLStyleSheet**) override { return E_NOTIMPL; }
};

// IHTMLElement with every operation answering E_NOTIMPL.
class HtmlElementDefaults : public IHTMLElement {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP setAttribute(BSTR, VARIANT, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP getAttribute(BSTR, LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP removeAttribute(BSTR, LONG, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_className(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_className(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_id(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_id(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_tagName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_parentElement(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP get_style(IHTMLStyle**) override { return E_NOTIMPL; }
    STDMETHODIMP put_onhelp(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onhelp(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onclick(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onclick(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondblclick(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondblclick(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeydown(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeydown(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeyup(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeyup(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeypress(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeypress(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseout(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseout(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseover(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseover(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousemove(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousemove(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousedown(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousedown(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseup(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseup(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_document(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP put_title(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_title(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_language(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_language(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onselectstart(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onselectstart(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP scrollIntoView(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP contains(IHTMLElement*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_sourceIndex(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_recordNumber(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_lang(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_lang(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_offsetLeft(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_offsetTop(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_offsetWidth(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_offsetHeight(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_offsetParent(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP put_innerHTML(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_innerHTML(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_innerText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_innerText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_outerHTML(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_outerHTML(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_outerText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_outerText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP insertAdjacentHTML(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP insertAdjacentText(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_parentTextEdit(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHODIMP get_isTextEdit(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP click() override { return E_NOTIMPL; }
    STDMETHODIMP get_filters(IHTMLFiltersCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondragstart(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondragstart(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP toString(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onbeforeupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onbeforeupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onafterupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onafterupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onerrorupdate(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onerrorupdate(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowexit(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowexit(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowenter(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowenter(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondatasetchanged(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondatasetchanged(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondataavailable(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondataavailable(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondatasetcomplete(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondatasetcomplete(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onfilterchange(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onfilterchange(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_children(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_all(IDispatch**) override { return E_NOTIMPL; }
};

// IHTMLBodyElement with every operation answering E_NOTIMPL.
class HtmlBodyElementDefaults : public IHTMLBodyElement {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP put_background(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_background(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_bgProperties(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_bgProperties(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_leftMargin(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_leftMargin(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_topMargin(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_topMargin(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_rightMargin(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_rightMargin(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_bottomMargin(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_bottomMargin(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_noWrap(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_noWrap(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_bgColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_bgColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_text(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_text(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_link(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_link(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_vLink(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_vLink(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_aLink(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_aLink(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onload(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onload(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onunload(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onunload(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_scroll(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_scroll(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onselect(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onselect(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_onbeforeunload(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_onbeforeunload(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP createTextRange(IHTMLTxtRange**) override { return E_NOTIMPL; }
};

// IHTMLStyle with every operation answering E_NOTIMPL.
class HtmlStyleDefaults : public IHTMLStyle {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP put_fontFamily(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_fontFamily(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fontStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_fontStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fontVariant(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_fontVariant(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fontWeight(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_fontWeight(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fontSize(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_fontSize(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_font(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_font(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_color(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_color(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_background(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_background(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundImage(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundImage(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundRepeat(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundRepeat(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundAttachment(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundAttachment(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundPosition(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundPosition(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundPositionX(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundPositionX(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_backgroundPositionY(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_backgroundPositionY(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_wordSpacing(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_wordSpacing(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_letterSpacing(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_letterSpacing(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecoration(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecoration(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecorationNone(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecorationNone(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecorationUnderline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecorationUnderline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecorationOverline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecorationOverline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecorationLineThrough(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecorationLineThrough(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textDecorationBlink(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_textDecorationBlink(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_verticalAlign(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_verticalAlign(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textTransform(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_textTransform(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textAlign(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_textAlign(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_textIndent(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_textIndent(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_lineHeight(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_lineHeight(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_marginTop(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_marginTop(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_marginRight(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_marginRight(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_marginBottom(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_marginBottom(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_marginLeft(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_marginLeft(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_margin(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_margin(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_paddingTop(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_paddingTop(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_paddingRight(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_paddingRight(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_paddingBottom(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_paddingBottom(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_paddingLeft(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_paddingLeft(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_padding(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_padding(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_border(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_border(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderTop(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderTop(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderRight(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderRight(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderBottom(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderBottom(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderLeft(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderLeft(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderColor(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderColor(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderTopColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderTopColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderRightColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderRightColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderBottomColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderBottomColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderLeftColor(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderLeftColor(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderWidth(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderWidth(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderTopWidth(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderTopWidth(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderRightWidth(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderRightWidth(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderBottomWidth(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderBottomWidth(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderLeftWidth(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderLeftWidth(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderTopStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderTopStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderRightStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderRightStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderBottomStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderBottomStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_borderLeftStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_borderLeftStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_width(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_width(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_height(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_height(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_styleFloat(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_styleFloat(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_clear(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_clear(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_display(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_display(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_visibility(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_visibility(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_listStyleType(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_listStyleType(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_listStylePosition(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_listStylePosition(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_listStyleImage(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_listStyleImage(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_listStyle(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_listStyle(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_whiteSpace(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_whiteSpace(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_top(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_top(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_left(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_left(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_position(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_zIndex(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP get_zIndex(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_overflow(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_overflow(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pageBreakBefore(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_pageBreakBefore(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pageBreakAfter(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_pageBreakAfter(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_cssText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_cssText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pixelTop(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_pixelTop(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pixelLeft(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_pixelLeft(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pixelWidth(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_pixelWidth(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_pixelHeight(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_pixelHeight(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_posTop(float) override { return E_NOTIMPL; }
    STDMETHODIMP get_posTop(float*) override { return E_NOTIMPL; }
    STDMETHODIMP put_posLeft(float) override { return E_NOTIMPL; }
    STDMETHODIMP get_posLeft(float*) override { return E_NOTIMPL; }
    STDMETHODIMP put_posWidth(float) override { return E_NOTIMPL; }
    STDMETHODIMP get_posWidth(float*) override { return E_NOTIMPL; }
    STDMETHODIMP put_posHeight(float) override { return E_NOTIMPL; }
    STDMETHODIMP get_posHeight(float*) override { return E_NOTIMPL; }
    STDMETHODIMP put_cursor(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_cursor(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_clip(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_clip(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_filter(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_filter(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP setAttribute(BSTR, VARIANT, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP getAttribute(BSTR, LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP removeAttribute(BSTR, LONG, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP toString(BSTR*) override { return E_NOTIMPL; }
};
