#include "StandInRegistration.h"

#include "StandInModule.h"

#include <olectl.h>

#include <string>

namespace {

constexpr wchar_t kClassKey[] = L"CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr wchar_t kServerKey[] = L"CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
// Where the replaced entry waits for Unregister.
constexpr wchar_t kPreviousServer[] = L"VarnelStandInPreviousServer";
constexpr wchar_t kPreviousThreadingModel[] = L"VarnelStandInPreviousThreadingModel";

HRESULT FromWin32(LONG error) {
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// A string value; false when it is missing or not a string.
bool GetString(HKEY key, const wchar_t* name, std::wstring& value) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &bytes) !=
        ERROR_SUCCESS)
        return false;
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    value = buffer;
    return true;
}

bool ModulePath(std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(StandInModule::Handle(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    path.assign(buffer, length);
    return true;
}

} // namespace

HRESULT StandInRegistration::Register() {
    std::wstring path;
    if (!ModulePath(path)) return SELFREG_E_CLASS;
    HKEY key = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr, 0,
                                 KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS) return FromWin32(error);

    // Keep the entry being replaced, once: registering twice must not save our own.
    std::wstring current;
    std::wstring previous;
    if (GetString(key, nullptr, current) && lstrcmpiW(current.c_str(), path.c_str()) != 0 &&
        !GetString(key, kPreviousServer, previous)) {
        error = SetString(key, kPreviousServer, current);
        std::wstring threadingModel;
        if (error == ERROR_SUCCESS && GetString(key, kThreadingModel, threadingModel))
            error = SetString(key, kPreviousThreadingModel, threadingModel);
    }
    if (error == ERROR_SUCCESS) error = SetString(key, nullptr, path);
    if (error == ERROR_SUCCESS) error = SetString(key, kThreadingModel, L"Apartment");
    RegCloseKey(key);
    return FromWin32(error);
}

HRESULT StandInRegistration::Unregister() {
    std::wstring path;
    if (!ModulePath(path)) return SELFREG_E_CLASS;
    HKEY key = nullptr;
    LONG error =
        RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (error == ERROR_FILE_NOT_FOUND) return S_OK;
    if (error != ERROR_SUCCESS) return FromWin32(error);

    std::wstring current;
    if (!GetString(key, nullptr, current) || lstrcmpiW(current.c_str(), path.c_str()) != 0) {
        RegCloseKey(key); // someone else's entry now
        return S_OK;
    }
    std::wstring previous;
    if (GetString(key, kPreviousServer, previous)) {
        std::wstring threadingModel;
        error = SetString(key, nullptr, previous);
        if (error == ERROR_SUCCESS && GetString(key, kPreviousThreadingModel, threadingModel))
            error = SetString(key, kThreadingModel, threadingModel);
        if (error == ERROR_SUCCESS) {
            RegDeleteValueW(key, kPreviousServer);
            RegDeleteValueW(key, kPreviousThreadingModel);
        }
        RegCloseKey(key);
        return FromWin32(error);
    }
    RegCloseKey(key);
    // Nothing was there before us: the class key is ours alone.
    error = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return error == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(error);
}
