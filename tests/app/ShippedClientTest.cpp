// What the build ships: microclient.exe carries its configuration and the record.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ExeTailRecord.h"
#include "MicroClientConfig.h"
#include "StampCore.h"

namespace {

// The build puts the client at app/microclient.exe beside the tests folder.
std::filesystem::path ClientPath() {
    return std::filesystem::path(GetModulePath().GetData()).parent_path().parent_path() / L"app" /
           L"microclient.exe";
}

TEST(ShippedClientTest, CarriesTheConfigurationResource) {
    HMODULE client = LoadLibraryExW(ClientPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(client, nullptr);
    MicroClientConfig config;
    EXPECT_TRUE(LoadClientConfigFrom(client, config));
    EXPECT_STREQ(config.clientName, L"Varnel");
    FreeLibrary(client);
}

TEST(ShippedClientTest, EndsWithThePaddedAddressRecord) {
    std::ifstream in(ClientPath(), std::ios::binary);
    const std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    std::size_t overlay = 0;
    std::string error;
    ASSERT_TRUE(Stamp::FindOverlayOffset(image, overlay, error)) << error;
    const std::string record(reinterpret_cast<const char*>(image.data() + overlay));
    EXPECT_EQ(record,
              "http://www.varnel.example/Client/login|http://www.varnel.example/ServiceCenter");
    EXPECT_EQ(image.size() % 8, 0u);
    EXPECT_LE(image.size() - overlay, 8 + record.size());
}

} // namespace
