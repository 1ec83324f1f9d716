// The browser controls live in a single-threaded OLE apartment, as in the client.
#include <gtest/gtest.h>

#include <ole2.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) return 1;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
