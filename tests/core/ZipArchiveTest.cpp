#include "core/ZipArchive.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "SkinSourcesTestData.h"

using SkinUI::CZipArchive;
using SkinUI::ZIP_UNPACK_FAILED;
using SkinUI::ZIP_UNPACK_MORE_DATA;
using SkinUI::ZIP_UNPACK_OK;
using SkinUI::ZipEntry;
using namespace SkinSourcesTest;

namespace {

using ArchivePtr = std::unique_ptr<CZipArchive>;

std::vector<unsigned char> SkinZip() {
    return ReadBytes(SkinDirectory() + L"skin.zip");
}
std::vector<unsigned char> StoredZip() {
    return ReadBytes(SkinDirectory() + L"stored.zip");
}

// Unpacks the entry whole into guarded memory of its stated size; "" plus a failed
// result when it cannot.
std::string UnpackWhole(CZipArchive& archive, const wchar_t* name, int* result = nullptr) {
    ZipEntry entry;
    if (!archive.FindEntry(name, true, entry)) {
        if (result) *result = ZIP_UNPACK_FAILED;
        return std::string();
    }
    GuardedBytes out(static_cast<size_t>(entry.uncompressedSize));
    const int unpacked =
        archive.Unpack(entry, out.data(), static_cast<unsigned long>(entry.uncompressedSize));
    if (result) *result = unpacked;
    if (unpacked != ZIP_UNPACK_OK) return std::string();
    return std::string(reinterpret_cast<const char*>(out.data()), out.size());
}

bool HasCaption(const std::string& xml, const std::string& caption) {
    return xml.find("caption=\"" + caption + "\"") != std::string::npos;
}

} // namespace

// ---------------------------------------------------------------------------
// Opening

TEST(ZipArchive, FileAndMemoryArchivesReadTheSameEntries) {
    ArchivePtr fromFile(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(fromFile, nullptr);
    const std::vector<unsigned char> image = SkinZip();
    GuardedBytes memory(image);
    ArchivePtr fromMemory(CZipArchive::OpenMemory(memory.data(), memory.size()));
    ASSERT_NE(fromMemory, nullptr);

    for (CZipArchive* archive : {fromFile.get(), fromMemory.get()}) {
        EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"Window.xml"), "zip"));
        EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"Skins/Dialogs/Login.xml"), "zip nested"));
        const std::string exact = UnpackWhole(*archive, L"exact.xml");
        EXPECT_EQ(exact.size(), 4194304u);
        EXPECT_EQ(exact.substr(exact.size() - 9), "</Window>");
    }
}

TEST(ZipArchive, RefusesWhatIsNoArchive) {
    EXPECT_EQ(CZipArchive::OpenFile(nullptr), nullptr);
    EXPECT_EQ(CZipArchive::OpenFile(L""), nullptr);
    EXPECT_EQ(CZipArchive::OpenFile((SkinDirectory() + L"missing.zip").c_str()), nullptr);
    EXPECT_EQ(CZipArchive::OpenFile((SkinDirectory() + L"Window.xml").c_str()), nullptr);
    EXPECT_EQ(CZipArchive::OpenFile(SkinDirectory().c_str()), nullptr); // a folder

    EXPECT_EQ(CZipArchive::OpenMemory(nullptr, 100), nullptr);
    const std::vector<unsigned char> image = SkinZip();
    EXPECT_EQ(CZipArchive::OpenMemory(image.data(), 0), nullptr);
    const std::vector<unsigned char> text(5000, 'x');
    GuardedBytes guardedText(text);
    EXPECT_EQ(CZipArchive::OpenMemory(guardedText.data(), guardedText.size()), nullptr);
}

// ---------------------------------------------------------------------------
// Finding entries

