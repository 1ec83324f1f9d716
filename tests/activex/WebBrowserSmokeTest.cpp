// The system web browser control hosted in place. The test system may have no engine
// behind it: only a clean creation or refusal, and a clean release, are asked for.
#include "ActiveXFixture.h"

namespace {

const CLSID kWebBrowser = {
    0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};

} // namespace

TEST_F(ActiveXTest, TheSystemWebBrowserComesAndGoesCleanly) {
    IUnknown* probe = nullptr;
    if (FAILED(::CoCreateInstance(kWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&probe))))
        GTEST_SKIP() << "no web browser control on this system";
    probe->Release();

    Host();
    ProbedActiveX* browser = Add(new ProbedActiveX);
    browser->SetDelayCreate(false);
    const bool created = browser->CreateControl(L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
    skintest::PumpUntil([] { return false; }, 300); // let it run a little
    browser->SetPos(RECT{10, 10, 250, 150});
    RecordProperty("created", created ? "yes" : "no");
    if (created) {
        IOleObject* object = nullptr;
        EXPECT_EQ(browser->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
        object->Release();
    }
    browser->Release();
    EXPECT_EQ(browser->GetHostWindow(), nullptr);
    EXPECT_EQ(browser->Site(), nullptr);
    skintest::PumpMessages();
}
