#include "core/Markup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "support/GuardedBytes.h"

using skintest::GuardedBytes;
using SkinUI::CMarkup;
using SkinUI::CMarkupNode;
using namespace SkinUI; // the MARKUP_* statuses

namespace {

std::wstring LastError(const CMarkup& markup) {
    wchar_t buffer[100];
    markup.GetLastErrorMessage(buffer, 100);
    return buffer;
}

std::wstring LastLocation(const CMarkup& markup) {
    wchar_t buffer[50];
    markup.GetLastErrorLocation(buffer, 50);
    return buffer;
}

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

// UTF-16 bytes of `text` behind the given byte-order mark.
std::vector<unsigned char> Utf16(const std::wstring& text, bool bigEndian, bool withMark = true) {
    std::vector<unsigned char> bytes;
    if (withMark) {
        bytes.push_back(bigEndian ? 0xFE : 0xFF);
        bytes.push_back(bigEndian ? 0xFF : 0xFE);
    }
    for (wchar_t unit : text) {
        const unsigned char high = static_cast<unsigned char>(unit >> 8);
        const unsigned char low = static_cast<unsigned char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::wstring Nested(int depth) {
    std::wstring xml;
    for (int i = 0; i < depth; ++i)
        xml += L"<a>";
    for (int i = 0; i < depth; ++i)
        xml += L"</a>";
    return xml;
}

} // namespace

// ---------------------------------------------------------------------------
// Document structure and navigation

TEST(MarkupStructure, RootAttributesAndChildInDocumentOrder) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<Window size=\"400,300\" caption=\"0,0,0,30\">"
                            L"<Font name=\"Arial\"/></Window>"));
    CMarkupNode root = markup.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_STREQ(root.GetValue(), L"");
    ASSERT_EQ(root.GetAttributeCount(), 2);
    EXPECT_STREQ(root.GetAttributeName(0), L"size");
    EXPECT_STREQ(root.GetAttributeValue(0), L"400,300");
    EXPECT_STREQ(root.GetAttributeName(1), L"caption");
    EXPECT_STREQ(root.GetAttributeValue(L"caption"), L"0,0,0,30");
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.HasSiblings());
    ASSERT_TRUE(root.HasChildren());

    CMarkupNode font = root.GetChild();
    EXPECT_STREQ(font.GetName(), L"Font");
    ASSERT_EQ(font.GetAttributeCount(), 1);
    EXPECT_STREQ(font.GetAttributeValue(L"name"), L"Arial");
    EXPECT_FALSE(font.HasChildren());
    EXPECT_STREQ(font.GetParent().GetName(), L"Window");
}

TEST(MarkupStructure, SiblingsChildLookupAndText) {
    CMarkup markup(L"<Window>\n  caption text\n  <A id=\"1\"/>\n  <B>inner</B>\n  <A id=\"2\" />\n"
                   L"</Window>");
    CMarkupNode root = markup.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(root.GetValue(), L"\n  caption text\n  ");

    std::vector<std::wstring> names;
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        names.push_back(node.GetName());
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"B", L"A"}));
    EXPECT_STREQ(root.GetChild(L"A").GetAttributeValue(L"id"), L"1");
    EXPECT_STREQ(root.GetChild(L"B").GetValue(), L"inner");
    EXPECT_FALSE(root.GetChild(L"b").IsValid()); // names are case-sensitive
    EXPECT_FALSE(root.GetChild(L"C").IsValid());
    EXPECT_TRUE(root.GetChild(L"B").HasSiblings());
}

TEST(MarkupStructure, EmptyElementsWithAndWithoutBlank) {
    for (const wchar_t* xml : {L"<Font/>", L"<Font />", L"<Font\t/>"}) {
        CMarkup markup;
        ASSERT_TRUE(markup.Load(xml)) << xml;
        CMarkupNode font = markup.GetRoot();
        EXPECT_STREQ(font.GetName(), L"Font") << xml;
        EXPECT_STREQ(font.GetValue(), L"") << xml;
        EXPECT_EQ(font.GetAttributeCount(), 0) << xml;
        EXPECT_FALSE(font.HasAttributes()) << xml;
        EXPECT_FALSE(font.HasChildren()) << xml;
    }
}

