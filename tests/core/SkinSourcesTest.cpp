// The process-wide skin sources: module state, the resource path and archive selection,
// reading skin files through them, and control plug-ins.

#include "core/Markup.h"
#include "core/SkinFile.h"
#include "core/ZipArchive.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SkinSourcesTestData.h"

using SkinUI::CMarkup;
using SkinUI::CPaintManagerUI;
using SkinUI::CSkinFileBytes;
using SkinUI::ReadSkinFile;
using namespace SkinSourcesTest;

namespace {

std::wstring LastError(const CMarkup& markup) {
    wchar_t buffer[100];
    markup.GetLastErrorMessage(buffer, 100);
    return buffer;
}

// The root's caption, which names where the test data came from; "" when not loaded.
std::wstring Caption(CMarkup& markup) {
    if (!markup.GetRoot().IsValid()) return std::wstring();
    return markup.GetRoot().GetAttributeValue(L"caption");
}

// Every test starts and ends with the defaults: no instance, no resource module, plain
// files from an empty skin path, and the current directory it found.
class SkinSources : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedDirectory = CPaintManagerUI::GetCurrentPath();
        Reset();
    }
    void TearDown() override {
        Reset();
        CPaintManagerUI::SetCurrentPath(m_savedDirectory.c_str());
    }
    static void Reset() {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetResourceDll(nullptr);
        CPaintManagerUI::SetInstance(nullptr);
    }

    std::wstring m_savedDirectory;
};

} // namespace

// ---------------------------------------------------------------------------
// Module state

TEST_F(SkinSources, ResourceModuleFallsBackToTheInstance) {
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), nullptr);
    HINSTANCE exe = GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(exe);
    EXPECT_EQ(CPaintManagerUI::GetInstance(), exe);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), exe);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    CPaintManagerUI::SetResourceDll(kernel);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), kernel);
    EXPECT_EQ(CPaintManagerUI::GetInstance(), exe);
    CPaintManagerUI::SetResourceDll(nullptr);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), exe);
}

TEST_F(SkinSources, InstancePathIsTheModuleFolderWithItsBackslash) {
    EXPECT_STREQ(CPaintManagerUI::GetInstancePath(), L"");
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_EQ(std::wstring(CPaintManagerUI::GetInstancePath()), TestDirectory());
}

TEST_F(SkinSources, InstancePathOfAModuleDeeperThanMaxPath) {
    // A copy of the plug-in module in a folder whose path alone exceeds MAX_PATH.
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring folder = std::wstring(L"\\\\?\\") + temp + L"skin_instance_path";
    std::vector<std::wstring> created;
    for (int level = 0; created.empty() || folder.size() < 2 * MAX_PATH; ++level) {
        if (level > 0) folder += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        }
        created.push_back(folder);
    }
    const std::wstring module = folder + L"\\deep_plugin.dll";
    ASSERT_TRUE(
        CopyFileW((TestDirectory() + L"skin_test_plugin.dll").c_str(), module.c_str(), FALSE));
    HMODULE deep = LoadLibraryW(module.c_str());
    ASSERT_NE(deep, nullptr);

    CPaintManagerUI::SetInstance(deep);
    const std::wstring path = CPaintManagerUI::GetInstancePath().GetData();
    const std::wstring lastFolder = folder.substr(folder.rfind(L'\\'));
    EXPECT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_GE(path.size(), lastFolder.size() + 1);
    EXPECT_EQ(path.substr(path.size() - lastFolder.size() - 1), lastFolder + L"\\");

    CPaintManagerUI::SetInstance(nullptr);
    FreeLibrary(deep);
    DeleteFileW(module.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        RemoveDirectoryW(it->c_str());
}

TEST_F(SkinSources, CurrentPathFollowsSetCurrentPath) {
    const std::wstring skin = SkinDirectory();
    CPaintManagerUI::SetCurrentPath(skin.c_str());
    EXPECT_EQ(std::wstring(CPaintManagerUI::GetCurrentPath()) + L"\\", skin);
    CPaintManagerUI::SetCurrentPath(nullptr); // ignored
    EXPECT_EQ(std::wstring(CPaintManagerUI::GetCurrentPath()) + L"\\", skin);
}

TEST_F(SkinSources, ResourcePathGainsABackslashOnlyWhenItLacksASeparator) {
    CPaintManagerUI::SetResourcePath(L"C:\\app\\skin");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"C:\\app\\skin\\");
    CPaintManagerUI::SetResourcePath(L"C:\\app\\skin\\");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"C:\\app\\skin\\");
    CPaintManagerUI::SetResourcePath(L"skin/");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"skin/");
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"");
    CPaintManagerUI::SetResourcePath(nullptr);
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"");
}

