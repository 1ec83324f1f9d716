// The window tests run as an application does: the executable is the framework's
// instance, so window classes, tool tips and icons come from it.
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
