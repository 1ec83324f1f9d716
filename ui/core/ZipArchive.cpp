#include "core/ZipArchive.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include <unzip.h>

namespace SkinUI {

namespace {

// The reader's stream over an archive file or a memory image. A read that delivers
// fewer bytes than asked is reported as an error: the reader takes a short read of a
// header field as end-of-file and goes on with zeros, so a truncated archive would
// otherwise pass for a valid one. Reads and seeks on memory are checked against the
// image's length, so a damaged archive can never make the reader look past it.
struct ArchiveStream {
    HANDLE file;                           ///< The open file, or INVALID_HANDLE_VALUE.
    const CZipArchive::MemoryImage* image; ///< The memory image when there is no file.
    ZPOS64_T position;                     ///< Read position in the memory image.
    bool lastReadShort;                    ///< The last read delivered less than asked.
};

ArchiveStream* NewStream(HANDLE file, const CZipArchive::MemoryImage* image) {
    ArchiveStream* stream = static_cast<ArchiveStream*>(std::malloc(sizeof(ArchiveStream)));
    if (stream == nullptr) return nullptr;
    stream->file = file;
    stream->image = image;
    stream->position = 0;
    stream->lastReadShort = false;
    return stream;
}

voidpf ZCALLBACK OpenFileStream(voidpf /*opaque*/, const void* path, int mode) {
    if (path == nullptr || (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) {
        return nullptr;
    }
    HANDLE file = CreateFileW(static_cast<const wchar_t*>(path), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    ArchiveStream* stream = NewStream(file, nullptr);
    if (stream == nullptr) CloseHandle(file);
    return stream;
}

voidpf ZCALLBACK OpenMemoryStream(voidpf opaque, const void* /*path*/, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    return NewStream(INVALID_HANDLE_VALUE, static_cast<const CZipArchive::MemoryImage*>(opaque));
}

uLong ZCALLBACK ReadStream(voidpf /*opaque*/, voidpf streamHandle, void* buffer, uLong size) {
    ArchiveStream* stream = static_cast<ArchiveStream*>(streamHandle);
    uLong count = 0;
    if (stream->file != INVALID_HANDLE_VALUE) {
        DWORD read = 0;
        if (ReadFile(stream->file, buffer, size, &read, nullptr)) count = read;
    } else {
        const ZPOS64_T available = stream->image->length - stream->position;
        count = available < size ? static_cast<uLong>(available) : size;
        if (count > 0) {
            CopyMemory(buffer, stream->image->data + stream->position, count);
            stream->position += count;
        }
    }
    stream->lastReadShort = count < size;
    return count;
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK TellStream(voidpf /*opaque*/, voidpf streamHandle) {
    ArchiveStream* stream = static_cast<ArchiveStream*>(streamHandle);
    if (stream->file == INVALID_HANDLE_VALUE) return stream->position;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(stream->file, zero, &position, FILE_CURRENT)) return ~ZPOS64_T(0);
    return static_cast<ZPOS64_T>(position.QuadPart);
}

long ZCALLBACK SeekStream(voidpf /*opaque*/, voidpf streamHandle, ZPOS64_T offset, int origin) {
    ArchiveStream* stream = static_cast<ArchiveStream*>(streamHandle);
    DWORD method = FILE_BEGIN;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        method = FILE_BEGIN;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        method = FILE_CURRENT;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        method = FILE_END;
        break;
    default:
        return -1;
    }
    if (stream->file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(stream->file, distance, nullptr, method) ? 0 : -1;
    }
    const ZPOS64_T length = stream->image->length;
    const ZPOS64_T base =
        method == FILE_BEGIN ? 0 : (method == FILE_CURRENT ? stream->position : length);
    // The reader only seeks forwards (its offsets are unsigned, from the end it seeks by
    // 0), so anything beyond the image is a damaged archive.
    if (offset > length - base) return -1;
    stream->position = base + offset;
    return 0;
}

int ZCALLBACK CloseStream(voidpf /*opaque*/, voidpf streamHandle) {
    ArchiveStream* stream = static_cast<ArchiveStream*>(streamHandle);
    if (stream->file != INVALID_HANDLE_VALUE) CloseHandle(stream->file);
    std::free(stream);
    return 0;
}

int ZCALLBACK StreamError(voidpf /*opaque*/, voidpf streamHandle) {
    return static_cast<ArchiveStream*>(streamHandle)->lastReadShort ? 1 : 0;
}

zlib_filefunc64_def StreamHooks(voidpf opaque, open64_file_func open) {
    zlib_filefunc64_def hooks;
    hooks.zopen64_file = open;
    hooks.zread_file = ReadStream;
    hooks.zwrite_file = WriteStream;
    hooks.ztell64_file = TellStream;
    hooks.zseek64_file = SeekStream;
    hooks.zclose_file = CloseStream;
    hooks.zerror_file = StreamError;
    hooks.opaque = opaque;
    return hooks;
}

// Lower-cases 'A'..'Z' only: entry names are bytes of some code page, and folding
// anything else could turn one multi-byte character into another.
char FoldAscii(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Converts `name` into `codePage` exactly, into `out` of `size` bytes: false when it does
// not fit or when a character has no exact form there. A best-fit look-alike (a dotted
// capital I as 'I') would find an entry the caller never named.
bool ToEntryName(const wchar_t* name, UINT codePage, char* out, int size, size_t& length) {
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    // UTF-8 holds every character and takes neither the flag nor the report; it refuses
    // only broken surrogates.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const report = utf8 ? nullptr : &usedDefault;
    // Measure first: a name that does not fit the matcher's buffer is simply not found.
    const int bytes = WideCharToMultiByte(codePage, flags, name, -1, nullptr, 0, nullptr, report);
    if (bytes <= 1 || bytes > size || usedDefault) return false;
    if (WideCharToMultiByte(codePage, flags, name, -1, out, size, nullptr, report) != bytes ||
        usedDefault) {
        return false;
    }
    length = static_cast<size_t>(bytes - 1);
    return true;
}

bool NamesMatch(const char* wanted, const char* stored, size_t length, bool ignoreCase) {
    for (size_t i = 0; i < length; ++i) {
        const char a = ignoreCase ? FoldAscii(wanted[i]) : wanted[i];
        const char b = ignoreCase ? FoldAscii(stored[i]) : stored[i];
        if (a != b) return false;
    }
    return true;
}

} // namespace

CZipArchive::CZipArchive() : m_reader(nullptr), m_memory{nullptr, 0}, m_nameCodePage(CP_ACP) {}

CZipArchive::~CZipArchive() {
    if (m_reader != nullptr) unzClose(static_cast<unzFile>(m_reader));
}

CZipArchive* CZipArchive::OpenFile(const wchar_t* path) {
    if (path == nullptr || *path == 0) return nullptr;
    zlib_filefunc64_def hooks = StreamHooks(nullptr, OpenFileStream);
    unzFile reader = unzOpen2_64(path, &hooks);
    if (reader == nullptr) return nullptr;
    CZipArchive* archive = new (std::nothrow) CZipArchive();
    if (archive == nullptr) {
        unzClose(reader);
        return nullptr;
    }
    archive->m_reader = reader;
    return archive;
}

CZipArchive* CZipArchive::OpenMemory(const void* data, size_t length) {
    if (data == nullptr || length == 0) return nullptr;
    // The hooks read the image through the archive object, so it exists first.
    CZipArchive* archive = new (std::nothrow) CZipArchive();
    if (archive == nullptr) return nullptr;
    archive->m_memory.data = static_cast<const unsigned char*>(data);
    archive->m_memory.length = length;
    zlib_filefunc64_def hooks = StreamHooks(&archive->m_memory, OpenMemoryStream);
    archive->m_reader = unzOpen2_64("memory", &hooks);
    if (archive->m_reader == nullptr) {
        delete archive;
        return nullptr;
    }
    return archive;
}

bool CZipArchive::FindEntry(const wchar_t* name, bool ignoreCase, ZipEntry& entry) {
    if (name == nullptr || *name == 0) return false;
    char wanted[kMaxEntryNameLength + 1];
    size_t wantedLength = 0;
    if (!ToEntryName(name, m_nameCodePage, wanted, sizeof(wanted), wantedLength)) return false;
    for (size_t i = 0; i < wantedLength; ++i) {
        if (wanted[i] == '\\') wanted[i] = '/';
    }

    unzFile reader = static_cast<unzFile>(m_reader);
    unsigned long long index = 0;
    for (int status = unzGoToFirstFile(reader); status == UNZ_OK;
         status = unzGoToNextFile(reader), ++index) {
        unz_file_info64 info;
        char stored[kMaxEntryNameLength + 1];
        if (unzGetCurrentFileInfo64(reader, &info, stored, sizeof(stored), nullptr, 0, nullptr,
                                    0) != UNZ_OK) {
            return false;
        }
        // The stored name is cut (and unterminated) when longer than the buffer; only
        // names of the wanted length are compared at all.
        if (info.size_filename != wantedLength) continue;
        if (!NamesMatch(wanted, stored, wantedLength, ignoreCase)) continue;
        unz64_file_pos position;
        if (unzGetFilePos64(reader, &position) != UNZ_OK) return false;
        entry.index = index;
        entry.directoryOffset = position.pos_in_zip_directory;
        entry.uncompressedSize = info.uncompressed_size;
        return true;
    }
    return false;
}

int CZipArchive::Unpack(const ZipEntry& entry, void* buffer, unsigned long length) {
    if (buffer == nullptr && length != 0) return ZIP_UNPACK_FAILED;
    unzFile reader = static_cast<unzFile>(m_reader);
    unz64_file_pos position;
    position.pos_in_zip_directory = entry.directoryOffset;
    position.num_of_file = entry.index;
    if (unzGoToFilePos64(reader, &position) != UNZ_OK) return ZIP_UNPACK_FAILED;
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(reader, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return ZIP_UNPACK_FAILED;
    }
    // Encrypted entries are not supported: unpacked without a key they are garbage.
    if ((info.flag & 1) != 0) return ZIP_UNPACK_FAILED;
    if (unzOpenCurrentFile(reader) != UNZ_OK) return ZIP_UNPACK_FAILED;

    // The reader stops at the size the directory states, whatever the data holds, and
    // never writes more than it is asked for.
    unsigned char* out = static_cast<unsigned char*>(buffer);
    unsigned long written = 0;
    int result = ZIP_UNPACK_OK;
    while (written < length) {
        const unsigned long chunk =
            length - written < 0x40000000UL ? length - written : 0x40000000UL;
        const int read = unzReadCurrentFile(reader, out + written, static_cast<unsigned>(chunk));
        if (read < 0) {
            result = ZIP_UNPACK_FAILED;
            break;
        }
        if (read == 0) break;
        written += static_cast<unsigned long>(read);
    }
    if (result == ZIP_UNPACK_OK) {
        if (written < length) {
            // The entry ended before the size its directory record gave (or the caller's
            // buffer is bigger than the entry): not the whole entry.
            if (written != info.uncompressed_size) result = ZIP_UNPACK_FAILED;
        } else if (written < info.uncompressed_size) {
            result = ZIP_UNPACK_MORE_DATA;
        }
    }
    // Closing checks the checksum once the whole entry was read.
    const int closed = unzCloseCurrentFile(reader);
    if (result == ZIP_UNPACK_OK && closed != UNZ_OK) result = ZIP_UNPACK_FAILED;
    return result;
}

} // namespace SkinUI
