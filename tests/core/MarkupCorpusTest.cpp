// The XML reader's own UTF-8 decoding against the system's conversion: every skin and XML
// file of the source tree, and hostile variants of them, must give the same tree (or the
// same error at the same place) either way.

#include "core/Markup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

namespace {

// The folder the build copies the corpus into, beside this executable.
std::wstring CorpusDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1) + L"markup_corpus\\";
}

struct CorpusFile {
    std::string name;
    std::string bytes;
};

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read != 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

std::vector<CorpusFile> ReadCorpus() {
    std::vector<CorpusFile> files;
    const std::wstring directory = CorpusDirectory();
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((directory + L"*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        CorpusFile file;
        for (const wchar_t* c = found.cFileName; *c != 0; ++c)
            file.name += static_cast<char>(*c);
        file.bytes = ReadAll(directory + found.cFileName);
        files.push_back(file);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

// The document as text: every element's name, attributes and value, in document order,
// or the error and its place.
std::wstring Describe(CMarkup& markup, bool loaded) {
    std::wostringstream out;
    if (!loaded) {
        wchar_t message[100];
        markup.GetLastErrorMessage(message, 100);
        out << L"error " << markup.GetLastStatus() << L" at " << markup.GetLastErrorOffset()
            << L": " << message;
        return out.str();
    }
    struct Walk {
        static void Node(std::wostringstream& out, CMarkupNode node, int depth) {
            for (; node.IsValid(); node = node.GetSibling()) {
                out << depth << L'<' << node.GetName();
                for (int i = 0; i < node.GetAttributeCount(); ++i) {
                    out << L' ' << node.GetAttributeName(i) << L"=[" << node.GetAttributeValue(i)
                        << L']';
                }
                out << L">[" << node.GetValue() << L"]\n";
                Node(out, node.GetChild(), depth + 1);
            }
        }
    };
    Walk::Node(out, markup.GetRoot(), 0);
    return out.str();
}

// The tree from LoadFromMem's own decoding, and from the system's conversion of the same
// bytes (after the same byte-order mark) handed to Load.
void ExpectSameTree(const std::string& bytes, const std::string& what, bool preserve = true) {
    CMarkup own;
    own.SetPreserveWhitespace(preserve);
    const bool ownLoaded =
        own.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<unsigned long>(bytes.size()), SkinUI::MARKUP_ENCODING_UTF8);

    size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::wstring text;
    if (bytes.size() > skip) {
        const int size = static_cast<int>(bytes.size() - skip);
        const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + skip, size, nullptr, 0);
        text.resize(static_cast<size_t>(length));
        MultiByteToWideChar(CP_UTF8, 0, bytes.data() + skip, size, &text[0], length);
    }
    CMarkup system;
    system.SetPreserveWhitespace(preserve);
    const bool systemLoaded = system.Load(text.c_str());

    EXPECT_EQ(Describe(own, ownLoaded), Describe(system, systemLoaded)) << what;
}

// Replaces every `step`-th byte from `first` on with `byte`.
std::string Corrupted(std::string bytes, size_t first, size_t step, char byte) {
    for (size_t i = first; i < bytes.size(); i += step)
        bytes[i] = byte;
    return bytes;
}

std::string WithCrLf(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TEST(MarkupCorpus, EveryXmlFileOfTheTreeAndItsHostileVariants) {
    const std::vector<CorpusFile> corpus = ReadCorpus();
    ASSERT_GE(corpus.size(), 20u) << "the build copies the tree's XML files beside the test";
    for (const CorpusFile& file : corpus) {
        const std::string& bytes = file.bytes;
        ExpectSameTree(bytes, file.name);
        ExpectSameTree(bytes, file.name + " collapsing blanks", false);
        ExpectSameTree("\xEF\xBB\xBF" + bytes, file.name + " with a byte-order mark");
        ExpectSameTree(WithCrLf(bytes), file.name + " with CR LF");
        // Lone continuation bytes, leads cut short and bytes that never start a sequence,
        // at places that fall in names, values, text and markup alike.
        ExpectSameTree(Corrupted(bytes, 5, 97, '\x80'), file.name + " with continuation bytes");
        ExpectSameTree(Corrupted(bytes, 11, 89, '\xE7'), file.name + " with cut leads");
        ExpectSameTree(Corrupted(bytes, 3, 61, '\xFF'), file.name + " with FF bytes");
        // Ending anywhere: inside a tag, a value or a sequence.
        for (size_t cut = 1; cut < bytes.size(); cut += 1 + bytes.size() / 13) {
            ExpectSameTree(bytes.substr(0, cut), file.name + " cut at " + std::to_string(cut));
        }
    }
}

TEST(MarkupCorpus, HostileDocuments) {
    const char* const documents[] = {
        // Non-ASCII names, values and text, of two, three and four bytes.
        "<窗口 标题=\"登录游戏\" état=\"é\"><子项 text=\"😀 "
        "emoji\">确定要退出游戏吗？</子项></窗口>",
        // Entities, known and unknown, next to non-ASCII characters.
        "<a v=\"&amp;登&lt;&gt;&quot;&apos;&unknown;&#x41;&\">é&amp;é&lt;/a&gt;</a>",
        // Ill-formed bytes inside names, values and text.
        "<a\x80 v=\"\xC3\x28\" w=\"\xE0\x80\xAF\">\xED\xA0\x80\xF4\x90\x80\x80</a>",
        "<a v=\"\xF0\x9F\x98\">\xC0\xAF\xFE\xFF</a>",
        // A sequence cut short by the end of the document.
        "<a v=\"x\">text\xE7\x99",
        "<a v=\"\xF0\x9F",
        // CR, LF and tabs around everything; blanks to collapse.
        "<a\r\n\tv\r\n=\r\n\"  x \r\n y  \"\r\n>\r\n  text  \r\n<b/>\r\n</a>\r\n",
        // CDATA, comments, instructions and declarations holding non-ASCII and '>'.
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e \"é>\">]><!-- 分隔 > --><a><![CDATA[ "
        "<登录> & ]]>tail</a>",
        // Zero bytes end the document early.
        "<a v=\"x\0y\">z</a>",
        // Errors at places after non-ASCII text.
        "<登录 v=\"é\"></其他>",
        "<a v=\"é\" w=é/>",
        "<a><![CDATA[é unterminated</a>",
    };
    for (const char* document : documents) {
        const std::string bytes(document, std::char_traits<char>::length(document));
        ExpectSameTree(bytes, bytes);
        ExpectSameTree(bytes, bytes + " collapsing blanks", false);
        ExpectSameTree("\xEF\xBB\xBF" + bytes, bytes + " with a byte-order mark");
    }
    const std::string zero("<a v=\"x\0y\">z</a>", 16);
    ExpectSameTree(zero, "a zero byte in a value");
    ExpectSameTree("\xEF\xBB\xBF", "only a byte-order mark");
    ExpectSameTree("", "nothing");
}
