// microclient-stamp's rules, on copies of this executable's image.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ExeTailRecord.h"
#include "StampCore.h"

namespace {

class StampTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(std::filesystem::path(GetModulePath().GetData()), std::ios::binary);
        image_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::string error;
        ASSERT_TRUE(Stamp::FindOverlayOffset(image_, overlay_, error)) << error;
        image_.resize(overlay_);
    }
    IMAGE_NT_HEADERS* Headers() {
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image_.data());
        return reinterpret_cast<IMAGE_NT_HEADERS*>(image_.data() + dos->e_lfanew);
    }
    bool StampCopy(const std::string& login, const std::string& service) {
        return Stamp::StampImage(image_, login, service, error_);
    }
    std::string Tail() const {
        return std::string(image_.begin() + std::ptrdiff_t(overlay_), image_.end());
    }

    std::vector<std::uint8_t> image_;
    std::size_t overlay_ = 0;
    std::string error_;
};

TEST_F(StampTest, ReplacesARecordInsteadOfAddingOne) {
    ASSERT_TRUE(
        StampCopy("http://first.example/Client/login", "http://first.example/ServiceCenter"));
    ASSERT_TRUE(StampCopy("http://b/l", "http://b/s"));
    std::string expected("http://b/l|http://b/s");
    expected.append(8 - (overlay_ + expected.size()) % 8, '\0');
    EXPECT_EQ(Tail(), expected);
}

TEST_F(StampTest, RecordMustFitTheReadersLimit) {
    const std::string login = "http://" + std::string(200, 'l');
    // 255 characters and the terminator fill the 256 bytes exactly.
    EXPECT_TRUE(StampCopy(login, "http://" + std::string(255 - login.size() - 1 - 7, 's')));
    EXPECT_FALSE(StampCopy(login, "http://" + std::string(255 - login.size() - 7, 's')));
    EXPECT_NE(error_.find("256"), std::string::npos) << error_;
}

TEST_F(StampTest, RefusesFieldsTheClientCannotSplit) {
    EXPECT_FALSE(StampCopy("", "http://s"));
    EXPECT_FALSE(StampCopy("http://l|x", "http://s"));
    EXPECT_FALSE(StampCopy("http://l", "http://s\n"));
    EXPECT_EQ(Tail(), "");
}

TEST_F(StampTest, RefusesASignedExecutable) {
    IMAGE_DATA_DIRECTORY& security =
        Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
    security.VirtualAddress = DWORD(overlay_);
    security.Size = 16;
    EXPECT_FALSE(StampCopy("http://l", "http://s"));
    EXPECT_NE(error_.find("certificate"), std::string::npos) << error_;
}

TEST_F(StampTest, RefusesAnUnstrippedExecutable) {
    Headers()->FileHeader.PointerToSymbolTable = DWORD(overlay_);
    Headers()->FileHeader.NumberOfSymbols = 1;
    image_.resize(overlay_ + 18, 0x41);
    EXPECT_FALSE(StampCopy("http://l", "http://s"));
    EXPECT_NE(error_.find("strip"), std::string::npos) << error_;
}

TEST_F(StampTest, RefusesUnknownDataAfterTheSections) {
    image_.push_back(0x01);
    image_.push_back(0x00);
    EXPECT_FALSE(StampCopy("http://l", "http://s"));
}

TEST_F(StampTest, RefusesWhatIsNotAnExecutable) {
    std::vector<std::uint8_t> text(4096, 'x');
    EXPECT_FALSE(Stamp::StampImage(text, "http://l", "http://s", error_));
    std::vector<std::uint8_t> truncated(image_.begin(), image_.begin() + 300);
    EXPECT_FALSE(Stamp::StampImage(truncated, "http://l", "http://s", error_));
    std::vector<std::uint8_t> empty;
    EXPECT_FALSE(Stamp::StampImage(empty, "http://l", "http://s", error_));
}

TEST_F(StampTest, FileIsRewrittenOnlyWhenStampingSucceeds) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"vst", 0, path);
    char narrow[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof(narrow), nullptr, nullptr);
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image_.data()), std::streamsize(image_.size()));
    }
    EXPECT_FALSE(Stamp::StampFile(narrow, "http://l|", "http://s", error_));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path, GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, image_.size());

    EXPECT_TRUE(Stamp::StampFile(narrow, "http://l", "http://s", error_)) << error_;
    EXPECT_EQ(ReadExeTailRecord(path), "http://l|http://s");
    DeleteFileW(path);
    EXPECT_FALSE(Stamp::StampFile(narrow, "http://l", "http://s", error_));
}

} // namespace
