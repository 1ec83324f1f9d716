// microclient-stamp CLIENT.exe LOGIN-URL SERVICE-URL
// Writes (or replaces) the address record after a client executable.
#include "StampCore.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: microclient-stamp CLIENT.exe LOGIN-URL SERVICE-URL\n");
        return 2;
    }
    std::string error;
    if (!Stamp::StampFile(argv[1], argv[2], argv[3], error)) {
        std::fprintf(stderr, "microclient-stamp: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