TEST(ZipArchive, NamesMatchWithBackslashesAndAsciiCaseFolded) {
    ArchivePtr archive(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(archive, nullptr);
    ZipEntry entry;
    ASSERT_TRUE(archive->FindEntry(L"skins\\DIALOGS\\login.XML", true, entry));
    EXPECT_EQ(entry.index, 1u);
    EXPECT_EQ(entry.uncompressedSize, 108u);
    EXPECT_TRUE(archive->FindEntry(L"Skins\\Dialogs\\Login.xml", false, entry));
    EXPECT_FALSE(archive->FindEntry(L"skins\\dialogs\\login.xml", false, entry));

    // Only whole names match, never prefixes or suffixes, and only ASCII letters fold.
    EXPECT_FALSE(archive->FindEntry(L"Skins/Dialogs", true, entry));
    EXPECT_FALSE(archive->FindEntry(L"Window.xm", true, entry));
    EXPECT_FALSE(archive->FindEntry(L"Window.xml ", true, entry));
    EXPECT_FALSE(archive->FindEntry(L"/Window.xml", true, entry));
    EXPECT_FALSE(archive->FindEntry(L"W\u0130ndow.xml", true, entry)); // dotted capital I
    EXPECT_FALSE(archive->FindEntry(L"", true, entry));
    EXPECT_FALSE(archive->FindEntry(nullptr, true, entry));
}

// Names are converted exactly or not at all: a character the code page lacks never turns
// into a look-alike that finds another entry (a dotted capital I into "I", a full-width
// W into "W"), whatever code page the names are taken in.
TEST(ZipArchive, NamesConvertExactlyOrAreNotFound) {
    ArchivePtr archive(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(archive, nullptr);
    ZipEntry entry;
    for (unsigned int codePage : {1252u, 936u, 65001u, unsigned(CP_ACP)}) {
        archive->SetNameCodePage(codePage);
        EXPECT_TRUE(archive->FindEntry(L"window.XML", true, entry)) << codePage;
        EXPECT_FALSE(archive->FindEntry(L"W\u0130ndow.xml", true, entry)) << codePage;
        EXPECT_FALSE(archive->FindEntry(L"W\u0131ndow.xml", true, entry)) << codePage;
        EXPECT_FALSE(archive->FindEntry(L"\uFF37indow.xml", false, entry)) << codePage;
        EXPECT_FALSE(archive->FindEntry(L"Wind\u00F6w.xml", true, entry)) << codePage;
        EXPECT_FALSE(archive->FindEntry(L"Window.xml\xD800", true, entry)) << codePage;
    }
}

TEST(ZipArchive, NonAsciiNamesMatchInTheArchivesCodePage) {
    // "Stored.xml" renamed "St\xE9red.xml": e with acute accent in code page 1252.
    std::vector<unsigned char> image = StoredZip();
    int renamed = 0;
    for (size_t i = 0; i + 10 <= image.size(); ++i) {
        if (std::memcmp(&image[i], "Stored.xml", 10) == 0) {
            image[i + 2] = 0xE9;
            ++renamed;
        }
    }
    ASSERT_EQ(renamed, 2); // the local header and the directory record
    GuardedBytes memory(image);
    ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
    ASSERT_NE(archive, nullptr);
    archive->SetNameCodePage(1252);
    EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"St\u00E9red.xml"), "stored"));
    ZipEntry entry;
    EXPECT_FALSE(archive->FindEntry(L"Stored.xml", true, entry));
    EXPECT_FALSE(archive->FindEntry(L"St\u00C9red.xml", true, entry)); // only ASCII folds
    // The same bytes are another name in another code page.
    archive->SetNameCodePage(936);
    EXPECT_FALSE(archive->FindEntry(L"St\u00E9red.xml", true, entry));
}

// The suite runs a second time under another locale (tests/CMakeLists.txt); this proves
// that run got the code page it asked for, so its passing means something.
TEST(ZipArchive, RunsUnderTheCodePageItWasGiven) {
    wchar_t asked[16] = L"";
    if (GetEnvironmentVariableW(L"VARNEL_TEST_ACP", asked, 16) == 0) {
        GTEST_SKIP() << "no code page asked for";
    }
    EXPECT_EQ(GetACP(), std::wcstoul(asked, nullptr, 10));
}