TEST(MarkupStructure, UnicodeNamesAndOpenEndings) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<窗口 标题=\"登录\" état=\"é\"><子项/></窗口>"));
    CMarkupNode root = markup.GetRoot();
    EXPECT_STREQ(root.GetName(), L"窗口");
    EXPECT_STREQ(root.GetAttributeValue(L"标题"), L"登录");
    EXPECT_STREQ(root.GetAttributeValue(L"état"), L"é");
    EXPECT_STREQ(root.GetChild().GetName(), L"子项");

    // A second top-level element is the root's sibling; the document may end
    // while the root or a direct child of it is still open.
    ASSERT_TRUE(markup.Load(L"<a/><b x=\"1\">"));
    EXPECT_STREQ(markup.GetRoot().GetSibling().GetName(), L"b");
    ASSERT_TRUE(markup.Load(L"<Window><Label>text"));
    EXPECT_STREQ(markup.GetRoot().GetName(), L"Window");
    EXPECT_STREQ(markup.GetRoot().GetChild().GetName(), L"Label");
    EXPECT_STREQ(markup.GetRoot().GetChild().GetValue(), L"text");
}

TEST(MarkupStructure, InvalidNodeAnswersNothing) {
    CMarkup markup;
    CMarkupNode node = markup.GetRoot();
    EXPECT_FALSE(node.IsValid());
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetParent().IsValid());
    EXPECT_EQ(node.GetName(), nullptr);
    EXPECT_EQ(node.GetValue(), nullptr);
    EXPECT_EQ(node.GetAttributeValue(L"x"), nullptr);
    EXPECT_EQ(node.GetAttributeCount(), 0);
    EXPECT_FALSE(node.HasAttribute(L"x"));
    wchar_t buffer[4] = L"abc";
    EXPECT_FALSE(node.GetAttributeValue(L"x", buffer, 4));
    EXPECT_STREQ(buffer, L"abc");
}

TEST(MarkupStructure, ManyElementsGrowTheTable) {
    std::wstring xml = L"<List>";
    for (int i = 0; i < 3000; ++i)
        xml += L"<Item n=\"" + std::to_wstring(i) + L"\"/>";
    xml += L"</List>";
    CMarkup markup;
    ASSERT_TRUE(markup.Load(xml.c_str()));
    int count = 0;
    CMarkupNode last = markup.GetRoot();
    for (CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        last = node;
        ++count;
    }
    EXPECT_EQ(count, 3000);
    EXPECT_STREQ(last.GetAttributeValue(L"n"), L"2999");
    EXPECT_STREQ(last.GetParent().GetName(), L"List");
}

// ---------------------------------------------------------------------------
// Attributes, entities and whitespace

TEST(MarkupAttributes, EntitiesDecodedOthersStayLiteral) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a v=\"x &amp; y &lt;z&gt; &quot;q&quot; &apos;s&apos;\" "
                            L"w=\"&copy; &#65; & &amp\" after=\"ok\">t &lt;&amp;&gt; u</a>"));
    CMarkupNode root = markup.GetRoot();
    EXPECT_STREQ(root.GetAttributeValue(L"v"), L"x & y <z> \"q\" 's'");
    EXPECT_STREQ(root.GetAttributeValue(L"w"), L"&copy; &#65; & &amp");
    // Shortened values leave blanks behind; the attributes after them still map.
    ASSERT_EQ(root.GetAttributeCount(), 3);
    EXPECT_STREQ(root.GetAttributeName(2), L"after");
    EXPECT_STREQ(root.GetAttributeValue(L"after"), L"ok");
    EXPECT_STREQ(root.GetValue(), L"t <&> u");
}

TEST(MarkupAttributes, SpacingAroundEqualsAndEmptyValues) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a x = \"1\"\ty=\"\"\nz=\"&amp;&amp;&amp;\"/>"));
    CMarkupNode root = markup.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), 3);
    EXPECT_STREQ(root.GetAttributeValue(L"x"), L"1");
    EXPECT_TRUE(root.HasAttribute(L"y"));
    EXPECT_STREQ(root.GetAttributeValue(L"y"), L"");
    EXPECT_STREQ(root.GetAttributeValue(L"z"), L"&&&");
    EXPECT_FALSE(root.HasAttribute(L"X"));
    EXPECT_STREQ(root.GetAttributeValue(L"missing"), L"");
    EXPECT_STREQ(root.GetAttributeName(3), L"");
    EXPECT_STREQ(root.GetAttributeValue(-1), L"");
}

TEST(MarkupAttributes, AtMostSixtyFourVisible) {
    std::wstring xml = L"<a";
    for (int i = 1; i <= 70; ++i) {
        xml += L" n" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    }
    xml += L"/>";
    CMarkup markup;
    ASSERT_TRUE(markup.Load(xml.c_str()));
    CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(root.GetAttributeCount(), 64);
    EXPECT_STREQ(root.GetAttributeValue(L"n64"), L"v64");
    EXPECT_STREQ(root.GetAttributeValue(63), L"v64");
    EXPECT_FALSE(root.HasAttribute(L"n65"));
    EXPECT_STREQ(root.GetAttributeValue(L"n70"), L"");
    EXPECT_STREQ(root.GetAttributeValue(64), L"");
}

