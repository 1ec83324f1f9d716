// The window tests run as an application does: the executable is the framework's
// instance, so window classes, tool tips, icons and skins come from it.
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// Defined by the skinned window tests; ends the process.
int OpenWindowWithoutSkin(int kind);

int main(int argc, char** argv) {
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    // A child run of the skinned window tests, which watch it from outside.
    if (argc == 3 && std::strcmp(argv[1], "--open-unskinned") == 0)
        return OpenWindowWithoutSkin(std::atoi(argv[2]));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