TEST(ZipArchive, FirstMatchInDirectoryOrderWins) {
    ArchivePtr archive(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(archive, nullptr);
    EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"dup.xml"), "first duplicate"));
    ZipEntry entry;
    ASSERT_TRUE(archive->FindEntry(L"DUP.XML", false, entry));
    EXPECT_EQ(entry.index, 3u);
    std::string second(entry.uncompressedSize, '\0');
    ASSERT_EQ(archive->Unpack(entry, &second[0], static_cast<unsigned long>(second.size())),
              ZIP_UNPACK_OK);
    EXPECT_TRUE(HasCaption(second, "second duplicate"));
}

TEST(ZipArchive, NamesLongerThan255CharactersAreNeverFound) {
    ArchivePtr archive(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(archive, nullptr);
    const std::wstring folders = std::wstring(100, L'd') + L"\\" + std::wstring(100, L'e') + L"\\";
    const std::wstring name255 = folders + std::wstring(49, L'F') + L".xml";
    const std::wstring name256 = folders + std::wstring(50, L'f') + L".xml";
    ASSERT_EQ(name255.size(), 255u);
    EXPECT_TRUE(HasCaption(UnpackWhole(*archive, name255.c_str()), "long 255"));
    ZipEntry entry;
    EXPECT_FALSE(archive->FindEntry(name256.c_str(), true, entry)); // stored, yet not found
    // Far longer names, also ones that grow when converted to the ANSI code page.
    EXPECT_FALSE(archive->FindEntry(std::wstring(100000, L'x').c_str(), true, entry));
    EXPECT_FALSE(archive->FindEntry(std::wstring(200, L'\u4E2D').c_str(), true, entry));
}

// ---------------------------------------------------------------------------
// Unpacking

TEST(ZipArchive, StoredAndDeflatedEntriesUnpack) {
    // The test data must really hold both methods.
    const std::vector<unsigned char> stored = StoredZip();
    const std::vector<unsigned char> deflated = SkinZip();
    const size_t storedRecord = FindDirectoryRecord(stored, "Folder/Inner.xml");
    const size_t deflatedRecord = FindDirectoryRecord(deflated, "Window.xml");
    ASSERT_NE(storedRecord, std::string::npos);
    ASSERT_NE(deflatedRecord, std::string::npos);
    EXPECT_EQ(stored[storedRecord + kDirectoryMethod], 0);
    EXPECT_EQ(deflated[deflatedRecord + kDirectoryMethod], 8);

    GuardedBytes memory(stored);
    ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
    ASSERT_NE(archive, nullptr);
    EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"stored.xml"), "stored"));
    EXPECT_TRUE(HasCaption(UnpackWhole(*archive, L"folder\\inner.xml"), "stored nested"));
}

TEST(ZipArchive, UnpackIntoShortExactAndLongerBuffers) {
    ArchivePtr archive(CZipArchive::OpenFile((SkinDirectory() + L"skin.zip").c_str()));
    ASSERT_NE(archive, nullptr);
    const std::string whole = UnpackWhole(*archive, L"Window.xml");
    ASSERT_FALSE(whole.empty());
    ZipEntry entry;
    ASSERT_TRUE(archive->FindEntry(L"Window.xml", true, entry));

    GuardedBytes shortBuffer(10);
    EXPECT_EQ(archive->Unpack(entry, shortBuffer.data(), 10), ZIP_UNPACK_MORE_DATA);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(shortBuffer.data()), 10), whole.substr(0, 10));

    std::vector<unsigned char> longer(whole.size() + 50, 0xCC);
    EXPECT_EQ(archive->Unpack(entry, longer.data(), static_cast<unsigned long>(longer.size())),
              ZIP_UNPACK_OK);
    EXPECT_EQ(std::string(longer.begin(), longer.begin() + whole.size()), whole);
    EXPECT_EQ(longer[whole.size()], 0xCC);

    // An empty entry unpacks into nothing.
    ASSERT_TRUE(archive->FindEntry(L"EMPTY.xml", true, entry));
    EXPECT_EQ(entry.uncompressedSize, 0u);
    EXPECT_EQ(archive->Unpack(entry, nullptr, 0), ZIP_UNPACK_OK);
    // The archive stays usable between entries.
    EXPECT_EQ(UnpackWhole(*archive, L"Window.xml"), whole);
}

// ---------------------------------------------------------------------------
// Damaged archives: clean failures, nothing read or written past a buffer

