#pragma once

// Read-only access to zip archives holding skin files, from a file or from memory.

#include <cstddef>

namespace SkinUI {

/// Results of `CZipArchive::Unpack`. Both OK and MORE_DATA count as success.
enum {
    ZIP_UNPACK_OK = 0,        ///< The whole entry was written.
    ZIP_UNPACK_MORE_DATA = 1, ///< The buffer was filled and data remains.
    ZIP_UNPACK_FAILED = -1,   ///< Bad arguments, bad archive data or checksum mismatch.
};

/// Where an entry sits in its archive, as found by `CZipArchive::FindEntry`.
struct ZipEntry {
    unsigned long long index;            ///< Number of the entry in directory order.
    unsigned long long directoryOffset;  ///< Start of its directory record (reader's own).
    unsigned long long uncompressedSize; ///< Size of the unpacked entry in bytes.
};

/// An open zip archive. Opened through `OpenFile` or `OpenMemory`, released with delete.
class CZipArchive {
public:
    /// Longest entry name (in bytes of its code page) that `FindEntry` can match.
    static constexpr int kMaxEntryNameLength = 255;

    /// Opens the archive file at `path` for reading (other readers may share it);
    /// null when the file cannot be opened or is not an archive.
    static CZipArchive* OpenFile(const wchar_t* path);
    /// Opens the archive image of `length` bytes at `data` without copying it: the memory
    /// must stay valid and unchanged until the archive is deleted. Null when not an archive.
    static CZipArchive* OpenMemory(const void* data, size_t length);
    /// Releases the archive (and its file).
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    /// Finds the first entry, in directory order, called `name`: the name is taken in the
    /// archive's name code page, '\\' reads as '/', and ASCII letters match regardless of
    /// case when `ignoreCase` is set. Names longer than kMaxEntryNameLength are never found,
    /// nor names with a character the code page cannot hold exactly (a look-alike could
    /// match another entry).
    bool FindEntry(const wchar_t* name, bool ignoreCase, ZipEntry& entry);
    /// The code page the archive's entry names are written in: the system ANSI code page
    /// (CP_ACP) unless set.
    void SetNameCodePage(unsigned int codePage) { m_nameCodePage = codePage; }
    /// Unpacks the entry into `buffer`, writing at most `length` bytes: ZIP_UNPACK_OK when
    /// the whole entry was written and checked, ZIP_UNPACK_MORE_DATA when the buffer is
    /// full before the end of the entry, ZIP_UNPACK_FAILED otherwise (buffer contents
    /// then undefined).
    int Unpack(const ZipEntry& entry, void* buffer, unsigned long length);

    /// The memory image handed to the reader's stream hooks.
    struct MemoryImage {
        const unsigned char* data; ///< First byte of the archive.
        size_t length;             ///< Bytes in the archive.
    };

private:
    CZipArchive();

    void* m_reader;              ///< The zip reader's own handle.
    MemoryImage m_memory;        ///< Image read by a memory archive; unused for files.
    unsigned int m_nameCodePage; ///< Code page of the entry names.
};

} // namespace SkinUI
