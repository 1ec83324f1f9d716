// The paint manager's process-wide module state: instance, current directory, skin
// resource sources and control plug-ins.

#include "window/PaintManagerUI.h"

#include <cstdlib>

#include "core/ZipArchive.h"

namespace SkinUI {

namespace {

const wchar_t kMemoryZipName[] = L"membuffer";

// Longest path the system hands out (extended-length paths included), in characters.
const DWORD kMaxPathLength = 32768;

// The module file of `module` in full, however long; empty when it cannot be read.
CSkinString ModuleFileName(HMODULE module) {
    DWORD capacity = MAX_PATH;
    while (capacity <= kMaxPathLength) {
        wchar_t* buffer = static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t)));
        if (buffer == nullptr) break;
        const DWORD length = GetModuleFileNameW(module, buffer, capacity);
        // A result equal to the capacity means the name was cut: try a bigger buffer.
        if (length > 0 && length < capacity) {
            CSkinString name(buffer, static_cast<int>(length));
            std::free(buffer);
            return name;
        }
        std::free(buffer);
        if (length == 0) break;
        capacity *= 2;
    }
    return CSkinString();
}

void CloseArchive(void*& handle) {
    delete static_cast<CZipArchive*>(handle);
    handle = nullptr;
}

} // namespace

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CSkinString CPaintManagerUI::m_pStrResourcePath;
CSkinString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
void* CPaintManagerUI::m_hResourceZip = nullptr;
CStdPtrArray CPaintManagerUI::m_aPlugins;

void CPaintManagerUI::SetInstance(HINSTANCE instance) {
    m_hInstance = instance;
}

HINSTANCE CPaintManagerUI::GetInstance() {
    return m_hInstance;
}

CSkinString CPaintManagerUI::GetInstancePath() {
    if (m_hInstance == nullptr) return CSkinString();
    CSkinString path = ModuleFileName(m_hInstance);
    const int separator = path.ReverseFind(L'\\');
    if (separator >= 0) return path.Left(separator + 1);
    return path;
}

CSkinString CPaintManagerUI::GetCurrentPath() {
    // The first call measures (terminator included); the directory may change in
    // between, so the second result is checked again.
    DWORD capacity = GetCurrentDirectoryW(0, nullptr);
    while (capacity > 0 && capacity <= kMaxPathLength) {
        wchar_t* buffer = static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t)));
        if (buffer == nullptr) break;
        const DWORD length = GetCurrentDirectoryW(capacity, buffer);
        if (length > 0 && length < capacity) {
            CSkinString path(buffer, static_cast<int>(length));
            std::free(buffer);
            return path;
        }
        std::free(buffer);
        capacity = length;
    }
    return CSkinString();
}

void CPaintManagerUI::SetCurrentPath(const wchar_t* path) {
    if (path != nullptr) SetCurrentDirectoryW(path);
}

void CPaintManagerUI::SetResourceDll(HINSTANCE instance) {
    m_hResourceInstance = instance;
}

HINSTANCE CPaintManagerUI::GetResourceDll() {
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourcePath(const wchar_t* path) {
    m_pStrResourcePath = path;
    if (m_pStrResourcePath.IsEmpty()) return;
    const wchar_t last = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
    if (last != L'\\' && last != L'/') m_pStrResourcePath += L'\\';
}

const CSkinString& CPaintManagerUI::GetResourcePath() {
    return m_pStrResourcePath;
}

void CPaintManagerUI::SetResourceZip(const wchar_t* zipName, bool cached) {
    if (zipName == nullptr) zipName = L"";
    if (m_pStrResourceZip == zipName && m_bCachedResourceZip == cached) return;
    // Whatever was cached before (a file or a memory archive) is no longer reachable.
    if (m_hResourceZip != nullptr) CloseArchive(m_hResourceZip);
    m_pStrResourceZip = zipName;
    m_bCachedResourceZip = cached;
    if (cached) m_hResourceZip = CZipArchive::OpenFile(m_pStrResourcePath + m_pStrResourceZip);
}

void CPaintManagerUI::SetResourceZip(const void* data, unsigned int length) {
    if (m_pStrResourceZip == kMemoryZipName) return;
    if (m_hResourceZip != nullptr) CloseArchive(m_hResourceZip);
    m_pStrResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = CZipArchive::OpenMemory(data, length);
}

const CSkinString& CPaintManagerUI::GetResourceZip() {
    return m_pStrResourceZip;
}

bool CPaintManagerUI::IsCachedResourceZip() {
    return m_bCachedResourceZip;
}

void* CPaintManagerUI::GetResourceZipHandle() {
    return m_hResourceZip;
}

bool CPaintManagerUI::LoadPlugin(const wchar_t* moduleName) {
    if (moduleName == nullptr) return false;
    HMODULE module = LoadLibraryW(moduleName);
    if (module == nullptr) return false;
    // Plug-in modules stay loaded for the life of the process, even without the export.
    const FARPROC factory = GetProcAddress(module, "CreateControl");
    if (factory == nullptr) return false;
    void* entry = reinterpret_cast<void*>(factory);
    if (m_aPlugins.Find(entry) < 0 && !m_aPlugins.Add(entry)) return false;
    return true;
}

CStdPtrArray* CPaintManagerUI::GetPlugins() {
    return &m_aPlugins;
}

void CPaintManagerUI::ReloadSkin() {
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i)
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
}

} // namespace SkinUI