TEST(ZipArchive, EveryTruncationOfAnArchiveIsRefused) {
    const std::vector<unsigned char> image = StoredZip();
    ASSERT_FALSE(image.empty());
    for (size_t length = 1; length < image.size(); ++length) {
        GuardedBytes memory(std::vector<unsigned char>(image.begin(), image.begin() + length));
        ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
        EXPECT_EQ(archive, nullptr) << "length " << length;
    }
    // A truncated deflated archive whose directory survives (the data is cut away) opens,
    // but its entries fail to unpack.
    std::vector<unsigned char> cut = SkinZip();
    const size_t record = FindDirectoryRecord(cut, "Window.xml");
    ASSERT_NE(record, std::string::npos);
    const size_t data = EntryDataOffset(cut, record);
    for (size_t i = data; i < data + 20; ++i)
        cut[i] = 0;
    GuardedBytes memory(cut);
    ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
    ASSERT_NE(archive, nullptr);
    int result = ZIP_UNPACK_OK;
    UnpackWhole(*archive, L"Window.xml", &result);
    EXPECT_EQ(result, ZIP_UNPACK_FAILED);
}

TEST(ZipArchive, CorruptingAnyByteNeverYieldsWrongContent) {
    const std::vector<unsigned char> image = StoredZip();
    GuardedBytes original(image);
    ArchivePtr intact(CZipArchive::OpenMemory(original.data(), original.size()));
    ASSERT_NE(intact, nullptr);
    const std::string stored = UnpackWhole(*intact, L"Stored.xml");
    const std::string inner = UnpackWhole(*intact, L"Folder/Inner.xml");

    for (size_t offset = 0; offset < image.size(); ++offset) {
        std::vector<unsigned char> corrupt = image;
        corrupt[offset] ^= 0xA5;
        GuardedBytes memory(corrupt);
        ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
        if (archive == nullptr) continue;
        for (const auto& expected :
             {std::make_pair(L"Stored.xml", stored), std::make_pair(L"Folder/Inner.xml", inner)}) {
            ZipEntry entry;
            if (!archive->FindEntry(expected.first, true, entry)) continue;
            if (entry.uncompressedSize > 1024 * 1024) continue; // a reader would refuse it
            int result = ZIP_UNPACK_FAILED;
            const std::string content = UnpackWhole(*archive, expected.first, &result);
            if (result == ZIP_UNPACK_OK) {
                EXPECT_EQ(content, expected.second) << "offset " << offset;
            }
        }
    }
}

TEST(ZipArchive, EntriesWithLyingSizesFailWithoutOverflow) {
    struct Case {
        const wchar_t* archive;
        const char* entry;
        int sizeChange;
        bool patchCompressedToo; // stored entries: both sizes state the data length
    };
    const Case cases[] = {
        {L"skin.zip", "Window.xml", -10, false},  {L"skin.zip", "Window.xml", +10, false},
        {L"skin.zip", "Window.xml", -93, false},  {L"stored.zip", "Stored.xml", -10, true},
        {L"stored.zip", "Stored.xml", +10, true}, {L"stored.zip", "Stored.xml", +5000, true},
    };
    for (const Case& test : cases) {
        std::vector<unsigned char> image = ReadBytes(SkinDirectory() + test.archive);
        const size_t record = FindDirectoryRecord(image, test.entry);
        ASSERT_NE(record, std::string::npos);
        const std::uint32_t size = ReadLong(image, record + kDirectoryUncompressedSize);
        WriteLong(image, record + kDirectoryUncompressedSize, size + test.sizeChange);
        if (test.patchCompressedToo) {
            WriteLong(image, record + kDirectoryCompressedSize, size + test.sizeChange);
        }
        GuardedBytes memory(image);
        ArchivePtr archive(CZipArchive::OpenMemory(memory.data(), memory.size()));
        ASSERT_NE(archive, nullptr);
        const std::wstring name(test.entry, test.entry + std::strlen(test.entry));
        int result = ZIP_UNPACK_OK;
        UnpackWhole(*archive, name.c_str(), &result); // guarded buffer of the stated size
        EXPECT_EQ(result, ZIP_UNPACK_FAILED) << test.entry << " " << test.sizeChange;
    }
}
