// What the browser control tests share: a handler that records what it hears, and the
// stand-in browser (loaded from beside the test) with its call log.
#pragma once

#include "StandInProtocol.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "activex/WebBrowserEventHandler.h"

namespace browsertest {

inline std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

inline std::wstring StandInPath() {
    return ExecutableDirectory() + L"browser-standin.dll";
}

inline std::wstring Text(const VARIANT* value) {
    if (value == nullptr) return L"";
    if (V_VT(value) == (VT_BYREF | VT_VARIANT)) return Text(value->pvarVal);
    return V_VT(value) == VT_BSTR && V_BSTR(value) != nullptr ? V_BSTR(value) : L"";
}

// Records the events; cancels navigations to addresses containing cancelPart.
class RecordingHandler : public SkinUI::CWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& cancel) override {
        before.push_back(Text(url));
        if (!cancelPart.empty() && Text(url).find(cancelPart) != std::wstring::npos)
            *cancel = VARIANT_TRUE;
    }
    void NavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*& status,
                       VARIANT_BOOL*&) override {
        errors.push_back(Text(url) + L" " + std::to_wstring(V_I4(status)));
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url, const wchar_t* name) override {
        completed.push_back(Text(url) + L" " + name);
    }
    void NewWindow3(IDispatch**, VARIANT_BOOL*& cancel, DWORD flags, BSTR, BSTR url) override {
        newWindows.push_back(std::wstring(url) + L" " + std::to_wstring(flags));
        *cancel = VARIANT_TRUE;
    }
    void CommandStateChange(LONG command, VARIANT_BOOL enable) override {
        commands.push_back(std::to_wstring(command) + (enable ? L" on" : L" off"));
    }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO*) override {
        ++hostInfoCalls;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*) override {
        return id == 7 ? S_FALSE : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR,
                                       LPCOLESTR, UINT) override {
        return E_ABORT;
    }

    std::wstring cancelPart;
    std::vector<std::wstring> before, errors, completed, newWindows, commands;
    int hostInfoCalls = 0;
};

// The stand-in's log for one test: a fresh file named after the test.
class StandInLog {
public:
    StandInLog() {
        wchar_t folder[MAX_PATH];
        ::GetTempPathW(MAX_PATH, folder);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(test->test_suite_name()) + "." + test->name();
        m_path = std::wstring(folder) + std::wstring(name.begin(), name.end()) + L".log";
        ::DeleteFileW(m_path.c_str());
        ::SetEnvironmentVariableW(StandIn::kLogPathVariable, m_path.c_str());
    }
    ~StandInLog() { ::SetEnvironmentVariableW(StandIn::kLogPathVariable, nullptr); }

    std::vector<std::string> Lines() const {
        std::ifstream file(std::string(m_path.begin(), m_path.end()));
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }
    // Index of the first line at or after `from` that is `line`, -1 when none.
    int Find(const std::string& line, int from = 0) const {
        const std::vector<std::string> lines = Lines();
        for (int i = from; i < static_cast<int>(lines.size()); ++i)
            if (lines[i] == line) return i;
        return -1;
    }
    bool Has(const std::string& line) const { return Find(line) >= 0; }
    // Lines that begin with the prefix.
    int Count(const std::string& prefix) const {
        int count = 0;
        for (const std::string& line : Lines())
            count += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return count;
    }
    // Pumps messages until the line appears at or after `from`; its index, or -1.
    int WaitFor(const std::string& line, int from = 0) const {
        skintest::PumpUntil([&] { return Find(line, from) >= 0; });
        return Find(line, from);
    }

private:
    std::wstring m_path;
};

// True when the stand-in has no object left alive.
inline bool StandInIsIdle() {
    HMODULE module = ::GetModuleHandleW(StandInPath().c_str());
    if (module == nullptr) return true;
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload != nullptr && canUnload() == S_OK;
}

} // namespace browsertest
