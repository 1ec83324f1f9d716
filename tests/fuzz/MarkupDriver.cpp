// The XML reader: every input loaded in each encoding the reader accepts, then the whole
// tree walked (names, text, every attribute, the copying getters with small buffers).

#include <cwchar>

#include "FuzzEngine.h"
#include "core/Markup.h"

namespace {

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

std::size_t g_sink = 0; // keeps what the walk reads from being optimised away

void Walk(CMarkup& markup) {
    // Depth first without recursion: the driver must not be the thing that runs out of stack.
    CMarkupNode node = markup.GetRoot();
    while (node.IsValid()) {
        g_sink += std::wcslen(node.GetName()) + std::wcslen(node.GetValue());
        const int count = node.GetAttributeCount();
        wchar_t small[4];
        for (int i = -1; i <= count; ++i) {
            const wchar_t* name = node.GetAttributeName(i);
            g_sink += std::wcslen(name) + std::wcslen(node.GetAttributeValue(i));
            g_sink += node.HasAttribute(name) ? 1 : 0;
            g_sink += std::wcslen(node.GetAttributeValue(name));
            if (node.GetAttributeValue(i, small, 4)) g_sink += std::wcslen(small);
            if (node.GetAttributeValue(name, small, 1)) g_sink += std::wcslen(small);
        }
        g_sink += node.GetChild(L"Font").IsValid() ? 1 : 0;
        if (node.HasChildren()) {
            node = node.GetChild();
            continue;
        }
        while (node.IsValid() && !node.HasSiblings())
            node = node.GetParent();
        if (node.IsValid()) node = node.GetSibling();
    }
    wchar_t message[8];
    markup.GetLastErrorMessage(message, 8);
    markup.GetLastErrorLocation(message, 8);
    g_sink += std::wcslen(message) + markup.GetLastErrorOffset();
}

void Run(const std::uint8_t* data, std::size_t size) {
    const int encodings[] = {SkinUI::MARKUP_ENCODING_UTF8, SkinUI::MARKUP_ENCODING_UTF16,
                             SkinUI::MARKUP_ENCODING_ANSI};
    const bool collapse = (fuzz::Hash(data, size < 64 ? size : 64) & 1) != 0;
    for (int encoding : encodings) {
        CMarkup markup;
        markup.SetPreserveWhitespace(!collapse);
        markup.LoadFromMem(data, static_cast<unsigned long>(size), encoding);
        Walk(markup);
    }
    // The same bytes as wide text, as skins handed over in memory are.
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    CMarkup wide;
    wide.Load(text.c_str());
    Walk(wide);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "markup";
    target.extensions = {".xml"};
    target.tokens = {"<!--",
                     "-->",
                     "<![CDATA[",
                     "]]>",
                     "<?xml version=\"1.0\"?>",
                     "<!DOCTYPE x>",
                     "&amp;",
                     "&lt;",
                     "&#",
                     "&#x",
                     "&#xFFFF;",
                     "&#1114112;",
                     "&#0;",
                     "&",
                     "</",
                     "/>",
                     " a=\"1\"",
                     " a='",
                     " =\"\"",
                     "\"",
                     "'",
                     "=",
                     "<a>",
                     "</a>",
                     " xmlns:x=\"u\"",
                     "\r\n",
                     "\t"};
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
