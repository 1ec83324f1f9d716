// The host control's tests run in a single-threaded OLE apartment, with the test objects'
// class objects registered for the run and the executable as the framework's instance.
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include "TestActiveX.h"

int main(int argc, char** argv) {
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(::OleInitialize(nullptr))) return 1;
    DWORD cookies[2] = {};
    const bool windowless[2] = {false, true};
    const CLSID* classes[2] = {&activextest::CLSID_TestWindowed,
                               &activextest::CLSID_TestWindowless};
    for (int i = 0; i < 2; ++i) {
        IClassFactory* factory = activextest::NewTestFactory(windowless[i]);
        const HRESULT hr = ::CoRegisterClassObject(*classes[i], factory, CLSCTX_INPROC_SERVER,
                                                   REGCLS_MULTIPLEUSE, &cookies[i]);
        factory->Release();
        if (FAILED(hr)) return 1;
    }
    const int result = RUN_ALL_TESTS();
    for (DWORD cookie : cookies)
        ::CoRevokeClassObject(cookie);
    ::OleUninitialize();
    return result;
}