TEST(MarkupAttributes, WhitespaceKeptOrCollapsed) {
    const wchar_t* xml = L"<a v=\"a   b\" w=\"c \r\n  d\" t=\"e\tf\">g \n h\ti</a>";
    CMarkup markup;
    ASSERT_TRUE(markup.Load(xml)); // keeping is the default
    CMarkupNode kept = markup.GetRoot();
    EXPECT_STREQ(kept.GetAttributeValue(L"v"), L"a   b");
    EXPECT_STREQ(kept.GetAttributeValue(L"w"), L"c \r\n  d");
    EXPECT_STREQ(kept.GetValue(), L"g \n h\ti");

    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(xml));
    CMarkupNode collapsed = markup.GetRoot();
    EXPECT_STREQ(collapsed.GetAttributeValue(L"v"), L"a b");
    EXPECT_STREQ(collapsed.GetAttributeValue(L"w"), L"c d");
    EXPECT_STREQ(collapsed.GetAttributeValue(L"t"), L"e\tf"); // no space before the tab
    EXPECT_STREQ(collapsed.GetValue(), L"g h\ti");
    ASSERT_EQ(collapsed.GetAttributeCount(), 3);
}

TEST(MarkupAttributes, EntitiesQuotesAndBlanksAtEveryOffset) {
    // Values and text are scanned in blocks of characters: what ends or interrupts them
    // must be found wherever it falls in a block, and at the very end of the document.
    for (size_t offset = 0; offset < 20; ++offset) {
        const std::wstring lead(offset, L'x');
        const std::wstring xml = L"<a v=\"" + lead + L"&amp;" + lead + L"\" w=\"" + lead + L"\">" +
                                 lead + L"&lt;  " + lead + L"</a>";
        CMarkup markup;
        ASSERT_TRUE(markup.Load(xml.c_str())) << offset;
        CMarkupNode root = markup.GetRoot();
        EXPECT_EQ(root.GetAttributeValue(L"v"), lead + L"&" + lead) << offset;
        EXPECT_EQ(root.GetAttributeValue(L"w"), lead) << offset;
        EXPECT_EQ(root.GetValue(), lead + L"<  " + lead) << offset;

        markup.SetPreserveWhitespace(false);
        ASSERT_TRUE(markup.Load(xml.c_str())) << offset;
        EXPECT_EQ(markup.GetRoot().GetValue(), lead + L"< " + lead) << offset;

        const std::wstring open = L"<a v=\"" + lead;
        EXPECT_FALSE(markup.Load(open.c_str())) << offset;
        EXPECT_EQ(markup.GetLastStatus(), MARKUP_UNTERMINATED_ATTRIBUTE_VALUE) << offset;
        EXPECT_EQ(markup.GetLastErrorOffset(), open.size()) << offset;
        const std::wstring text = L"<a>" + lead;
        ASSERT_TRUE(markup.Load(text.c_str())) << offset;
        EXPECT_EQ(markup.GetRoot().GetValue(), lead) << offset;
    }
}

TEST(MarkupAttributes, CopiesIntoCallerBuffersAreTerminated) {
    CMarkup markup(L"<a name=\"abcdef\"/>");
    CMarkupNode root = markup.GetRoot();
    wchar_t buffer[8];
    std::wmemset(buffer, L'#', 8);
    EXPECT_TRUE(root.GetAttributeValue(L"name", buffer, 4));
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(buffer[4], L'#');

    EXPECT_TRUE(root.GetAttributeValue(0, buffer, 8));
    EXPECT_STREQ(buffer, L"abcdef");

    std::wmemset(buffer, L'#', 8);
    EXPECT_TRUE(root.GetAttributeValue(0, buffer, 0)); // count 0 writes nothing
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_TRUE(root.GetAttributeValue(0, buffer, 1));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer[1], L'#');

    std::wmemset(buffer, L'#', 8);
    EXPECT_FALSE(root.GetAttributeValue(L"other", buffer, 8));
    EXPECT_FALSE(root.GetAttributeValue(1, buffer, 8));
    EXPECT_EQ(buffer[0], L'#');

    ASSERT_FALSE(markup.Load(L"<a x='1'/>"));
    std::wmemset(buffer, L'#', 8);
    markup.GetLastErrorMessage(buffer, 5);
    EXPECT_STREQ(buffer, L"Expe");
    EXPECT_EQ(buffer[5], L'#');
    markup.GetLastErrorLocation(buffer, 3);
    EXPECT_STREQ(buffer, L"'1");
    std::wmemset(buffer, L'#', 8);
    markup.GetLastErrorMessage(buffer, 0);
    markup.GetLastErrorLocation(buffer, 0);
    EXPECT_EQ(buffer[0], L'#');
}

// ---------------------------------------------------------------------------
// Errors

