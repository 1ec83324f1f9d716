// The paint manager's image cache: names and resource ids, duplicates, bitmaps handed in,
// alpha in per-pixel alpha windows, lazy loading, the parent resource, reloading, and image
// strings drawn through the cache.

#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "RenderTestSupport.h"

using SkinUI::CPaintManagerUI;
using SkinUI::CRenderEngine;
using SkinUI::TImageInfo;
using namespace RenderTest;

namespace {

constexpr DWORD kSkinFolderColor = 0xFF102030;
constexpr DWORD kResourceColor = 0xFF708090;

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
    static DWORD FirstPixel(const TImageInfo* image) {
        return image != nullptr ? ReadPixels(image->bitmap).at(0) : 0;
    }

    CPaintManagerUI manager;
};

} // namespace

TEST_F(ImageCache, LoadsNamesAndNumericResourcesOnce) {
    TImageInfo* fromFile = manager.AddImage(L"source.png");
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(FirstPixel(fromFile), kSkinFolderColor);
    EXPECT_EQ(manager.AddImage(L"source.png"), nullptr) << "a name is cached once";
    EXPECT_EQ(manager.GetImage(L"source.png"), fromFile);

    TImageInfo* fromResource = manager.AddImage(L"301", L"PNG", 0xFF00FF00);
    ASSERT_NE(fromResource, nullptr);
    EXPECT_EQ(FirstPixel(fromResource), kResourceColor);
    EXPECT_EQ(fromResource->resourceType, L"PNG");
    EXPECT_EQ(fromResource->mask, 0xFF00FF00u);
    EXPECT_EQ(manager.AddImage(L"resource.png", L"PNG"), nullptr) << "a type needs an id";
    EXPECT_EQ(manager.AddImage(L"missing.png"), nullptr);

    EXPECT_TRUE(manager.RemoveImage(L"source.png"));
    EXPECT_FALSE(manager.RemoveImage(L"source.png"));
    EXPECT_EQ(manager.GetImage(L"source.png"), nullptr);
    manager.RemoveAllImages();
    EXPECT_EQ(manager.GetImage(L"301"), nullptr);
}

TEST_F(ImageCache, TakesBitmapsHandedIn) {
    Bitmap kept(2, 2, Solid(2, 2, 0xFF010203));
    EXPECT_EQ(manager.AddImage(L"bad", nullptr, 2, 2, false), nullptr);
    EXPECT_EQ(manager.AddImage(L"bad", kept.get(), 0, 2, false), nullptr)
        << "refused; the bitmap stays the caller's";
    HBITMAP owned = CreateBitmap(2, 2, 1, 32, nullptr);
    TImageInfo* image = manager.AddImage(L"logo", owned, 2, 2, true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bitmap, owned);
    EXPECT_TRUE(image->alphaChannel);
    EXPECT_EQ(manager.AddImage(L"logo", CreateBitmap(1, 1, 1, 32, nullptr), 1, 1, false), nullptr);
    EXPECT_EQ(manager.GetImage(L"logo"), image) << "the first stays";
}

TEST_F(ImageCache, PerPixelAlphaWindowsBlendEveryImage) {
    TImageInfo* plain = manager.AddImage(L"opaque.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->alphaChannel);
    CPaintManagerUI layered;
    layered.SetBackgroundTransparent(true);
    TImageInfo* forced = layered.AddImage(L"opaque.png");
    ASSERT_NE(forced, nullptr);
    EXPECT_TRUE(forced->alphaChannel);
}

TEST_F(ImageCache, LoadsLazilyAndBorrowsFromTheParent) {
    EXPECT_EQ(manager.GetImage(L"opaque.png"), nullptr);
    TImageInfo* loaded = manager.GetImageEx(L"opaque.png");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(manager.GetImageEx(L"opaque.png"), loaded);
    EXPECT_EQ(manager.GetImageEx(L"missing.png"), nullptr);

    CPaintManagerUI child;
    ASSERT_TRUE(child.UseParentResource(&manager));
    EXPECT_EQ(child.GetImage(L"opaque.png"), loaded);
    TImageInfo* own = child.GetImageEx(L"opaque.png");
    EXPECT_NE(own, loaded) << "drawing loads into the own cache";
}

TEST_F(ImageCache, ReloadKeepsTheRecordsAndTakesNewPixels) {
    const std::wstring folder = TestDirectory() + L"image_cache_reload\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring swapped = folder + L"swap.png";
    ASSERT_TRUE(CopyFileW((SkinDirectory() + L"source.png").c_str(), swapped.c_str(), FALSE));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    manager.Init(nullptr); // joins the managers that ReloadSkin reaches
    TImageInfo* image = manager.AddImage(L"swap.png");
    TImageInfo* resource = manager.AddImage(L"301", L"PNG");
    ASSERT_NE(image, nullptr);
    ASSERT_NE(resource, nullptr);
    ASSERT_TRUE(CopyFileW((SkinDirectory() + L"resource.png").c_str(), swapped.c_str(), FALSE));
    CPaintManagerUI::ReloadSkin();
    EXPECT_EQ(manager.GetImage(L"swap.png"), image);
    EXPECT_EQ(FirstPixel(image), kResourceColor);
    EXPECT_EQ(FirstPixel(resource), kResourceColor);
    DeleteFileW(swapped.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ImageCache, ImageStringsDrawThroughTheCache) {
    Surface surface(4, 4, 0xFFFFFFFF);
    const RECT all = surface.rect();
    EXPECT_FALSE(CRenderEngine::DrawImageString(surface.dc(), nullptr, all, all, L"source.png"));
    EXPECT_TRUE(CRenderEngine::DrawImageString(surface.dc(), &manager, all, all, L"missing.png"));
    EXPECT_EQ(surface.CountOther(all, 0xFFFFFFFF), 0);
    EXPECT_TRUE(CRenderEngine::DrawImageString(surface.dc(), &manager, all, all,
                                               L"file='source.png' dest='0,0,2,2'"));
    EXPECT_EQ(surface.Pixel(1, 1), kSkinFolderColor);
    EXPECT_EQ(surface.Pixel(3, 3), 0xFFFFFFFFu);
    EXPECT_NE(manager.GetImage(L"source.png"), nullptr) << "cached on first draw";
}