// ---------------------------------------------------------------------------
// Plain skin files

TEST_F(SkinSources, PlainFilesLoadFromTheSkinFolder) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(Caption(markup), L"plain");
    ASSERT_TRUE(markup.LoadFromFile(L"Sub\\Dir\\Nested.xml"));
    EXPECT_EQ(Caption(markup), L"plain nested");
    ASSERT_TRUE(markup.LoadFromFile(L"Sub/Dir/Nested.xml"));

    EXPECT_FALSE(markup.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(LastError(markup), L"Error opening file");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_FILE_NOT_FOUND);
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.LoadFromFile(nullptr));
    EXPECT_EQ(LastError(markup), L"Error opening file");
    EXPECT_FALSE(markup.LoadFromFile(MAKEINTRESOURCEW(101))); // ids are no file names
    EXPECT_EQ(LastError(markup), L"Error opening file");
    EXPECT_FALSE(markup.LoadFromFile(L"Sub")); // a folder
    EXPECT_EQ(LastError(markup), L"Error opening file");
}

TEST_F(SkinSources, PlainFileSizeLimits) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromFile(L"empty.xml"));
    EXPECT_EQ(LastError(markup), L"File is empty");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_FILE_EMPTY);
    EXPECT_TRUE(markup.LoadFromFile(L"exact.xml"));
    EXPECT_STREQ(markup.GetRoot().GetName(), L"Window");
    EXPECT_FALSE(markup.LoadFromFile(L"over.xml"));
    EXPECT_EQ(LastError(markup), L"File too large");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_FILE_TOO_LARGE);
    EXPECT_FALSE(markup.IsValid());
}

TEST_F(SkinSources, FileShorterThanItsSizeIsReported) {
    // Under Wine the host's files show through drive Z:, and a kernel attribute file
    // states a size of a whole page while reading gives a few bytes.
    const wchar_t* folder = L"Z:\\sys\\devices\\system\\cpu\\";
    const std::wstring path = std::wstring(folder) + L"online";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no host file that reads short";
    }
    CPaintManagerUI::SetResourcePath(folder);
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromFile(L"online"));
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_FILE_READ_FAILED);
    EXPECT_EQ(LastError(markup), L"Could not read file");
}

TEST_F(SkinSources, EmptyResourcePathResolvesAgainstTheCurrentDirectory) {
    CPaintManagerUI::SetCurrentPath(SkinDirectory().c_str());
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(Caption(markup), L"plain");
    ASSERT_TRUE(markup.LoadFromFile(L"Sub\\Dir\\Nested.xml"));
}

// ---------------------------------------------------------------------------
// Zip archive files

TEST_F(SkinSources, UncachedArchiveIsOpenedPerReadAndClosedAfterwards) {
    const std::wstring archivePath = SkinDirectory() + L"skin.zip";
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"skin.zip");
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);

    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(Caption(markup), L"zip");
    EXPECT_TRUE(IsFileClosedByOthers(archivePath));
    ASSERT_TRUE(markup.LoadFromFile(L"skins\\DIALOGS\\login.XML"));
    EXPECT_EQ(Caption(markup), L"zip nested");
    EXPECT_FALSE(markup.LoadFromFile(L"Sub\\Dir\\Nested.xml")); // plain files are not consulted
    EXPECT_EQ(LastError(markup), L"Could not find ziped file");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_ZIP_ENTRY_NOT_FOUND);
    EXPECT_TRUE(IsFileClosedByOthers(archivePath));
}

TEST_F(SkinSources, ArchiveEntryNamesAndSizeLimits) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    for (bool cached : {false, true}) {
        CPaintManagerUI::SetResourceZip(L"skin.zip", cached);
        CMarkup markup;
        const std::wstring folders =
            std::wstring(100, L'd') + L"\\" + std::wstring(100, L'e') + L"\\";
        EXPECT_TRUE(markup.LoadFromFile((folders + std::wstring(49, L'f') + L".xml").c_str()));
        EXPECT_EQ(Caption(markup), L"long 255");
        EXPECT_FALSE(markup.LoadFromFile((folders + std::wstring(50, L'f') + L".xml").c_str()));
        EXPECT_EQ(LastError(markup), L"Could not find ziped file");
        EXPECT_FALSE(markup.LoadFromFile(std::wstring(5000, L'x').c_str()));
        EXPECT_EQ(LastError(markup), L"Could not find ziped file");
        EXPECT_FALSE(markup.LoadFromFile(L"empty.xml"));
        EXPECT_EQ(LastError(markup), L"File is empty");
        EXPECT_TRUE(markup.LoadFromFile(L"exact.xml"));
        EXPECT_FALSE(markup.LoadFromFile(L"over.xml"));
        EXPECT_EQ(LastError(markup), L"File too large");
        EXPECT_FALSE(markup.IsValid());
    }
}

