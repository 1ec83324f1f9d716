// The leak cycles run in one apartment, as the client does, with the stand-in browser
// answering for the system's browser inside this process, so that browser controls are
// created and torn down on every cycle without a registry entry.
#include <gtest/gtest.h>
#include <windows.h>

#include <exdisp.h>
#include <ole2.h>

#include <string>

#include "LeakCycles.h"
#include "core/Handles.h"

namespace {

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

class TablePrinter : public ::testing::Environment {
public:
    void TearDown() override { leaktest::PrintTable(); }
};

// Puts the stand-in's class object in place of the system browser's for this process.
DWORD RegisterStandInBrowser() {
    const HMODULE module = ::LoadLibraryW((ExecutableDirectory() + L"browser-standin.dll").c_str());
    if (module == nullptr) return 0;
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "DllGetClassObject")));
    SkinUI::CComPtr<IClassFactory> factory;
    if (get == nullptr ||
        FAILED(get(CLSID_WebBrowser, IID_IClassFactory, factory.ReceiveAsVoid())) || !factory)
        return 0;
    DWORD cookie = 0;
    if (FAILED(::CoRegisterClassObject(CLSID_WebBrowser, factory.Get(), CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &cookie)))
        return 0;
    return cookie;
}

} // namespace

int main(int argc, char** argv) {
    ::OleInitialize(nullptr);
    // Its calls go to a log nobody reads; the file grows, this process does not.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    ::SetEnvironmentVariableW(L"VARNEL_STANDIN_LOG",
                              (std::wstring(temp) + L"varnel-leak-standin.log").c_str());
    const DWORD cookie = RegisterStandInBrowser();
    if (cookie == 0) std::fprintf(stderr, "the stand-in browser could not be registered\n");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TablePrinter);
    const int result = RUN_ALL_TESTS();
    if (cookie != 0) ::CoRevokeClassObject(cookie);
    ::OleUninitialize();
    return result;
}
