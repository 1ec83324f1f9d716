#include "core/Utf8Decoder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "support/GuardedBytes.h"

using skintest::GuardedBytes;
using SkinUI::CUtf8Decoder;

namespace {

const wchar_t kSentinel = 0x5A5A;

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

// Decodes `bytes` read from right before an inaccessible page, and checks that nothing
// past MaxUnits was written.
std::wstring Decode(const std::vector<unsigned char>& bytes) {
    GuardedBytes guarded(bytes);
    std::vector<wchar_t> out(CUtf8Decoder::MaxUnits(bytes.size()) + 4, kSentinel);
    const size_t units = CUtf8Decoder::Decode(guarded.data(), guarded.size(), out.data());
    EXPECT_LE(units, CUtf8Decoder::MaxUnits(bytes.size()));
    for (size_t i = CUtf8Decoder::MaxUnits(bytes.size()); i < out.size(); ++i) {
        EXPECT_EQ(out[i], kSentinel) << "written past the room at " << i;
    }
    return std::wstring(out.data(), units);
}

std::wstring Decode(const std::string& text) {
    return Decode(Bytes(text));
}

// What the system's UTF-8 conversion makes of the same bytes.
std::wstring SystemDecode(const std::vector<unsigned char>& bytes) {
    if (bytes.empty()) return std::wstring();
    const char* data = reinterpret_cast<const char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, data, size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, data, size, &text[0], length);
    return text;
}

std::wstring SystemDecode(const std::string& text) {
    return SystemDecode(Bytes(text));
}

std::string Printable(const std::string& bytes) {
    std::string out;
    char hex[4];
    for (unsigned char byte : bytes) {
        wsprintfA(hex, "%02X ", byte);
        out += hex;
    }
    return out;
}

} // namespace

TEST(Utf8Decoder, AsciiRunsAtEveryAlignmentAndLength) {
    // Unaligned starts and ends around the sixteen-byte blocks, zero bytes included.
    std::string source;
    for (int i = 0; i < 64; ++i)
        source += static_cast<char>(i % 5 == 4 ? 0 : 0x20 + (i * 7) % 95);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t length = 0; length <= 40; ++length) {
            const std::string text = source.substr(offset, length);
            const std::wstring expected(text.begin(), text.end());
            EXPECT_EQ(Decode(text), expected) << "offset " << offset << " length " << length;
        }
    }
}

TEST(Utf8Decoder, NonAsciiAtEveryPositionOfABlock) {
    const char* const sequences[] = {
        "\xC3\xA9",         // é
        "\xE7\x99\xBB",     // 登
        "\xF0\x9F\x98\x80", // U+1F600, a surrogate pair
        "\x80",             // a lone continuation byte
        "\xE7\x99",         // cut short before ASCII
        "\xFF",             // never a lead
    };
    for (const char* sequence : sequences) {
        for (size_t position = 0; position <= 40; ++position) {
            std::string text(41, 'a');
            text.insert(position, sequence);
            for (size_t length : {position + 1, text.size()}) {
                const std::string piece = text.substr(0, length);
                EXPECT_EQ(Decode(piece), SystemDecode(piece))
                    << Printable(sequence) << "at " << position << ", " << length << " bytes";
            }
        }
    }
}

TEST(Utf8Decoder, WellFormedSequencesOfEveryLength) {
    EXPECT_EQ(Decode("\x7F\xC2\x80\xDF\xBF"), std::wstring(L"\x7F\x80\x7FF"));
    EXPECT_EQ(Decode("\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"),
              std::wstring(L"\x800\xD7FF\xE000\xFFFF"));
    EXPECT_EQ(Decode("\xF0\x90\x80\x80"), std::wstring(L"\xD800\xDC00"));
    EXPECT_EQ(Decode("\xF4\x8F\xBF\xBF"), std::wstring(L"\xDBFF\xDFFF"));
    EXPECT_EQ(Decode("\xEF\xBB\xBF"
                     "a"),
              std::wstring(L"\xFEFF"
                           L"a")); // a mark stays a character
}

TEST(Utf8Decoder, IllFormedPiecesBecomeOneReplacementEach) {
    using namespace std::string_literals;
    const std::pair<std::string, std::wstring> cases[] = {
        {"\x80", L"\xFFFD"},
        {"\xBF\x80", L"\xFFFD\xFFFD"},
        {"\xC0\xAF", L"\xFFFD\xFFFD"}, // overlong '/'
        {"\xC1\xBF", L"\xFFFD\xFFFD"},
        // Overlong, surrogate and too large: the lead and the second byte are one piece.
        {"\xE0\x80\xAF", L"\xFFFD\xFFFD"},
        {"\xE0\x9F\x80"
         "a",
         L"\xFFFD\xFFFD"
         L"a"},
        {"\xF0\x80\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},
        {"\xF0\x8F"
         "ab",
         L"\xFFFD"
         L"ab"},
        {"\xED\xA0\x80", L"\xFFFD\xFFFD"},
        {"\xED\xBF\xBF", L"\xFFFD\xFFFD"},
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD"},
        {"\xF4\xBF"
         "ab",
         L"\xFFFD"
         L"ab"},
        {"\xF5\x80\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"}, // never a lead
        {"\xF8\x88\x80\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"\xFE\xFF", L"\xFFFD\xFFFD"},
        // Cut short by the end: the rest of the data, whatever it holds, is one piece.
        {"\xC3", L"\xFFFD"},
        {"\xE7\x99", L"\xFFFD"},
        {"\xF0\x9F\x98", L"\xFFFD"},
        {"\xE8"
         "a",
         L"\xFFFD"},
        {"\xF0"
         "ab",
         L"\xFFFD"},
        {"\xE8"
         "ab",
         L"\xFFFD"
         L"ab"}, // room enough: only the lead
        {"\xE7\x99"
         "a",
         L"\xFFFD"
         L"a"}, // cut short by ASCII
        {"\xF0\x9F"
         "\xC3\xA9",
         L"\xFFFD\xE9"},                 // cut short by a new lead
        {"\xC3\xA9\xA9", L"\xE9\xFFFD"}, // one continuation too many
        {"a\0\xC3\xA9"s, L"a\0\xE9"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.first), c.second) << Printable(c.first);
        EXPECT_EQ(Decode(c.first), SystemDecode(c.first)) << Printable(c.first);
    }
}

TEST(Utf8Decoder, AgreesWithTheSystemOnMixedBytes) {
    // Bytes drawn mostly from ASCII runs, lead bytes and continuation bytes, so that
    // well-formed, cut and overlong sequences all occur at every block offset.
    unsigned state = 2024;
    const auto next = [&state](unsigned bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes(next(70));
        for (unsigned char& byte : bytes) {
            switch (next(4)) {
            case 0:
                byte = static_cast<unsigned char>(0x20 + next(0x60));
                break;
            case 1:
                byte = static_cast<unsigned char>(0x80 + next(0x40));
                break;
            case 2:
                byte = static_cast<unsigned char>(0xC0 + next(0x40));
                break;
            default:
                byte = static_cast<unsigned char>(next(256));
                break;
            }
        }
        ASSERT_EQ(Decode(bytes), SystemDecode(bytes))
            << Printable(std::string(bytes.begin(), bytes.end()));
    }
}
