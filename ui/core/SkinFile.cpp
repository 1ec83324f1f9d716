#include "core/SkinFile.h"

#include <cstdlib>
#include <cstring>

#include "core/SkinString.h"
#include "core/ZipArchive.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CSkinFileBytes::CSkinFileBytes(CSkinFileBytes&& other) noexcept
    : m_data(other.m_data), m_size(other.m_size) {
    other.m_data = nullptr;
    other.m_size = 0;
}

CSkinFileBytes& CSkinFileBytes::operator=(CSkinFileBytes&& other) noexcept {
    if (this != &other) {
        Free();
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

unsigned char* CSkinFileBytes::Detach() {
    unsigned char* data = m_data;
    m_data = nullptr;
    m_size = 0;
    return data;
}

void CSkinFileBytes::Free() {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

bool CSkinFileBytes::Allocate(DWORD size) {
    Free();
    // One byte at least, so that an empty block still has an address.
    m_data = static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1));
    if (m_data == nullptr) return false;
    m_size = size;
    return true;
}

namespace {

SkinFileResult ReadResource(const wchar_t* name, const wchar_t* type, DWORD maxSize,
                            CSkinFileBytes& bytes) {
    HMODULE module = CPaintManagerUI::GetResourceDll();
    HRSRC resource = FindResourceW(module, name, type);
    if (resource == nullptr) return SKINFILE_RESOURCE_NOT_FOUND;
    const DWORD size = SizeofResource(module, resource);
    if (size == 0) return SKINFILE_EMPTY;
    if (size > maxSize) return SKINFILE_TOO_LARGE;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    SkinFileResult result = SKINFILE_OK;
    if (data == nullptr) {
        result = SKINFILE_RESOURCE_NOT_FOUND;
    } else if (!bytes.Allocate(size)) {
        result = SKINFILE_READ_FAILED;
    } else {
        std::memcpy(bytes.GetData(), data, size);
    }
    if (loaded != nullptr) FreeResource(loaded);
    return result;
}

SkinFileResult ReadArchiveEntry(const wchar_t* name, DWORD maxSize, CSkinFileBytes& bytes) {
    CZipArchive* archive = nullptr;
    CZipArchive* opened = nullptr; // closed on every path when opened here
    if (CPaintManagerUI::IsCachedResourceZip()) {
        archive = static_cast<CZipArchive*>(CPaintManagerUI::GetResourceZipHandle());
    } else {
        const CSkinString path =
            CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip();
        archive = opened = CZipArchive::OpenFile(path);
    }
    SkinFileResult result = SKINFILE_OK;
    ZipEntry entry;
    if (archive == nullptr) {
        result = SKINFILE_ZIP_OPEN_FAILED;
    } else if (!archive->FindEntry(name, true, entry)) {
        result = SKINFILE_ZIP_ENTRY_NOT_FOUND;
    } else if (entry.uncompressedSize == 0) {
        result = SKINFILE_EMPTY;
    } else if (entry.uncompressedSize > maxSize) {
        result = SKINFILE_TOO_LARGE;
    } else if (!bytes.Allocate(static_cast<DWORD>(entry.uncompressedSize))) {
        result = SKINFILE_UNZIP_FAILED;
    } else {
        const int unpacked = archive->Unpack(entry, bytes.GetData(), bytes.GetSize());
        if (unpacked != ZIP_UNPACK_OK && unpacked != ZIP_UNPACK_MORE_DATA) {
            bytes.Free();
            result = SKINFILE_UNZIP_FAILED;
        }
    }
    delete opened;
    return result;
}

} // namespace

SkinFileResult ReadFileBytes(const wchar_t* path, DWORD maxSize, CSkinFileBytes& bytes) {
    bytes.Free();
    if (path == nullptr || IS_INTRESOURCE(path)) return SKINFILE_OPEN_FAILED;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SKINFILE_OPEN_FAILED;
    SkinFileResult result = SKINFILE_OK;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        result = SKINFILE_READ_FAILED;
    } else if (size.QuadPart == 0) {
        result = SKINFILE_EMPTY;
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxSize) {
        result = SKINFILE_TOO_LARGE;
    } else if (!bytes.Allocate(static_cast<DWORD>(size.QuadPart))) {
        result = SKINFILE_READ_FAILED;
    } else {
        DWORD read = 0;
        if (!ReadFile(file, bytes.GetData(), bytes.GetSize(), &read, nullptr) ||
            read != bytes.GetSize()) {
            bytes.Free();
            result = SKINFILE_READ_FAILED;
        }
    }
    CloseHandle(file);
    return result;
}

SkinFileResult ReadSkinFile(const wchar_t* name, const wchar_t* resourceType, DWORD maxSize,
                            CSkinFileBytes& bytes) {
    bytes.Free();
    if (resourceType != nullptr) return ReadResource(name, resourceType, maxSize, bytes);
    // An integer id is a resource name, never a path or an entry name.
    if (name != nullptr && IS_INTRESOURCE(name)) return SKINFILE_RESOURCE_NOT_FOUND;
    if (!CPaintManagerUI::GetResourceZip().IsEmpty()) {
        return ReadArchiveEntry(name, maxSize, bytes);
    }
    if (name == nullptr) return SKINFILE_OPEN_FAILED;
    return ReadFileBytes(CPaintManagerUI::GetResourcePath() + name, maxSize, bytes);
}

} // namespace SkinUI