TEST(MarkupErrors, EachStatusWithItsMessageLocationAndOffset) {
    struct Case {
        const wchar_t* xml;
        SkinUI::MarkupStatus status;
        const wchar_t* message;
        const wchar_t* location;
        unsigned long offset;
    };
    const Case cases[] = {
        {L"text<a/>", MARKUP_EXPECTED_START_TAG, L"Expected start tag", L"text<a/>", 0},
        {L"<a><b/>tail</a>", MARKUP_EXPECTED_START_TAG, L"Expected start tag", L"tail</a>", 7},
        {L"<a><b><c/>", MARKUP_EXPECTED_START_TAG, L"Expected start tag", L"", 10},
        {L"<Window", MARKUP_BAD_ELEMENT_NAME, L"Error parsing element name", L"", 7},
        {L"<a x=\"1\"/ >", MARKUP_BAD_START_TAG_CLOSING, L"Expected start-tag closing", L"/ >", 8},
        {L"<a x=\"1\"", MARKUP_BAD_START_TAG_CLOSING, L"Expected start-tag closing", L"", 8},
        {L"<a><b><c>text", MARKUP_EXPECTED_END_TAG, L"Expected end-tag start", L"", 13},
        {L"<a></b>", MARKUP_END_TAG_MISMATCH, L"Unmatched closing tag", L"b>", 5},
        {L"<a></a x>", MARKUP_END_TAG_MISMATCH, L"Unmatched closing tag", L"x>", 7},
        {L"<a x y=\"1\"/>", MARKUP_BAD_ATTRIBUTE, L"Error while parsing attributes", L"y=\"1\"/>",
         5},
        {L"<a x-y=\"1\"/>", MARKUP_BAD_ATTRIBUTE, L"Error while parsing attributes", L"-y=\"1\"/>",
         4},
        {L"<a x='1'/>", MARKUP_EXPECTED_ATTRIBUTE_VALUE, L"Expected attribute value", L"'1'/>", 5},
        {L"<a x=\"1\" y=\"abc", MARKUP_UNTERMINATED_ATTRIBUTE_VALUE,
         L"Error while parsing attribute string", L"", 15},
        // Constructs that would otherwise swallow the rest of the document.
        {L"<a/><!-- open <b/>", MARKUP_UNTERMINATED_COMMENT, L"Unterminated comment",
         L"!-- open <b/>", 5},
        {L"<a/><!-- a -- > <b/>", MARKUP_UNTERMINATED_COMMENT, L"Unterminated comment",
         L"!-- a -- > <b/>", 5},
        {L"<a/><?pi ? <b/>", MARKUP_UNTERMINATED_INSTRUCTION,
         L"Unterminated processing instruction", L"?pi ? <b/>", 5},
        {L"<!DOCTYPE a [ <!ENTITY e \"]>\"> <a/>", MARKUP_UNTERMINATED_DECLARATION,
         L"Unterminated declaration", L"!DOCTYPE a [ <!ENTITY e \"]>\"> <a/>", 1},
        {L"<!DOCTYPE a SYSTEM \"a.dtd> <a/>", MARKUP_UNTERMINATED_DECLARATION,
         L"Unterminated declaration", L"!DOCTYPE a SYSTEM \"a.dtd> <a/>", 1},
        {L"<a>x<![CDATA[y</a>", MARKUP_UNTERMINATED_CDATA, L"Unterminated CDATA section",
         L"<![CDATA[y</a>", 4},
        {L"<a><b/><![CDATA[x]]></a>", MARKUP_MISPLACED_CDATA, L"CDATA section outside element text",
         L"![CDATA[x]]></a>", 8},
        {L"<![CDATA[x]]><a/>", MARKUP_MISPLACED_CDATA, L"CDATA section outside element text",
         L"![CDATA[x]]><a/>", 1},
    };
    for (const Case& c : cases) {
        CMarkup markup;
        EXPECT_FALSE(markup.Load(c.xml)) << c.xml;
        EXPECT_EQ(markup.GetLastStatus(), c.status) << c.xml;
        EXPECT_EQ(LastError(markup), c.message) << c.xml;
        EXPECT_EQ(LastLocation(markup), c.location) << c.xml;
        EXPECT_EQ(markup.GetLastErrorOffset(), c.offset) << c.xml;
        EXPECT_FALSE(markup.IsValid()) << c.xml;
        EXPECT_FALSE(markup.GetRoot().IsValid()) << c.xml;
    }
}

