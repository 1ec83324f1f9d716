// The resources the build puts into microclient.exe: the skin archive, the tray menu,
// the icon group and the version record, read back from the built executable.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ExeTailRecord.h"
#include "core/Markup.h"
#include "core/ZipArchive.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;
using SkinUI::CZipArchive;
using SkinUI::ZipEntry;

namespace {

// The build puts the client at app/microclient.exe beside the tests folder.
std::filesystem::path ClientPath() {
    return std::filesystem::path(GetModulePath().GetData()).parent_path().parent_path() / L"app" /
           L"microclient.exe";
}

// Resource bytes of a module loaded as data; empty when the resource is missing.
std::vector<std::uint8_t> ResourceBytes(HMODULE module, const wchar_t* id, const wchar_t* type) {
    HRSRC found = FindResourceW(module, id, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data) {
        return {};
    }
    return std::vector<std::uint8_t>(data, data + SizeofResource(module, found));
}

// Entry count from the zip's end-of-central-directory record (no comment expected).
int ZipEntryCount(const std::vector<std::uint8_t>& zip) {
    const std::size_t recordSize = 22;
    if (zip.size() < recordSize) {
        return -1;
    }
    const std::uint8_t* record = zip.data() + zip.size() - recordSize;
    if (std::memcmp(record, "PK\x05\x06", 4) != 0) {
        return -1;
    }
    return record[10] | (record[11] << 8);
}

// Every "file='...'" image name in the attribute values of node and its descendants.
void CollectImageNames(CMarkupNode node, std::set<std::wstring>& names) {
    for (; node.IsValid(); node = node.GetSibling()) {
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            const std::wstring value = node.GetAttributeValue(i);
            for (std::size_t at = value.find(L"file='"); at != std::wstring::npos;
                 at = value.find(L"file='", at + 1)) {
                const std::size_t start = at + 6;
                names.insert(value.substr(start, value.find(L'\'', start) - start));
            }
        }
        CollectImageNames(node.GetChild(), names);
    }
}

std::vector<std::wstring> ChildNames(CMarkupNode node) {
    std::vector<std::wstring> names;
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        names.push_back(child.GetName());
    }
    return names;
}

class ClientResourcesTest : public testing::Test {
protected:
    void SetUp() override {
        m_client = LoadLibraryExW(ClientPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_client, nullptr);
    }
    void TearDown() override {
        if (m_client) {
            FreeLibrary(m_client);
        }
    }

    HMODULE m_client = nullptr;
};

TEST_F(ClientResourcesTest, SkinArchiveHoldsTheSkinFilesAndEveryImageTheyName) {
    const std::vector<std::uint8_t> zip = ResourceBytes(m_client, MAKEINTRESOURCEW(101), L"ZIPRES");
    ASSERT_FALSE(zip.empty());
    CZipArchive* archive = CZipArchive::OpenMemory(zip.data(), zip.size());
    ASSERT_NE(archive, nullptr);

    const wchar_t* const images[] = {
        L"loginBg.png", L"minimize_n.png", L"minimize_h.png", L"minimize_p.png", L"close_n.png",
        L"close_h.png", L"close_p.png",    L"PlayGameBg.png", L"kefubtn.png",    L"refreshbtn.png",
        L"minibtn.png", L"maxbtn.png",     L"closebtn.png"};
    struct Skin {
        const wchar_t* name;
        std::vector<std::wstring> rootChildren;
    };
    const Skin skins[] = {{L"login.xml", {L"Font", L"Container"}},
                          {L"loginWebWnd.xml", {L"VerticalLayout"}},
                          {L"playGameWindow.xml", {L"Font", L"Container"}}};
    EXPECT_EQ(ZipEntryCount(zip), static_cast<int>(std::size(images) + std::size(skins)));

    const std::uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const wchar_t* image : images) {
        ZipEntry entry{};
        ASSERT_TRUE(archive->FindEntry(image, false, entry)) << image;
        std::vector<std::uint8_t> bytes(entry.uncompressedSize);
        ASSERT_EQ(archive->Unpack(entry, bytes.data(), static_cast<unsigned long>(bytes.size())),
                  SkinUI::ZIP_UNPACK_OK)
            << image;
        EXPECT_TRUE(bytes.size() > 8 && std::memcmp(bytes.data(), pngSignature, 8) == 0) << image;
    }

    std::set<std::wstring> named;
    for (const Skin& skin : skins) {
        ZipEntry entry{};
        ASSERT_TRUE(archive->FindEntry(skin.name, false, entry)) << skin.name;
        std::vector<std::uint8_t> bytes(entry.uncompressedSize);
        ASSERT_EQ(archive->Unpack(entry, bytes.data(), static_cast<unsigned long>(bytes.size())),
                  SkinUI::ZIP_UNPACK_OK);
        CMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(bytes.data(), static_cast<unsigned long>(bytes.size()),
                                       SkinUI::MARKUP_ENCODING_UTF8))
            << skin.name;
        EXPECT_STREQ(markup.GetRoot().GetName(), L"Window") << skin.name;
        EXPECT_EQ(ChildNames(markup.GetRoot()), skin.rootChildren) << skin.name;
        CollectImageNames(markup.GetRoot(), named);
    }
    // The skins use every image in the archive, and the archive holds every image they use.
    EXPECT_EQ(named, std::set<std::wstring>(std::begin(images), std::end(images)));
    delete archive;
}

TEST_F(ClientResourcesTest, CarriesTrayMenuIconGroupAndVersion) {
    HMENU menu = LoadMenuW(m_client, MAKEINTRESOURCEW(105));
    ASSERT_NE(menu, nullptr);
    HMENU tray = GetSubMenu(menu, 0);
    ASSERT_NE(tray, nullptr);
    ASSERT_EQ(GetMenuItemCount(tray), 2);
    EXPECT_EQ(GetMenuItemID(tray, 0), 40006u);
    EXPECT_EQ(GetMenuItemID(tray, 1), 40007u);
    wchar_t text[64] = {};
    GetMenuStringW(tray, 40006, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"显示游戏界面");
    GetMenuStringW(tray, 40007, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"退出游戏");
    DestroyMenu(menu);

    // Icon group: one entry per size (a width byte of 0 means 256), each a usable icon.
    std::vector<std::uint8_t> group = ResourceBytes(m_client, MAKEINTRESOURCEW(103), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    const int count = group[4] | (group[5] << 8);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* item = group.data() + 6 + 14 * i;
        sizes.insert(item[0] == 0 ? 256 : item[0]);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
    const int smallId = LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, LR_DEFAULTCOLOR);
    std::vector<std::uint8_t> small = ResourceBytes(m_client, MAKEINTRESOURCEW(smallId), RT_ICON);
    ASSERT_FALSE(small.empty());
    HICON icon = CreateIconFromResourceEx(small.data(), static_cast<DWORD>(small.size()), TRUE,
                                          0x00030000, 16, 16, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);

    // Version record, read as Explorer does.
    const std::wstring path = ClientPath().wstring();
    std::vector<std::uint8_t> version(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    const wchar_t* const strings[][2] = {{L"CompanyName", L"Varnel"},
                                         {L"ProductName", L"Varnel"},
                                         {L"FileDescription", L"Varnel micro-client"},
                                         {L"FileVersion", L"1.0.0.0"}};
    for (const auto& pair : strings) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + pair[0];
        wchar_t* value = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
            << pair[0];
        EXPECT_STREQ(value, pair[1]);
    }
}

} // namespace
