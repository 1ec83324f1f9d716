// The paint manager's image cache: names and resource ids, duplicates, bitmaps handed in,
// alpha in per-pixel alpha windows, lazy loading, the parent resource and reloading.

#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "RenderTestSupport.h"

using SkinUI::CPaintManagerUI;
using SkinUI::TImageInfo;
using namespace RenderTest;

namespace {

constexpr DWORD kSkinFolderColor = 0xFF102030; // skin/source.png
constexpr DWORD kResourceColor = 0xFF708090;   // resource 301, skin/resource.png

DWORD FirstPixel(const TImageInfo* image) {
    return image != nullptr ? ReadPixels(image->bitmap).at(0) : 0;
}

class ImageCache : public ::testing::Test {
protected:
    void SetUp() override {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
        CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    }
    void TearDown() override {
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetInstance(nullptr);
    }
    CPaintManagerUI manager;
};

} // namespace

TEST_F(ImageCache, NamesResourceIdsAndBitmapsAreCachedOnce) {
    TImageInfo* fromFile = manager.AddImage(L"source.png");
    EXPECT_EQ(FirstPixel(fromFile), kSkinFolderColor);
    EXPECT_EQ(manager.AddImage(L"source.png"), nullptr) << "a name is cached once";
    EXPECT_EQ(manager.GetImage(L"source.png"), fromFile);
    TImageInfo* fromResource = manager.AddImage(L"301", L"PNG", 0xFF00FF00);
    EXPECT_EQ(FirstPixel(fromResource), kResourceColor);
    EXPECT_EQ(fromResource->mask, 0xFF00FF00u);
    EXPECT_EQ(manager.AddImage(L"resource.png", L"PNG"), nullptr) << "a type needs an id";

    Bitmap kept(2, 2, Solid(2, 2, 0xFF010203));
    EXPECT_EQ(manager.AddImage(L"logo", kept.get(), 0, 2, false), nullptr)
        << "refused; the bitmap stays the caller's";
    TImageInfo* logo = manager.AddImage(L"logo", CreateBitmap(2, 2, 1, 32, nullptr), 2, 2, true);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(manager.AddImage(L"logo", CreateBitmap(1, 1, 1, 32, nullptr), 1, 1, false), nullptr);
    EXPECT_EQ(manager.GetImage(L"logo"), logo) << "the first stays";
    EXPECT_TRUE(manager.RemoveImage(L"source.png"));
    EXPECT_FALSE(manager.RemoveImage(L"source.png"));
}

TEST_F(ImageCache, LoadsLazilyBorrowsAndBlendsInLayeredWindows) {
    EXPECT_EQ(manager.GetImage(L"opaque.png"), nullptr);
    TImageInfo* loaded = manager.GetImageEx(L"opaque.png");
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->alphaChannel);
    EXPECT_EQ(manager.GetImageEx(L"opaque.png"), loaded);
    EXPECT_EQ(manager.GetImageEx(L"missing.png"), nullptr);

    CPaintManagerUI layered;
    ASSERT_TRUE(layered.UseParentResource(&manager));
    EXPECT_EQ(layered.GetImage(L"opaque.png"), loaded);
    layered.SetBackgroundTransparent(true);
    TImageInfo* own = layered.GetImageEx(L"opaque.png");
    EXPECT_NE(own, loaded) << "drawing loads into the own cache";
    EXPECT_TRUE(own->alphaChannel) << "every image of a per-pixel alpha window is blended";
}

TEST_F(ImageCache, ReloadKeepsTheRecordsAndTakesNewPixels) {
    const std::wstring folder = TestDirectory() + L"image_cache_reload\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring swapped = folder + L"swap.png";
    ASSERT_TRUE(CopyFileW((SkinDirectory() + L"source.png").c_str(), swapped.c_str(), FALSE));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    manager.Init(nullptr); // joins the managers that ReloadSkin reaches
    TImageInfo* image = manager.AddImage(L"swap.png");
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(CopyFileW((SkinDirectory() + L"resource.png").c_str(), swapped.c_str(), FALSE));
    CPaintManagerUI::ReloadSkin();
    EXPECT_EQ(manager.GetImage(L"swap.png"), image);
    EXPECT_EQ(FirstPixel(image), kResourceColor);
    DeleteFileW(swapped.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ImageCache, TermClosesTheCachedArchiveSoItCanBeOpenedAgain) {
    CPaintManagerUI::SetResourceZip(L"images.zip", true);
    ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CPaintManagerUI::Term();
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CPaintManagerUI::SetResourceZip(L"images.zip", true);
    EXPECT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CPaintManagerUI::Term();
}
