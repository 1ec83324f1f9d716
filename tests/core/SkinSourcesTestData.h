#pragma once

// Helpers shared by the zip reader and skin source tests: where the build put the test
// data (skin_sources beside the test executable), whole-file reads, guarded memory, and
// the zip records the tests patch.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace SkinSourcesTest {

/// Folder of the test executable, with a trailing back-slash.
inline std::wstring TestDirectory() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.rfind(L'\\') + 1);
}

/// The skin folder written at build time, with a trailing back-slash.
inline std::wstring SkinDirectory() {
    return TestDirectory() + L"skin_sources\\skin\\";
}

/// The whole file, or nothing when it cannot be read.
inline std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

/// Writes `bytes` as the file at `path`; true on success.
inline bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

/// True when nobody holds the file open: it can be opened without any sharing.
inline bool IsFileClosedByOthers(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

/// A block of `size` bytes (optionally a copy of `bytes`) that ends right before an
/// inaccessible page: touching one byte past it crashes the test.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<unsigned char>& bytes) : GuardedBytes(bytes.size()) {
        if (!bytes.empty()) std::memcpy(m_data, bytes.data(), bytes.size());
    }
    explicit GuardedBytes(size_t size) : m_size(size) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t dataPages = (size + page - 1) / page + 1;
        m_base = static_cast<unsigned char*>(VirtualAlloc(
            nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + dataPages * page, page, PAGE_NOACCESS, &old);
        m_data = m_base + dataPages * page - size;
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    unsigned char* m_base;
    unsigned char* m_data;
    size_t m_size;
};

/// Offset of the central directory record of the entry called `name`, or npos.
inline size_t FindDirectoryRecord(const std::vector<unsigned char>& zip, const std::string& name) {
    for (size_t i = 0; i + 46 <= zip.size(); ++i) {
        if (zip[i] != 'P' || zip[i + 1] != 'K' || zip[i + 2] != 1 || zip[i + 3] != 2) continue;
        const size_t nameLength = zip[i + 28] | (zip[i + 29] << 8);
        if (i + 46 + nameLength <= zip.size() && nameLength == name.size() &&
            std::memcmp(&zip[i + 46], name.data(), nameLength) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

/// Little-endian 32-bit field at `offset`.
inline std::uint32_t ReadLong(const std::vector<unsigned char>& zip, size_t offset) {
    return zip[offset] | (zip[offset + 1] << 8) | (zip[offset + 2] << 16) |
           (static_cast<std::uint32_t>(zip[offset + 3]) << 24);
}

inline void WriteLong(std::vector<unsigned char>& zip, size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        zip[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

/// Field offsets in a central directory record.
constexpr size_t kDirectoryMethod = 10;
constexpr size_t kDirectoryCompressedSize = 20;
constexpr size_t kDirectoryUncompressedSize = 24;
constexpr size_t kDirectoryLocalHeaderOffset = 42;
/// Size of a local header before its name and extra field.
constexpr size_t kLocalHeaderSize = 30;

/// Offset of the entry's compressed data (after its local header), from its directory record.
inline size_t EntryDataOffset(const std::vector<unsigned char>& zip, size_t record) {
    const size_t local = ReadLong(zip, record + kDirectoryLocalHeaderOffset);
    const size_t nameLength = zip[local + 26] | (zip[local + 27] << 8);
    const size_t extraLength = zip[local + 28] | (zip[local + 29] << 8);
    return local + kLocalHeaderSize + nameLength + extraLength;
}

} // namespace SkinSourcesTest