TEST(MarkupErrors, LoadFailuresHaveAStatusAndNoPlace) {
    CMarkup markup;
    EXPECT_FALSE(markup.Load(nullptr));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_NO_TEXT);
    EXPECT_EQ(LastError(markup), L"No XML text");

    EXPECT_FALSE(markup.LoadFromMem(nullptr, 5, MARKUP_ENCODING_UTF8));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_NO_DATA);
    EXPECT_EQ(LastError(markup), L"No XML data");

    // Refused by its size before a byte is read.
    const unsigned char byte = '<';
    EXPECT_FALSE(markup.LoadFromMem(&byte, 0x80000000UL, MARKUP_ENCODING_UTF8));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_TOO_LARGE);
    EXPECT_EQ(LastError(markup), L"Document too large");

    const std::vector<unsigned char> unmarked = Utf16(L"<a/>", false, false);
    EXPECT_FALSE(markup.LoadFromMem(unmarked.data(), static_cast<unsigned long>(unmarked.size()),
                                    MARKUP_ENCODING_UTF16));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_NO_BYTE_ORDER_MARK);
    EXPECT_EQ(LastError(markup), L"UTF-16 data without byte-order mark");
    EXPECT_EQ(markup.GetLastErrorOffset(), 0u);
    EXPECT_EQ(LastLocation(markup), L"");

    // Offsets count decoded characters after the byte-order mark.
    const std::string marked = "\xEF\xBB\xBF<\xE4\xB8\xAD></b>";
    ASSERT_FALSE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(marked.data()),
                                    static_cast<unsigned long>(marked.size()),
                                    MARKUP_ENCODING_UTF8));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_END_TAG_MISMATCH);
    EXPECT_EQ(markup.GetLastErrorOffset(), 5u);

    // A successful load reports success and no place.
    ASSERT_TRUE(markup.Load(L"<a/>"));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_OK);
    EXPECT_EQ(markup.GetLastErrorOffset(), 0u);
}

TEST(MarkupErrors, LocationHoldsAtMostFortyNineCharacters) {
    CMarkup markup;
    const std::wstring xml = L"<r><a/>" + std::wstring(200, L'z') + L"</r>";
    ASSERT_FALSE(markup.Load(xml.c_str()));
    EXPECT_EQ(LastError(markup), L"Expected start tag");
    EXPECT_EQ(LastLocation(markup), std::wstring(49, L'z'));
}

TEST(MarkupErrors, DeepNestingRefusedCleanly) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(Nested(CMarkup::kMaxNestingDepth).c_str()));
    CMarkupNode node = markup.GetRoot();
    int depth = 0;
    for (; node.HasChildren(); node = node.GetChild())
        ++depth;
    EXPECT_EQ(depth + 1, CMarkup::kMaxNestingDepth);

    ASSERT_FALSE(markup.Load(Nested(CMarkup::kMaxNestingDepth + 1).c_str()));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_NESTED_TOO_DEEPLY);
    EXPECT_EQ(LastError(markup), L"Elements nested too deeply");
    EXPECT_EQ(markup.GetLastErrorOffset(), 3u * CMarkup::kMaxNestingDepth);
    EXPECT_EQ(LastLocation(markup), L"<a></a></a></a></a></a></a></a></a></a></a></a></");

    // Far beyond any stack: refused, not crashed.
    std::string deep;
    for (int i = 0; i < 300000; ++i)
        deep += "<a>";
    ASSERT_FALSE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(deep.data()),
                                    static_cast<unsigned long>(deep.size()), 0));
    EXPECT_EQ(LastError(markup), L"Elements nested too deeply");
    EXPECT_EQ(LastLocation(markup).size(), 49u);
    EXPECT_FALSE(markup.IsValid());
}

// ---------------------------------------------------------------------------
// Skipped constructs

TEST(MarkupSkipped, DeclarationAndCommentsAreSkipped) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- skin -->\n"
                            L"<Window><A/><!-- between -> still <Z/> between --><B/>"
                            L"<?pi <C/> ?></Window><!-- end -->"));
    CMarkupNode root = markup.GetRoot();
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_STREQ(root.GetChild().GetName(), L"A");
    EXPECT_STREQ(root.GetChild().GetSibling().GetName(), L"B");
    EXPECT_FALSE(root.GetChild().GetSibling().HasSiblings());
    EXPECT_FALSE(root.HasSiblings());
}

