#pragma once

// SkinUI's version. The CMake package version is read from these three lines.
#define SKINUI_VERSION_MAJOR 1
#define SKINUI_VERSION_MINOR 0
#define SKINUI_VERSION_PATCH 0

/// The version as one number: major * 10000 + minor * 100 + patch.
#define SKINUI_VERSION \
    (SKINUI_VERSION_MAJOR * 10000 + SKINUI_VERSION_MINOR * 100 + SKINUI_VERSION_PATCH)
/// The version as a wide string, "1.0.0".
#define SKINUI_VERSION_STRING L"1.0.0"
