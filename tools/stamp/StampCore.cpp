#include "StampCore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace Stamp {
namespace {

constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSecurityDirectory = 4;

bool ReadU16(const std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t& value) {
    if (at > image.size() || image.size() - at < 2) return false;
    value = image[at] | (image[at + 1] << 8);
    return true;
}

bool ReadU32(const std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t& value) {
    if (at > image.size() || image.size() - at < 4) return false;
    value = static_cast<std::uint32_t>(image[at]) |
            (static_cast<std::uint32_t>(image[at + 1]) << 8) |
            (static_cast<std::uint32_t>(image[at + 2]) << 16) |
            (static_cast<std::uint32_t>(image[at + 3]) << 24);
    return true;
}

struct PeHeaders {
    std::size_t ntOffset = 0;
    std::uint32_t sectionCount = 0;
    std::uint32_t symbolTable = 0;
    std::uint32_t optionalSize = 0;
    std::uint32_t securityOffset = 0;
    std::uint32_t securitySize = 0;
};

bool ReadHeaders(const std::vector<std::uint8_t>& image, PeHeaders& pe, std::string& error) {
    std::uint32_t value = 0;
    if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z') {
        error = "not an executable (no MZ header)";
        return false;
    }
    ReadU32(image, 0x3C, value);
    pe.ntOffset = value;
    if (!ReadU32(image, pe.ntOffset, value) || value != 0x00004550) {
        error = "not a PE executable (no PE signature)";
        return false;
    }
    const std::size_t fileHeader = pe.ntOffset + 4;
    const std::size_t optional = fileHeader + kFileHeaderSize;
    std::uint32_t magic = 0, directoryCount = 0;
    if (!ReadU16(image, fileHeader + 2, pe.sectionCount) ||
        !ReadU32(image, fileHeader + 8, pe.symbolTable) ||
        !ReadU16(image, fileHeader + 16, pe.optionalSize) || !ReadU16(image, optional, magic)) {
        error = "truncated PE headers";
        return false;
    }
    std::size_t directories = 0;
    if (magic == 0x20B) {
        directories = optional + 112;
        ReadU32(image, optional + 108, directoryCount);
    } else if (magic == 0x10B) {
        directories = optional + 96;
        ReadU32(image, optional + 92, directoryCount);
    } else {
        error = "unknown optional header";
        return false;
    }
    if (directoryCount > kSecurityDirectory &&
        directories + (kSecurityDirectory + 1) * 8 <= optional + pe.optionalSize) {
        ReadU32(image, directories + kSecurityDirectory * 8, pe.securityOffset);
        ReadU32(image, directories + kSecurityDirectory * 8 + 4, pe.securitySize);
    }
    if (pe.sectionCount == 0) {
        error = "the executable has no sections";
        return false;
    }
    return true;
}

bool IsRecordText(char c) {
    return c >= 0x20 && c < 0x7F;
}

// Nothing, or a previous record: printable text, a NUL, then nothing but NUL padding.
bool IsRecordOrNothing(const std::vector<std::uint8_t>& image, std::size_t from) {
    if (from == image.size()) return true;
    std::size_t i = from;
    while (i < image.size() && IsRecordText(static_cast<char>(image[i])))
        ++i;
    if (i == image.size() || image[i] != 0 || i - from + 1 > kRecordLimit) return false;
    for (; i < image.size(); ++i)
        if (image[i] != 0) return false;
    return true;
}

bool CheckField(const std::string& field, const char* what, std::string& error) {
    if (field.empty()) {
        error = std::string("the ") + what + " is empty";
        return false;
    }
    for (char c : field) {
        if (!IsRecordText(c) || c == '|') {
            error = std::string("the ") + what +
                    " may hold only printable ASCII characters other than '|'";
            return false;
        }
    }
    return true;
}

} // namespace

bool FindOverlayOffset(const std::vector<std::uint8_t>& image, std::size_t& offset,
                       std::string& error) {
    PeHeaders pe;
    if (!ReadHeaders(image, pe, error)) return false;
    const std::size_t table = pe.ntOffset + 4 + kFileHeaderSize + pe.optionalSize;
    std::size_t end = 0;
    for (std::uint32_t i = 0; i < pe.sectionCount; ++i) {
        std::uint32_t rawSize = 0, rawPointer = 0;
        const std::size_t entry = table + i * kSectionHeaderSize;
        if (!ReadU32(image, entry + 16, rawSize) || !ReadU32(image, entry + 20, rawPointer)) {
            error = "truncated section table";
            return false;
        }
        if (rawSize != 0 && std::size_t(rawPointer) + rawSize > end)
            end = std::size_t(rawPointer) + rawSize;
    }
    if (end > image.size()) {
        error = "the sections run past the end of the file";
        return false;
    }
    offset = end;
    return true;
}

bool BuildRecord(const std::string& login, const std::string& service, std::size_t overlayOffset,
                 std::vector<std::uint8_t>& record, std::string& error) {
    if (!CheckField(login, "login address", error) ||
        !CheckField(service, "service-center address", error))
        return false;
    const std::string text = login + "|" + service;
    if (text.size() + 1 > kRecordLimit) {
        error = "the record needs " + std::to_string(text.size() + 1) +
                " bytes with its terminator; the client reads at most " +
                std::to_string(kRecordLimit);
        return false;
    }
    record.assign(text.begin(), text.end());
    record.push_back(0);
    while ((overlayOffset + record.size()) % 8 != 0)
        record.push_back(0);
    return true;
}

bool StampImage(std::vector<std::uint8_t>& image, const std::string& login,
                const std::string& service, std::string& error) {
    PeHeaders pe;
    std::size_t overlay = 0;
    if (!ReadHeaders(image, pe, error) || !FindOverlayOffset(image, overlay, error)) return false;
    if (pe.securityOffset != 0 || pe.securitySize != 0) {
        error = "the executable already carries a certificate table; stamp it before signing";
        return false;
    }
    if (pe.symbolTable != 0 && pe.symbolTable >= overlay) {
        error = "the executable keeps a symbol table after its sections; strip it first";
        return false;
    }
    if (!IsRecordOrNothing(image, overlay)) {
        error = "the executable carries unknown data after its sections";
        return false;
    }
    std::vector<std::uint8_t> record;
    if (!BuildRecord(login, service, overlay, record, error)) return false;
    image.resize(overlay);
    image.insert(image.end(), record.begin(), record.end());
    return true;
}

bool StampFile(const std::string& path, const std::string& login, const std::string& service,
               std::string& error) {
    std::vector<std::uint8_t> image;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error = "cannot open " + path;
            return false;
        }
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            error = "cannot read " + path;
            return false;
        }
    }
    if (!StampImage(image, login, service, error)) return false;
    // Write beside the original and swap, so a failed write never leaves half a client.
    const std::string temporary = path + ".stamping";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(reinterpret_cast<const char*>(image.data()),
                       std::streamsize(image.size())) ||
            !out.flush()) {
            error = "cannot write " + temporary;
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code code;
    // Keep the original's permissions (the executable bit on the build machine).
    std::filesystem::permissions(temporary, std::filesystem::status(path, code).permissions(), code);
    std::filesystem::rename(temporary, path, code);
    if (code) {
        error = "cannot replace " + path + ": " + code.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace Stamp