// Whatever follows a document type declaration is read, however the declaration is
// written: a bare name, external identifiers, an internal subset whose declarations,
// quoted values, comments and instructions hold '>' and ']'.
TEST(MarkupSkipped, DocumentTypeDeclarationsKeepTheDocument) {
    const wchar_t* declarations[] = {
        L"<!DOCTYPE Window>",
        L"<!DOCTYPE Window SYSTEM \"skin.dtd\">",
        L"<!DOCTYPE Window PUBLIC \"-//Varnel//DTD Skin 1.0//EN\" \"http://skin.example/a>b.dtd\">",
        L"<!DOCTYPE Window SYSTEM 'a \"quoted\" > name.dtd' >",
        L"<!DOCTYPE Window [\n"
        L"  <!ELEMENT Window (Label)*>\n"
        L"  <!ATTLIST Label text CDATA #IMPLIED align (left|right) \"left\">\n"
        L"  <!ENTITY arrow \"->\">\n"
        L"  <!ENTITY brackets ']]>'>\n"
        L"  <!-- a comment that says > and ] and don't -->\n"
        L"  <?editor keep > ?>\n"
        L"]>",
    };
    for (const wchar_t* declaration : declarations) {
        const std::wstring xml = std::wstring(L"<?xml version=\"1.0\"?>\n") + declaration +
                                 L"\n<Window caption=\"0,0,0,30\"><Label text=\"a\"/></Window>";
        CMarkup markup;
        ASSERT_TRUE(markup.Load(xml.c_str())) << declaration << L": " << LastError(markup);
        CMarkupNode root = markup.GetRoot();
        ASSERT_TRUE(root.IsValid()) << declaration;
        EXPECT_STREQ(root.GetName(), L"Window") << declaration;
        EXPECT_STREQ(root.GetAttributeValue(L"caption"), L"0,0,0,30") << declaration;
        ASSERT_TRUE(root.HasChildren()) << declaration;
        EXPECT_STREQ(root.GetChild().GetAttributeValue(L"text"), L"a") << declaration;
    }
}

TEST(MarkupSkipped, CdataIsElementTextAndLaterElementsStay) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(
        L"<Window>"
        L"<Text name=\"code\"><![CDATA[if (a < b && c > d) { s = \"<b>&amp;</b>\"; }]]></Text>"
        L"<Text name=\"mixed\">one <![CDATA[<two>]]> three &amp; <![CDATA[]]>four</Text>"
        L"<Text name=\"brackets\"><![CDATA[a]]]><![CDATA[]>b]]></Text>"
        L"<Layout><![CDATA[before the child]]><Label name=\"child\"/></Layout>"
        L"<Label name=\"after\"/>"
        L"</Window>"));
    CMarkupNode root = markup.GetRoot();
    CMarkupNode code = root.GetChild();
    EXPECT_STREQ(code.GetValue(), L"if (a < b && c > d) { s = \"<b>&amp;</b>\"; }");
    EXPECT_FALSE(code.HasChildren());
    CMarkupNode mixed = code.GetSibling();
    EXPECT_STREQ(mixed.GetAttributeValue(L"name"), L"mixed");
    EXPECT_STREQ(mixed.GetValue(), L"one <two> three & four");
    CMarkupNode brackets = mixed.GetSibling();
    EXPECT_STREQ(brackets.GetValue(), L"a]]>b");
    CMarkupNode layout = brackets.GetSibling();
    EXPECT_STREQ(layout.GetValue(), L"before the child");
    EXPECT_STREQ(layout.GetChild().GetAttributeValue(L"name"), L"child");
    CMarkupNode after = layout.GetSibling();
    ASSERT_TRUE(after.IsValid());
    EXPECT_STREQ(after.GetAttributeValue(L"name"), L"after");
    EXPECT_FALSE(after.HasSiblings());

    // Straight under the root, where the rest of the document was lost silently.
    ASSERT_TRUE(markup.Load(L"<Window><![CDATA[<title>]]><Label name=\"kept\"/></Window>"));
    EXPECT_STREQ(markup.GetRoot().GetValue(), L"<title>");
    EXPECT_STREQ(markup.GetRoot().GetChild().GetAttributeValue(L"name"), L"kept");

    // Its blanks stand even where blanks are collapsed elsewhere.
    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(L"<a>x  y<![CDATA[  z  ]]></a>"));
    EXPECT_STREQ(markup.GetRoot().GetValue(), L"x y  z  ");
}

TEST(MarkupSkipped, UnterminatedConstructsAreRefusedWithoutReadingPastTheEnd) {
    const struct {
        const char* text;
        SkinUI::MarkupStatus status;
    } documents[] = {
        {"<a/><!-- never closed -", MARKUP_UNTERMINATED_COMMENT},
        {"<a/><!--", MARKUP_UNTERMINATED_COMMENT},
        {"<a/><?pi ?", MARKUP_UNTERMINATED_INSTRUCTION},
        {"<a/><?", MARKUP_UNTERMINATED_INSTRUCTION},
        {"<a/><!", MARKUP_UNTERMINATED_DECLARATION},
        {"<!DOCTYPE a [ <!-- x ", MARKUP_UNTERMINATED_DECLARATION},
        {"<!DOCTYPE a [ <?x ", MARKUP_UNTERMINATED_DECLARATION},
        {"<!DOCTYPE a \"", MARKUP_UNTERMINATED_DECLARATION},
        {"<a><![CDATA[x]]", MARKUP_UNTERMINATED_CDATA},
        {"<a><![CDATA[", MARKUP_UNTERMINATED_CDATA},
    };
    for (const auto& document : documents) {
        // Guarded: a skip that runs past the end touches the inaccessible page.
        GuardedBytes bytes(Bytes(document.text));
        CMarkup markup;
        EXPECT_FALSE(markup.LoadFromMem(bytes.data(), bytes.size(), 0)) << document.text;
        EXPECT_EQ(markup.GetLastStatus(), document.status) << document.text;
    }
}

