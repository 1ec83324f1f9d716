// The engine's mutations. Each one is cheap and keeps the input within the size limit; a
// few stacked ones make each new input.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "FuzzEngine.h"

namespace fuzz {

namespace {

void Insert(Bytes& input, std::size_t at, const std::uint8_t* data, std::size_t size) {
    input.insert(input.begin() + static_cast<std::ptrdiff_t>(std::min(at, input.size())), data,
                 data + size);
}

void Insert(Bytes& input, std::size_t at, const std::string& text) {
    Insert(input, at, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::size_t Position(const Bytes& input, Random& random) {
    return random.Below(input.size() + 1);
}

// A position just after a byte of `which`, or anywhere when there is none.
std::size_t After(const Bytes& input, char which, Random& random) {
    const std::size_t start = Position(input, random);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::size_t at = (start + i) % input.size();
        if (input[at] == static_cast<std::uint8_t>(which)) return at + 1;
    }
    return start;
}

// How many times to repeat something: mostly small, now and then a lot.
std::size_t Count(Random& random) {
    static const std::size_t kSmall[] = {2, 3, 8, 16, 64, 255, 256, 257};
    static const std::size_t kLarge[] = {1000, 1001, 5000, 70000};
    if (random.OneIn(6)) return kLarge[random.Below(sizeof(kLarge) / sizeof(kLarge[0]))];
    return kSmall[random.Below(sizeof(kSmall) / sizeof(kSmall[0]))];
}

void FlipBits(Bytes& input, Random& random) {
    if (input.empty()) return;
    const std::size_t flips = 1 + random.Below(8);
    for (std::size_t i = 0; i < flips; ++i)
        input[random.Below(input.size())] ^= static_cast<std::uint8_t>(1u << random.Below(8));
}

void SetBytes(Bytes& input, Random& random) {
    static const std::uint8_t kBytes[] = {0,   1,   0x7F, 0x80, 0xFF, '<', '>', '"', '\'', '&',
                                          '/', '=', ',',  ' ',  '#',  ';', '0', '9', '-'};
    if (input.empty()) return;
    const std::size_t count = 1 + random.Below(4);
    for (std::size_t i = 0; i < count; ++i)
        input[random.Below(input.size())] = random.OneIn(2)
                                                ? static_cast<std::uint8_t>(random.Next())
                                                : kBytes[random.Below(sizeof(kBytes))];
}

// Little-endian 16- or 32-bit fields of binary headers set to edge values.
void SetWord(Bytes& input, Random& random) {
    static const std::uint32_t kValues[] = {
        0,      1,       0x7F,       0x80,       0xFF,       0x100,      0x7FFF,     0x8000,
        0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x40000000, 0x01000000};
    const std::size_t width = random.OneIn(2) ? 2 : 4;
    if (input.size() < width) return;
    const std::uint32_t value = kValues[random.Below(sizeof(kValues) / sizeof(kValues[0]))];
    std::size_t at = random.Below(input.size() - width + 1);
    if (random.OneIn(2)) at &= ~(width - 1);
    for (std::size_t i = 0; i < width; ++i)
        input[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void EraseRange(Bytes& input, Random& random) {
    if (input.empty()) return;
    const std::size_t at = random.Below(input.size());
    const std::size_t length = 1 + random.Below(std::min<std::size_t>(input.size() - at, 256));
    input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                input.begin() + static_cast<std::ptrdiff_t>(at + length));
}

void Truncate(Bytes& input, Random& random) {
    input.resize(random.Below(input.size() + 1));
}

// The front of one input and the back of another.
void Splice(Bytes& input, const Bytes& other, Random& random) {
    const std::size_t keep = Position(input, random);
    const std::size_t from = random.Below(other.size() + 1);
    input.resize(keep);
    input.insert(input.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
}

void DuplicateRange(Bytes& input, Random& random, std::size_t maxSize) {
    if (input.empty()) return;
    const std::size_t at = random.Below(input.size());
    const std::size_t length = 1 + random.Below(std::min<std::size_t>(input.size() - at, 512));
    const Bytes range(input.begin() + static_cast<std::ptrdiff_t>(at),
                      input.begin() + static_cast<std::ptrdiff_t>(at + length));
    std::size_t times = Count(random);
    times = std::min(times, (maxSize > input.size() ? maxSize - input.size() : 0) / length);
    Bytes copies;
    copies.reserve(times * length);
    for (std::size_t i = 0; i < times; ++i)
        copies.insert(copies.end(), range.begin(), range.end());
    Insert(input, at + length, copies.data(), copies.size());
}

// The name of an element that starts near a random place, or a stock one.
std::string ElementName(const Bytes& input, Random& random) {
    static const char* const kNames[] = {
        "VerticalLayout", "HorizontalLayout", "Container", "TreeNode", "a", "Include"};
    const std::size_t start = Position(input, random);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::size_t at = (start + i) % input.size();
        if (input[at] != '<' || at + 1 >= input.size()) continue;
        std::size_t end = at + 1;
        while (end < input.size() && end - at < 40 &&
               (std::isalnum(input[end]) != 0 || input[end] == '_'))
            ++end;
        if (end > at + 1)
            return std::string(reinterpret_cast<const char*>(&input[at + 1]), end - at - 1);
    }
    return kNames[random.Below(sizeof(kNames) / sizeof(kNames[0]))];
}

// Elements nested many levels deep, closed (or, now and then, left open).
void Nest(Bytes& input, Random& random, std::size_t maxSize) {
    const std::string name = ElementName(input, random);
    const std::string open = "<" + name + (random.OneIn(3) ? " name=\"n\">" : ">");
    const std::string close = "</" + name + ">";
    std::size_t depth = Count(random);
    depth = std::min(depth, (maxSize > input.size() ? maxSize - input.size() : 0) /
                                (open.size() + close.size()));
    std::string opens;
    std::string closes;
    opens.reserve(depth * open.size());
    for (std::size_t i = 0; i < depth; ++i)
        opens += open;
    if (!random.OneIn(8)) {
        closes.reserve(depth * close.size());
        for (std::size_t i = 0; i < depth; ++i)
            closes += close;
    }
    const std::size_t at = After(input, '>', random);
    Insert(input, at, opens + closes);
}

void HugeNumber(Bytes& input, Random& random) {
    static const char* const kNumbers[] = {"2147483647",
                                           "2147483648",
                                           "-2147483648",
                                           "-2147483649",
                                           "4294967295",
                                           "4294967296",
                                           "99999999999999999999",
                                           "-1",
                                           "0",
                                           "65535",
                                           "65536",
                                           "100000000",
                                           "1e309",
                                           "0x7fffffff",
                                           "#FFFFFFFF",
                                           "0,0,2147483647,2147483647",
                                           "-2147483648,-2147483648,2147483647,2147483647",
                                           "1000000,1000000"};
    const std::string number = kNumbers[random.Below(sizeof(kNumbers) / sizeof(kNumbers[0]))];
    const std::size_t start = Position(input, random);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::size_t at = (start + i) % input.size();
        if (std::isdigit(input[at]) == 0) continue;
        std::size_t end = at;
        while (end < input.size() && std::isdigit(input[end]) != 0)
            ++end;
        input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                    input.begin() + static_cast<std::ptrdiff_t>(end));
        Insert(input, at, number);
        return;
    }
    Insert(input, start, number);
}

void LongValue(Bytes& input, Random& random, std::size_t maxSize) {
    static const char* const kUnits[] = {
        "A",  ",",  "0",    " ", "&amp;", "<", "'", "\xE4\xB8\xAD", "{b}", "file='a.png' ",
        "9,", "\\", "&#65;"};
    static const std::size_t kLengths[] = {255, 256, 1024, 4096};
    static const std::size_t kLongLengths[] = {32768, 65536, 300000};
    const std::string unit = kUnits[random.Below(sizeof(kUnits) / sizeof(kUnits[0]))];
    std::size_t length =
        random.OneIn(6) ? kLongLengths[random.Below(sizeof(kLongLengths) / sizeof(kLongLengths[0]))]
                        : kLengths[random.Below(sizeof(kLengths) / sizeof(kLengths[0]))];
    length = std::min(length, (maxSize > input.size() ? maxSize - input.size() : 0) / unit.size());
    std::string run;
    run.reserve(length * unit.size());
    for (std::size_t i = 0; i < length; ++i)
        run += unit;
    Insert(input, After(input, '"', random), run);
}

void InvalidUtf8(Bytes& input, Random& random) {
    static const char* const kSequences[] = {"\xC0\x80",
                                             "\xC1\xBF",
                                             "\xE0\x80\x80",
                                             "\xED\xA0\x80",
                                             "\xED\xBF\xBF",
                                             "\xF4\x90\x80\x80",
                                             "\xF8\x88\x80\x80\x80",
                                             "\xFF",
                                             "\xFE",
                                             "\x80",
                                             "\xBF",
                                             "\xE4\xB8",
                                             "\xF0\x9F\x98",
                                             "\xEF\xBF\xBF",
                                             "\xF0\x9F\x98\x80"};
    const std::size_t count = 1 + random.Below(3);
    for (std::size_t i = 0; i < count; ++i)
        Insert(input, Position(input, random),
               kSequences[random.Below(sizeof(kSequences) / sizeof(kSequences[0]))]);
}

// The bytes as UTF-16 of either order (with or without a mark), or lone surrogates in
// text that already is UTF-16.
void Utf16(Bytes& input, Random& random, std::size_t maxSize) {
    const bool looksWide = input.size() >= 2 && (input[0] == 0xFF || input[0] == 0xFE);
    if (looksWide && !random.OneIn(3)) {
        static const std::uint8_t kUnits[][2] = {{0x00, 0xD8}, {0x00, 0xDC}, {0xFF, 0xDB},
                                                 {0xD8, 0x00}, {0xDC, 0x00}, {0xFF, 0xFF},
                                                 {0x00, 0x00}, {0xFE, 0xFF}};
        const auto& unit = kUnits[random.Below(sizeof(kUnits) / sizeof(kUnits[0]))];
        std::size_t at = Position(input, random);
        if (!random.OneIn(4)) at &= ~std::size_t(1);
        Insert(input, at, unit, 2);
        return;
    }
    if (input.size() * 2 + 2 > maxSize) return;
    const bool bigEndian = random.OneIn(2);
    Bytes wide;
    wide.reserve(input.size() * 2 + 2);
    if (!random.OneIn(5)) {
        wide.push_back(bigEndian ? 0xFE : 0xFF);
        wide.push_back(bigEndian ? 0xFF : 0xFE);
    }
    for (std::uint8_t byte : input) {
        wide.push_back(bigEndian ? 0 : byte);
        wide.push_back(bigEndian ? byte : 0);
    }
    if (random.OneIn(4) && !wide.empty()) wide.pop_back(); // an odd length
    input.swap(wide);
}

void ByteOrderMark(Bytes& input, Random& random) {
    static const char* const kMarks[] = {
        "\xEF\xBB\xBF",    "\xFF\xFE", "\xFE\xFF", "\xEF\xBB", "\xEF\xBB\xBF\xEF\xBB\xBF",
        "\xFF\xFE\xFF\xFE"};
    static const std::uint8_t kWideMarks[][4] = {{0xFF, 0xFE, 0, 0}, {0, 0, 0xFE, 0xFF}};
    switch (random.Below(4)) {
    case 0: // strip what may be a mark
        input.erase(input.begin(),
                    input.begin() + static_cast<std::ptrdiff_t>(
                                        std::min<std::size_t>(input.size(), 1 + random.Below(4))));
        break;
    case 1:
        Insert(input, 0, kWideMarks[random.Below(2)], 4);
        break;
    default:
        Insert(input, 0, kMarks[random.Below(sizeof(kMarks) / sizeof(kMarks[0]))]);
        break;
    }
}

void InsertToken(Bytes& input, const std::vector<std::string>& tokens, Random& random) {
    if (tokens.empty()) return;
    const std::string& token = tokens[random.Below(tokens.size())];
    // Attribute-like tokens go inside a start tag, the rest anywhere.
    const std::size_t at = token[0] == ' ' && !random.OneIn(4) ? After(input, '<', random) + 1
                                                               : Position(input, random);
    Insert(input, std::min(at, input.size()), token);
}

} // namespace

void Mutate(Bytes& input, const Bytes& other, const std::vector<std::string>& tokens,
            Random& random, std::size_t maxSize) {
    const std::size_t rounds = random.OneIn(8) ? 2 + random.Below(7) : 1 + random.Below(3);
    for (std::size_t round = 0; round < rounds; ++round) {
        switch (random.Below(16)) {
        case 0:
            FlipBits(input, random);
            break;
        case 1:
            SetBytes(input, random);
            break;
        case 2:
            SetWord(input, random);
            break;
        case 3:
            EraseRange(input, random);
            break;
        case 4:
            Truncate(input, random);
            break;
        case 5:
            Splice(input, other, random);
            break;
        case 6:
            DuplicateRange(input, random, maxSize);
            break;
        case 7:
            Nest(input, random, maxSize);
            break;
        case 8:
            HugeNumber(input, random);
            break;
        case 9:
            LongValue(input, random, maxSize);
            break;
        case 10:
            InvalidUtf8(input, random);
            break;
        case 11:
            Utf16(input, random, maxSize);
            break;
        case 12:
            ByteOrderMark(input, random);
            break;
        default:
            InsertToken(input, tokens, random);
            break;
        }
        if (input.size() > maxSize) input.resize(maxSize);
    }
}

} // namespace fuzz
