#pragma once

// Reading the bytes of a skin file from whichever source is in force: a resource of the
// resource module, an entry of the selected zip archive, or a file under the skin folder.

#include <windows.h>

namespace SkinUI {

/// Outcome of `ReadSkinFile`; only SKINFILE_OK delivers bytes.
enum SkinFileResult {
    SKINFILE_OK = 0,
    SKINFILE_RESOURCE_NOT_FOUND,  ///< No such resource, or it could not be loaded.
    SKINFILE_OPEN_FAILED,         ///< The plain file could not be opened.
    SKINFILE_EMPTY,               ///< The resource, file or entry holds no bytes.
    SKINFILE_TOO_LARGE,           ///< It holds more bytes than the caller accepts.
    SKINFILE_READ_FAILED,         ///< The plain file could not be read whole.
    SKINFILE_ZIP_OPEN_FAILED,     ///< The archive is missing or is not an archive.
    SKINFILE_ZIP_ENTRY_NOT_FOUND, ///< The archive has no entry of that name.
    SKINFILE_UNZIP_FAILED,        ///< The entry could not be unpacked.
};

/// The bytes of one skin file, owned; move-only.
class CSkinFileBytes {
public:
    CSkinFileBytes() : m_data(nullptr), m_size(0) {}
    CSkinFileBytes(CSkinFileBytes&& other) noexcept;
    CSkinFileBytes& operator=(CSkinFileBytes&& other) noexcept;
    CSkinFileBytes(const CSkinFileBytes&) = delete;
    CSkinFileBytes& operator=(const CSkinFileBytes&) = delete;
    ~CSkinFileBytes() { Free(); }

    /// The bytes, or null when empty.
    unsigned char* GetData() const { return m_data; }
    /// Number of bytes.
    DWORD GetSize() const { return m_size; }
    /// Gives up ownership: the caller frees the returned block with `std::free`.
    unsigned char* Detach();
    /// Frees the bytes.
    void Free();
    /// Replaces the contents by a new block of `size` bytes (contents undefined);
    /// false when it cannot be allocated.
    bool Allocate(DWORD size);

private:
    unsigned char* m_data;
    DWORD m_size;
};

/// No size limit for `ReadSkinFile` beyond what one read can deliver.
constexpr DWORD kSkinFileNoSizeLimit = MAXDWORD;

/// Reads a skin file through the lookup rule:
///  1. with a `resourceType`, the resource `name` (a string or an integer id) of that type
///     in `CPaintManagerUI::GetResourceDll()`;
///  2. else, when a zip archive is selected, its entry `name` (the cached archive, or the
///     archive file opened for this one read);
///  3. else the file at the skin folder + `name`.
/// Without a resource type an integer id is never found. Sizes of 0 give SKINFILE_EMPTY
/// and sizes above `maxSize` SKINFILE_TOO_LARGE, both before anything is read.
SkinFileResult ReadSkinFile(const wchar_t* name, const wchar_t* resourceType, DWORD maxSize,
                            CSkinFileBytes& bytes);

/// Reads the whole file at `path` (absolute, or relative to the current directory) with the
/// same results as the plain-file step of `ReadSkinFile`; an integer id is never a path.
SkinFileResult ReadFileBytes(const wchar_t* path, DWORD maxSize, CSkinFileBytes& bytes);

} // namespace SkinUI
