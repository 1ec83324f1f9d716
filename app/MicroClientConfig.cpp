#include "MicroClientConfig.h"

#include <cwchar>

#include "core/Markup.h"
#include "window/PaintManagerUI.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

MicroClientConfig& GetMicroClientConfig() {
    static MicroClientConfig config;
    return config;
}

void ParseNumberList(const wchar_t* text, long* numbers, int count) {
    const wchar_t* cursor = text;
    for (int i = 0; i < count; ++i) {
        if (cursor == nullptr) {
            numbers[i] = 0;
            continue;
        }
        wchar_t* end = nullptr;
        numbers[i] = std::wcstol(cursor, &end, 10);
        // Exactly one separator follows a number; at the end of the text the
        // remaining numbers stay 0.
        cursor = (*end == L'\0') ? nullptr : end + 1;
    }
}

namespace {

void ParseRect(const wchar_t* value, RECT& rect) {
    long numbers[4];
    ParseNumberList(value, numbers, 4);
    rect = {numbers[0], numbers[1], numbers[2], numbers[3]};
}

void ApplySetting(const wchar_t* name, const wchar_t* value, MicroClientConfig& config) {
    if (std::wcscmp(name, L"loginWebRect") == 0) {
        ParseRect(value, config.loginWebRect);
    } else if (std::wcscmp(name, L"closeRect") == 0) {
        ParseRect(value, config.closeRect);
    } else if (std::wcscmp(name, L"miniRect") == 0) {
        ParseRect(value, config.miniRect);
    } else if (std::wcscmp(name, L"loginFrameSize") == 0) {
        long numbers[2];
        ParseNumberList(value, numbers, 2);
        config.loginFrameSize = {numbers[0], numbers[1]};
    } else if (std::wcscmp(name, L"loginURL") == 0) {
        config.loginURL = value;
    } else if (std::wcscmp(name, L"playGamekeyWord") == 0) {
        config.playGamekeyWord = value;
    } else if (std::wcscmp(name, L"clientName") == 0) {
        config.clientName = value;
    }
}

} // namespace

void ApplyClientConfig(CMarkup& markup, MicroClientConfig& config) {
    CMarkupNode root = markup.GetRoot();
    if (!root.IsValid()) return;
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (node.GetAttributeCount() > 0 && std::wcscmp(node.GetAttributeName(0), L"value") == 0)
            ApplySetting(node.GetName(), node.GetAttributeValue(0), config);
    }
}

bool LoadClientConfigFrom(HMODULE module, MicroClientConfig& config) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(kConfigResourceId), L"xml");
    if (info == nullptr) return false;
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr) return false;
    const DWORD size = SizeofResource(module, info);
    auto* data = static_cast<unsigned char*>(LockResource(handle));
    CMarkup markup;
    const bool loaded = data != nullptr && size != 0 && markup.LoadFromMem(data, size, 0);
    FreeResource(handle);
    if (loaded) ApplyClientConfig(markup, config);
    return loaded;
}

bool LoadClientConfig() {
    return LoadClientConfigFrom(SkinUI::CPaintManagerUI::GetResourceDll(), GetMicroClientConfig());
}