// ---------------------------------------------------------------------------
// Byte encodings

TEST(MarkupEncoding, Utf8WithAndWithoutByteOrderMark) {
    const std::string xml = "<窗口 标题=\"登录 &amp; 游戏\">中文</窗口>";
    for (const std::string& text : {xml, "\xEF\xBB\xBF" + xml}) {
        GuardedBytes bytes(Bytes(text));
        CMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(bytes.data(), bytes.size(), SkinUI::MARKUP_ENCODING_UTF8));
        CMarkupNode root = markup.GetRoot();
        EXPECT_STREQ(root.GetName(), L"窗口");
        EXPECT_STREQ(root.GetAttributeValue(L"标题"), L"登录 & 游戏");
        EXPECT_STREQ(root.GetValue(), L"中文");
    }
}

TEST(MarkupEncoding, Utf16ByteOrderMarks) {
    const std::wstring xml = L"<窗口 标题=\"登录\">中文<b/></窗口>";
    for (bool bigEndian : {false, true}) {
        std::vector<unsigned char> raw = Utf16(xml, bigEndian);
        raw.push_back(0x41); // an odd trailing byte is dropped
        const std::vector<unsigned char> original = raw;
        GuardedBytes bytes(raw);
        CMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(bytes.data(), bytes.size(), SkinUI::MARKUP_ENCODING_UTF16))
            << bigEndian;
        CMarkupNode root = markup.GetRoot();
        EXPECT_STREQ(root.GetName(), L"窗口");
        EXPECT_STREQ(root.GetAttributeValue(L"标题"), L"登录");
        EXPECT_STREQ(root.GetValue(), L"中文");
        // The caller's bytes are only read (they may be a read-only resource).
        EXPECT_EQ(0, std::memcmp(bytes.data(), original.data(), original.size()));
    }
}

TEST(MarkupEncoding, Utf16WithoutMarkFails) {
    for (const std::vector<unsigned char>& raw :
         {Utf16(L"<a/>", false, false), Utf16(L"<a/>", true, false), Bytes("\xFF")}) {
        GuardedBytes bytes(raw);
        CMarkup markup;
        EXPECT_FALSE(markup.LoadFromMem(bytes.data(), bytes.size(), 1));
        EXPECT_EQ(LastError(markup), L"UTF-16 data without byte-order mark");
        EXPECT_FALSE(markup.IsValid());
    }
}

TEST(MarkupEncoding, AnsiUsesTheSystemCodePage) {
    const std::wstring xml = L"<a v=\"中文\">é</a>";
    char encoded[64];
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, 0, xml.c_str(), -1, encoded, sizeof(encoded), nullptr, &lossy);
    if (length <= 0 || lossy) GTEST_SKIP() << "code page " << GetACP() << " lacks the text";
    GuardedBytes bytes(Bytes(std::string(encoded, length - 1)));
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(bytes.data(), bytes.size(), SkinUI::MARKUP_ENCODING_ANSI));
    EXPECT_STREQ(markup.GetRoot().GetAttributeValue(L"v"), L"中文");
    EXPECT_STREQ(markup.GetRoot().GetValue(), L"é");
    if (GetACP() == 936) {
        GuardedBytes gbk(Bytes("<a>\xD6\xD0\xCE\xC4</a>"));
        ASSERT_TRUE(markup.LoadFromMem(gbk.data(), gbk.size(), SkinUI::MARKUP_ENCODING_ANSI));
        EXPECT_STREQ(markup.GetRoot().GetValue(), L"中文");
    }
}

TEST(MarkupEncoding, EmptyTruncatedAndInvalidBytesNeverReadPastTheSize) {
    const std::string cases[] = {
        "", "\xEF\xBB\xBF", "\xEF\xBB", "<a v=\"\xFF\xFE\x80\"/>", "<a v=\"\xE4\xB8", "<a/>\xF0",
    };
    for (int encoding : {0, 1, 2}) {
        for (const std::string& text : cases) {
            GuardedBytes bytes(Bytes(text));
            CMarkup markup;
            markup.LoadFromMem(bytes.data(), bytes.size(), encoding); // must not crash
        }
    }
    CMarkup markup;
    GuardedBytes empty(Bytes(""));
    EXPECT_TRUE(markup.LoadFromMem(empty.data(), 0, 0));
    EXPECT_FALSE(markup.GetRoot().IsValid());
    EXPECT_TRUE(markup.LoadFromMem(nullptr, 0, 2));
    EXPECT_FALSE(markup.LoadFromMem(nullptr, 4, 0));

    // The size, not a terminator, ends the data.
    const std::string longer = "<a/><b/>";
    GuardedBytes bytes(Bytes(longer));
    ASSERT_TRUE(markup.LoadFromMem(bytes.data(), 4, 0));
    EXPECT_FALSE(markup.GetRoot().HasSiblings());

    GuardedBytes invalid(Bytes("<a v=\"x\xFFy\"/>"));
    ASSERT_TRUE(markup.LoadFromMem(invalid.data(), invalid.size(), 0));
    EXPECT_EQ(std::wcslen(markup.GetRoot().GetAttributeValue(L"v")), 3u);
}

