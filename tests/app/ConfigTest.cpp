// The client's configuration: the real resource and variants of its document.
#include <gtest/gtest.h>

#include "MicroClientConfig.h"
#include "core/Markup.h"
#include "window/PaintManagerUI.h"

namespace {

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

MicroClientConfig FromDocument(const wchar_t* xml) {
    SkinUI::CMarkup markup;
    EXPECT_TRUE(markup.Load(xml));
    MicroClientConfig config;
    ApplyClientConfig(markup, config);
    return config;
}

RECT WebRectFrom(const wchar_t* value) {
    std::wstring xml = L"<microClient><loginWebRect value=\"";
    xml += value;
    xml += L"\"/></microClient>";
    return FromDocument(xml.c_str()).loginWebRect;
}

TEST(ConfigTest, ShippedResourceFillsEverySetting) {
    MicroClientConfig config;
    ASSERT_TRUE(LoadClientConfigFrom(GetModuleHandleW(nullptr), config));
    EXPECT_EQ(config.loginFrameSize.cx, 1112);
    EXPECT_EQ(config.loginFrameSize.cy, 645);
    EXPECT_TRUE(config.loginWebRect == (RECT{301, 139, 1001, 569}));
    EXPECT_TRUE(config.miniRect == (RECT{981, 108, 1002, 129}));
    EXPECT_TRUE(config.closeRect == (RECT{1009, 124, 1035, 150}));
    EXPECT_STREQ(config.loginURL, L"http://www.varnel.example/game/vl/pc.phtml");
    EXPECT_STREQ(config.playGamekeyWord, L"client=pc");
    EXPECT_STREQ(config.clientName, L"Varnel");
}

TEST(ConfigTest, ProcessWideRecordIsFilledFromTheExecutable) {
    MicroClientConfig& config = GetMicroClientConfig();
    EXPECT_EQ(&config, &GetMicroClientConfig());
    SkinUI::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_TRUE(LoadClientConfig());
    EXPECT_STREQ(config.clientName, L"Varnel");
}

TEST(ConfigTest, MissingResourceLeavesDefaults) {
    MicroClientConfig config;
    EXPECT_FALSE(LoadClientConfigFrom(GetModuleHandleW(L"kernel32.dll"), config));
    EXPECT_TRUE(config.clientName.IsEmpty());
    EXPECT_EQ(config.loginFrameSize.cx, 0);
}

TEST(ConfigTest, OnlyAFirstAttributeNamedValueCounts) {
    const MicroClientConfig config = FromDocument(L"<microClient>"
                                                  L"<clientName other=\"x\" value=\"Second\"/>"
                                                  L"<playGamekeyWord Value=\"capital\"/>"
                                                  L"<loginURL/>"
                                                  L"<LoginURL value=\"case differs\"/>"
                                                  L"<unknown value=\"ignored\"/>"
                                                  L"</microClient>");
    EXPECT_TRUE(config.clientName.IsEmpty());
    EXPECT_TRUE(config.playGamekeyWord.IsEmpty());
    EXPECT_TRUE(config.loginURL.IsEmpty());
}

TEST(ConfigTest, LaterSettingsOverwriteEarlierOnes) {
    const MicroClientConfig config =
        FromDocument(L"<anyRoot><clientName value=\"A\"/><clientName value=\"B\"/></anyRoot>");
    EXPECT_STREQ(config.clientName, L"B");
}

TEST(ConfigTest, NumberListsTakeAnyOneSeparator) {
    const RECT expected{301, 139, 1001, 569};
    EXPECT_TRUE(WebRectFrom(L"301,139,1001,569") == expected);
    EXPECT_TRUE(WebRectFrom(L"301, 139, 1001, 569") == expected);
    EXPECT_TRUE(WebRectFrom(L"301;139;1001;569") == expected);
    EXPECT_TRUE(WebRectFrom(L"-5,+6,7x8") == (RECT{-5, 6, 7, 8}));
    // A blank before a comma makes the comma a number of its own.
    EXPECT_TRUE(WebRectFrom(L"301 ,139,1001,569") == (RECT{301, 0, 139, 1001}));
}

TEST(ConfigTest, MissingNumbersAreZero) {
    EXPECT_TRUE(WebRectFrom(L"301,139") == (RECT{301, 139, 0, 0}));
    EXPECT_TRUE(WebRectFrom(L"301,") == (RECT{301, 0, 0, 0}));
    EXPECT_TRUE(WebRectFrom(L"") == (RECT{0, 0, 0, 0}));
}

TEST(ConfigTest, LoginFrameSizeTakesTwoNumbers) {
    const MicroClientConfig config =
        FromDocument(L"<microClient><loginFrameSize value=\"1112,645,9\"/></microClient>");
    EXPECT_EQ(config.loginFrameSize.cx, 1112);
    EXPECT_EQ(config.loginFrameSize.cy, 645);
}

} // namespace
