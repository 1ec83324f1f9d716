// The client's configuration: compiled into the executable as XML resource 104
// and read once at start-up.
#pragma once

#include <windows.h>

#include "core/SkinString.h"

namespace SkinUI {
class CMarkup;
}

// Resource id and type of the configuration document.
constexpr int kConfigResourceId = 104;

struct MicroClientConfig {
    SkinUI::CSkinString loginURL;        // publisher's PC login page; kept, not navigated to
    SkinUI::CSkinString playGamekeyWord; // a navigation whose address holds this enters the game
    SkinUI::CSkinString clientName;      // single-instance mutex name and tray tip
    RECT closeRect{};                    // login frame's close button
    RECT miniRect{};                     // login frame's minimise button
    RECT loginWebRect{};                 // login web window, relative to the login frame
    SIZE loginFrameSize{};               // login frame's client size
};

// The one process-wide configuration record.
MicroClientConfig& GetMicroClientConfig();

// Reads resource 104 of the framework's resource module into GetMicroClientConfig(). Missing or
// malformed configuration leaves the defaults; returns whether the document loaded.
bool LoadClientConfig();

// The same from a given module (tests load other documents this way).
bool LoadClientConfigFrom(HMODULE module, MicroClientConfig& config);

// Fills config from a loaded document: each child of the root whose first attribute is
// named "value" is one setting; unknown names are ignored.
void ApplyClientConfig(SkinUI::CMarkup& markup, MicroClientConfig& config);