// ---------------------------------------------------------------------------
// Lifecycle

TEST(MarkupLifecycle, FailedLoadLeavesParserEmptyAndReusable) {
    CMarkup markup;
    EXPECT_FALSE(markup.IsValid());
    ASSERT_TRUE(markup.Load(L"<Old a=\"1\"/>"));
    ASSERT_FALSE(markup.Load(L"<a></b>"));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
    EXPECT_EQ(LastError(markup), L"Unmatched closing tag");

    ASSERT_TRUE(markup.Load(L"<Window/>"));
    EXPECT_TRUE(markup.IsValid());
    EXPECT_STREQ(markup.GetRoot().GetName(), L"Window");
    EXPECT_EQ(LastError(markup), L""); // a successful parse clears the last error
    EXPECT_EQ(LastLocation(markup), L"");
    EXPECT_FALSE(markup.Load(nullptr));
}

TEST(MarkupLifecycle, ReloadReplacesTheDocument) {
    CMarkup markup(L"<First a=\"1\"><Child/><Child/></First>");
    ASSERT_TRUE(markup.IsValid());
    const std::string second = "<Second b=\"2\"/>";
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(second.data()),
                                   static_cast<unsigned long>(second.size()), 0));
    CMarkupNode root = markup.GetRoot();
    EXPECT_STREQ(root.GetName(), L"Second");
    EXPECT_FALSE(root.HasChildren());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_FALSE(root.HasAttribute(L"a"));
    EXPECT_STREQ(root.GetAttributeValue(L"b"), L"2");

    markup.Release();
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
}

TEST(MarkupLifecycle, ReloadsIntoKeptBuffersReadNothingOfTheOldDocument) {
    // A large document, then smaller ones into the same buffers: an unterminated value,
    // comment or section must end at the new document's end, not run into old text.
    std::string large = "<List>";
    for (int i = 0; i < 500; ++i)
        large += "<Item v=\"quoted\"/><!-- c -->";
    large += "</List>";
    const auto load = [](CMarkup& markup, const std::string& text) {
        return markup.LoadFromMem(reinterpret_cast<const unsigned char*>(text.data()),
                                  static_cast<unsigned long>(text.size()), 0);
    };
    CMarkup markup;
    ASSERT_TRUE(load(markup, large));
    EXPECT_FALSE(load(markup, "<Item v=\"quo"));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_UNTERMINATED_ATTRIBUTE_VALUE);
    ASSERT_TRUE(load(markup, large));
    EXPECT_FALSE(load(markup, "<a><!-- c -"));
    EXPECT_EQ(markup.GetLastStatus(), MARKUP_UNTERMINATED_COMMENT);
    ASSERT_TRUE(load(markup, large));
    ASSERT_TRUE(load(markup, "<a>te"));
    EXPECT_STREQ(markup.GetRoot().GetValue(), L"te");
    ASSERT_TRUE(load(markup, large));
    ASSERT_TRUE(load(markup, ""));
    EXPECT_FALSE(markup.GetRoot().IsValid());

    // Growing again after shrinking, and the same tree as a new object gives.
    ASSERT_TRUE(load(markup, large + "<Tail/>"));
    int items = 0;
    for (CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling())
        items += std::wcscmp(node.GetAttributeValue(L"v"), L"quoted") == 0 ? 1 : 0;
    EXPECT_EQ(items, 500);
    EXPECT_STREQ(markup.GetRoot().GetSibling().GetName(), L"Tail");
}

TEST(MarkupLifecycle, BlankOrDeclarationOnlyDocumentHasNoRoot) {
    for (const wchar_t* xml : {L"", L" \r\n\t ", L"<?xml version=\"1.0\"?>", L"<!-- only -->\n"}) {
        CMarkup markup;
        EXPECT_TRUE(markup.Load(xml)) << xml;
        EXPECT_TRUE(markup.IsValid()) << xml;
        EXPECT_FALSE(markup.GetRoot().IsValid()) << xml;
    }
}
