#include "MicroClientConfig.h"

#include <cwchar>

#include "core/Markup.h"
#include "core/NumberList.h"
#include "window/PaintManagerUI.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

MicroClientConfig& GetMicroClientConfig() {
    static MicroClientConfig config;
    return config;
}

namespace {

void ApplySetting(const wchar_t* name, const wchar_t* value, MicroClientConfig& config) {
    if (std::wcscmp(name, L"loginWebRect") == 0) {
        config.loginWebRect = SkinUI::ReadRect(value);
    } else if (std::wcscmp(name, L"closeRect") == 0) {
        config.closeRect = SkinUI::ReadRect(value);
    } else if (std::wcscmp(name, L"miniRect") == 0) {
        config.miniRect = SkinUI::ReadRect(value);
    } else if (std::wcscmp(name, L"loginFrameSize") == 0) {
        config.loginFrameSize = SkinUI::ReadSize(value);
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