TEST_F(SkinSources, MissingArchiveFailsEveryRead) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CMarkup markup;
    CPaintManagerUI::SetResourceZip(L"missing.zip", false);
    EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(LastError(markup), L"Error opening zip file");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_ZIP_OPEN_FAILED);
    CPaintManagerUI::SetResourceZip(L"missing.zip", true);
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(LastError(markup), L"Error opening zip file");
    // Not an archive at all.
    CPaintManagerUI::SetResourceZip(L"Window.xml", false);
    EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(LastError(markup), L"Error opening zip file");
}

TEST_F(SkinSources, CachedArchiveIsOpenedOnceAndClosedWhenReplaced) {
    const std::wstring archivePath = SkinDirectory() + L"skin.zip";
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    void* handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(IsFileClosedByOthers(archivePath)); // held open
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), handle);

    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(Caption(markup), L"zip");
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), handle); // reads never close it

    // Switching to the same archive uncached closes the cached one.
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_TRUE(IsFileClosedByOthers(archivePath));

    // Another cached archive replaces the first.
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    CPaintManagerUI::SetResourceZip(L"stored.zip", true);
    EXPECT_TRUE(IsFileClosedByOthers(archivePath));
    ASSERT_TRUE(markup.LoadFromFile(L"STORED.xml"));
    EXPECT_EQ(Caption(markup), L"stored");
}

TEST_F(SkinSources, DamagedArchivesFailWithClearMessages) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::vector<unsigned char> image = ReadBytes(SkinDirectory() + L"skin.zip");
    ASSERT_FALSE(image.empty());
    // Deflated data damaged: the entry is found but cannot be unpacked.
    std::vector<unsigned char> damaged = image;
    const size_t record = FindDirectoryRecord(damaged, "Window.xml");
    ASSERT_NE(record, std::string::npos);
    const size_t data = EntryDataOffset(damaged, record);
    for (size_t i = data + 20; i < data + 40; ++i)
        damaged[i] ^= 0x3C;

    const std::wstring damagedPath = std::wstring(temp) + L"skin_damaged.zip";
    CPaintManagerUI::SetResourcePath(temp);
    CMarkup markup;
    for (bool cached : {false, true}) {
        // Cut anywhere from inside the end record to half the archive.
        for (size_t cut : {size_t(3), size_t(30), image.size() / 2}) {
            CPaintManagerUI::SetResourceZip(L"", false); // releases the file
            ASSERT_TRUE(WriteBytes(damagedPath,
                                   std::vector<unsigned char>(image.begin(), image.end() - cut)));
            CPaintManagerUI::SetResourceZip(L"skin_damaged.zip", cached);
            EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
            EXPECT_EQ(LastError(markup), L"Error opening zip file") << cut;
        }
        CPaintManagerUI::SetResourceZip(L"", false);
        ASSERT_TRUE(WriteBytes(damagedPath, damaged));
        CPaintManagerUI::SetResourceZip(L"skin_damaged.zip", cached);
        EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
        EXPECT_EQ(LastError(markup), L"Could not unzip file");
        EXPECT_TRUE(markup.LoadFromFile(L"Skins/Dialogs/Login.xml"));
    }
    CPaintManagerUI::SetResourceZip(L"", false);
    DeleteFileW(damagedPath.c_str());

    GuardedBytes memory(damaged);
    CPaintManagerUI::SetResourceZip(memory.data(), static_cast<unsigned int>(memory.size()));
    EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(LastError(markup), L"Could not unzip file");
    EXPECT_EQ(markup.GetLastStatus(), SkinUI::MARKUP_UNZIP_FAILED);
    EXPECT_TRUE(markup.LoadFromFile(L"Skins/Dialogs/Login.xml"));
}

// ---------------------------------------------------------------------------
// Archives in memory

TEST_F(SkinSources, FirstMemoryArchiveStaysInForce) {
    GuardedBytes first(ReadBytes(SkinDirectory() + L"skin.zip"));
    GuardedBytes second(ReadBytes(SkinDirectory() + L"stored.zip"));
    CPaintManagerUI::SetResourceZip(first.data(), static_cast<unsigned int>(first.size()));
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    void* handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(handle, nullptr);

    CPaintManagerUI::SetResourceZip(second.data(), static_cast<unsigned int>(second.size()));
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), handle);
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"window.XML"));
    EXPECT_EQ(Caption(markup), L"zip");
    EXPECT_FALSE(markup.LoadFromFile(L"Stored.xml"));
    EXPECT_EQ(LastError(markup), L"Could not find ziped file");

    // Selecting a file archive ends the memory archive.
    CPaintManagerUI::SetResourceZip(L"", false);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
}

