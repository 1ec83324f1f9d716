// The address record, read by the real reader from stamped copies of this
// (stripped, 64-bit) test executable.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ExeTailRecord.h"
#include "StampCore.h"
#include "support/DialogWatcher.h"

namespace {

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TailRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = ReadFileBytes(std::wstring(GetModulePath().GetData()));
        std::string error;
        ASSERT_TRUE(Stamp::FindOverlayOffset(image_, overlay_, error)) << error;
        image_.resize(overlay_); // drop whatever the linker left after the sections
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"vtr", 0, path_);
    }
    void TearDown() override { DeleteFileW(path_); }

    // Writes this executable with the given bytes after its sections.
    void WriteCopy(const std::string& tail) {
        std::ofstream out(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image_.data()), std::streamsize(image_.size()));
        out.write(tail.data(), std::streamsize(tail.size()));
    }
    std::string Read() { return ReadExeTailRecord(path_); }

    std::vector<std::uint8_t> image_;
    std::size_t overlay_ = 0;
    wchar_t path_[MAX_PATH] = {};
};

TEST_F(TailRecordTest, StampedRecordIsReadWithoutItsPadding) {
    std::vector<std::uint8_t> stamped = image_;
    std::string error;
    ASSERT_TRUE(Stamp::StampImage(stamped, "http://a.example/Client/login",
                                  "http://a.example/ServiceCenter", error))
        << error;
    EXPECT_EQ(stamped.size() % 8, 0u);
    WriteCopy(std::string(stamped.begin() + std::ptrdiff_t(overlay_), stamped.end()));
    EXPECT_EQ(Read(), "http://a.example/Client/login|http://a.example/ServiceCenter");
}

TEST_F(TailRecordTest, BytesAfterTheTerminatorAreIgnored) {
    std::string tail("http://l|http://s");
    tail.append(7, '\0');
    tail += "certificate table bytes";
    WriteCopy(tail);
    EXPECT_EQ(Read(), "http://l|http://s");
}

TEST_F(TailRecordTest, MissingRecordReadsEmpty) {
    WriteCopy("");
    EXPECT_EQ(Read(), "");
}

TEST_F(TailRecordTest, RecordWithoutTerminatorStopsAtTheLimit) {
    WriteCopy(std::string(300, 'x'));
    EXPECT_EQ(Read(), std::string(kTailRecordLimit, 'x'));
}

TEST_F(TailRecordTest, MissingFileIsReportedAndReadsEmpty) {
    DialogWatcher watcher(L"提示", IDOK);
    EXPECT_EQ(ReadExeTailRecord(L"C:\\no\\such\\client.exe"), "");
    ASSERT_EQ(watcher.Texts().size(), 1u);
    EXPECT_EQ(watcher.Texts()[0], L"资源文件不存在，打开错误C:\\no\\such\\client.exe");
}

TEST_F(TailRecordTest, FieldsAreTheNonEmptyPartsOfARecordWithABar) {
    WriteCopy(std::string("http://l.example/login||http://s.example/help\0", 46));
    EXPECT_STREQ(ReadTailRecordField(0, path_), L"http://l.example/login");
    EXPECT_STREQ(ReadTailRecordField(1, path_), L"http://s.example/help");
    EXPECT_TRUE(ReadTailRecordField(2, path_).IsEmpty());
    // Without a bar there are no addresses at all, and a bar alone gives no field.
    WriteCopy(std::string("http://l.example/login\0", 23));
    EXPECT_TRUE(ReadTailRecordField(0, path_).IsEmpty());
    WriteCopy(std::string("|\0\0\0", 4));
    EXPECT_TRUE(ReadTailRecordField(0, path_).IsEmpty());
}

TEST(SplitStringTest, FieldsOfTheRecord) {
    using Fields = std::vector<std::string>;
    EXPECT_EQ(SplitString("http://l|http://s", "|"), (Fields{"http://l", "http://s"}));
    EXPECT_EQ(SplitString("http://l||http://s", "|"), (Fields{"http://l", "http://s"}));
    EXPECT_EQ(SplitString("http://l|", "|"), (Fields{"http://l"}));
    EXPECT_EQ(SplitString("|http://l|http://s", "|"), (Fields{"http://l", "http://s"}));
    EXPECT_EQ(SplitString("http://l", "|"), (Fields{"http://l"}));
    EXPECT_TRUE(SplitString("", "|").empty());
    EXPECT_TRUE(SplitString("a|b", "").empty());
    // A longer delimiter is skipped whole.
    EXPECT_EQ(SplitString("a<>b<><>c", "<>"), (Fields{"a", "b", "c"}));
}

TEST(ModulePathTest, NamesThisExecutable) {
    const SkinUI::CSkinString path = GetModulePath();
    EXPECT_EQ(path.Right(13), SkinUI::CSkinString(L"\\test_app.exe"));
    EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
}

} // namespace
