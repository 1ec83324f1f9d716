// What the client does on its way out, once its message loop has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include "ClientLoop.h"
#include "window/PaintManagerUI.h"

using SkinUI::CPaintManagerUI;

TEST(ClientLoop, ClosesTheSkinArchiveOnceTheLoopEnds) {
    // The client's own skin archive, opened the way its windows open it.
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(101), L"ZIPRES");
    ASSERT_NE(found, nullptr);
    const void* archive = LockResource(LoadResource(module, found));
    ASSERT_NE(archive, nullptr);
    CPaintManagerUI::SetResourceZip(L"", false); // whatever an earlier test selected
    CPaintManagerUI::SetResourceZip(archive, SizeofResource(module, found));
    ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);

    PostQuitMessage(0);
    RunClientLoop();
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_TRUE(CPaintManagerUI::GetResourceZip().IsEmpty());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
}