TEST_F(SkinSources, MemoryArchiveThatIsNoArchive) {
    GuardedBytes text(std::vector<unsigned char>(100, ' '));
    CPaintManagerUI::SetResourceZip(text.data(), static_cast<unsigned int>(text.size()));
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromFile(L"Window.xml"));
    EXPECT_EQ(LastError(markup), L"Error opening zip file");
}

// ---------------------------------------------------------------------------
// Executable resources

TEST_F(SkinSources, ResourcesComeFromTheResourceModule) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    // The resource step goes first, whatever archive is selected.
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    CSkinFileBytes bytes;
    const wchar_t* names[] = {MAKEINTRESOURCEW(101), L"window"};
    for (const wchar_t* name : names) {
        ASSERT_EQ(ReadSkinFile(name, L"xml", SkinUI::kSkinFileNoSizeLimit, bytes),
                  SkinUI::SKINFILE_OK);
        CMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(bytes.GetData(), bytes.GetSize(), 0));
        EXPECT_EQ(Caption(markup), L"resource");
    }
    EXPECT_EQ(ReadSkinFile(MAKEINTRESOURCEW(101), L"xml", 10, bytes), SkinUI::SKINFILE_TOO_LARGE);
    EXPECT_EQ(bytes.GetData(), nullptr);
    EXPECT_EQ(ReadSkinFile(MAKEINTRESOURCEW(999), L"xml", SkinUI::kSkinFileNoSizeLimit, bytes),
              SkinUI::SKINFILE_RESOURCE_NOT_FOUND);
    // An id without a type is no file name or entry name.
    EXPECT_EQ(ReadSkinFile(MAKEINTRESOURCEW(101), nullptr, SkinUI::kSkinFileNoSizeLimit, bytes),
              SkinUI::SKINFILE_RESOURCE_NOT_FOUND);

    // Another resource module hides the instance's resources.
    CPaintManagerUI::SetResourceDll(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(ReadSkinFile(MAKEINTRESOURCEW(101), L"xml", SkinUI::kSkinFileNoSizeLimit, bytes),
              SkinUI::SKINFILE_RESOURCE_NOT_FOUND);
}

TEST_F(SkinSources, ZipResourceServesAsMemoryArchive) {
    // What a window of the zip-resource kind does: copy the "ZIPRES" resource once and
    // read its skin files from that copy.
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CSkinFileBytes archive;
    ASSERT_EQ(ReadSkinFile(MAKEINTRESOURCEW(102), L"ZIPRES", SkinUI::kSkinFileNoSizeLimit, archive),
              SkinUI::SKINFILE_OK);
    CPaintManagerUI::SetResourceZip(archive.GetData(), archive.GetSize());
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Skins\\Dialogs\\Login.xml"));
    EXPECT_EQ(Caption(markup), L"zip nested");

    // The other readers use the same archive through the lookup rule.
    CSkinFileBytes bytes;
    EXPECT_EQ(ReadSkinFile(L"WINDOW.xml", nullptr, SkinUI::kSkinFileNoSizeLimit, bytes),
              SkinUI::SKINFILE_OK);
    EXPECT_EQ(ReadSkinFile(L"over.xml", nullptr, SkinUI::kSkinFileNoSizeLimit, bytes),
              SkinUI::SKINFILE_OK);
    EXPECT_EQ(bytes.GetSize(), 4194305u);
    CPaintManagerUI::SetResourceZip(L"", false); // before the copy goes
}

// ---------------------------------------------------------------------------
// Control plug-ins

TEST(ControlPlugins, FactoryIsRegisteredOnceAndModulesWithoutItFail) {
    const std::wstring plugin = TestDirectory() + L"skin_test_plugin.dll";
    const std::wstring noFactory = TestDirectory() + L"skin_test_plugin_without_factory.dll";
    const int before = CPaintManagerUI::GetPlugins()->GetSize();

    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin((TestDirectory() + L"missing_plugin.dll").c_str()));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(noFactory.c_str()));
    EXPECT_NE(GetModuleHandleW(noFactory.c_str()), nullptr); // stays loaded
    EXPECT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), before);

    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(plugin.c_str()));
    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(plugin.c_str()));
    ASSERT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), before + 1);
    const auto factory =
        reinterpret_cast<SkinUI::LPCREATECONTROL>(CPaintManagerUI::GetPlugins()->GetAt(before));
    EXPECT_EQ(
        CPaintManagerUI::GetPlugins()->GetAt(before),
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(plugin.c_str()), "CreateControl")));
    EXPECT_EQ(factory(L"Unknown"), nullptr);
}
