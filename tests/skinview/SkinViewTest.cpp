// skinview renders skins into PNG files laid out as the window would show them, and fails
// with one line on stderr and exit code 2.
#include <gtest/gtest.h>
#include <windows.h>

#include <stb_image.h>

#include <string>
#include <vector>

namespace {

std::wstring TestDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1);
}

const std::wstring kSkins = TestDirectory() + L"skinview_skins\\";
const std::wstring kOutput = kSkins + L"out.png";

// Runs skinview in the skins folder; its exit code, and what it wrote to stderr.
DWORD RunSkinView(const std::wstring& arguments, std::string& errors) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return 99;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = writeEnd;
    startup.hStdOutput = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command = L"\"" + TestDirectory() + L"skinview.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          kSkins.c_str(), &startup, &process);
    ::CloseHandle(writeEnd);
    DWORD exitCode = 99;
    if (started) {
        char buffer[512];
        DWORD read = 0;
        while (::ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            errors.append(buffer, read);
        ::WaitForSingleObject(process.hProcess, 30000);
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    ::CloseHandle(readEnd);
    return exitCode;
}

// The PNG as straight RGBA, read back with the decoder.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    unsigned Pixel(int x, int y) const { // 0xRRGGBBAA
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return (p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]) & 0xFFFFFFFFu;
    }
};

Image Render(const std::wstring& arguments) {
    ::DeleteFileW(kOutput.c_str());
    std::string errors;
    EXPECT_EQ(RunSkinView(L"--png \"" + kOutput + L"\" " + arguments, errors), 0u) << errors;
    Image image;
    HANDLE file = ::CreateFileW(kOutput.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return image;
    std::vector<unsigned char> png(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, png.data(), static_cast<DWORD>(png.size()), &read, nullptr);
    ::CloseHandle(file);
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(png.data(), static_cast<int>(read), &image.width,
                                            &image.height, &channels, 4);
    if (pixels != nullptr) {
        image.rgba.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 4);
        stbi_image_free(pixels);
    }
    return image;
}

TEST(SkinView, RendersTheLayoutAtTheWindowSizeOrTheGivenOne) {
    // The white block ends at 60: the last stretching child gives up its own paddings.
    const Image image = Render(L"layout.xml");
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 80);
    const struct {
        int x, y;
        unsigned colour;
    } points[] = {
        {5, 5, 0x0000FFFF},    {20, 20, 0xFF0000FF},  {49, 39, 0xFF0000FF}, {50, 10, 0x00FF00FF},
        {109, 20, 0x00FF00FF}, {110, 20, 0x0000FFFF}, {12, 42, 0x0000FFFF}, {15, 45, 0xFFFFFFFF},
        {104, 59, 0xFFFFFFFF}, {105, 59, 0x0000FFFF}, {50, 60, 0x0000FFFF}, {60, 75, 0x0000FFFF},
    };
    for (const auto& point : points)
        EXPECT_EQ(image.Pixel(point.x, point.y), point.colour) << point.x << "," << point.y;

    const Image wide = Render(L"--size 200,100 layout.xml");
    ASSERT_EQ(wide.width, 200);
    EXPECT_EQ(wide.Pixel(189, 39), 0x00FF00FFu);
    EXPECT_EQ(wide.Pixel(184, 79), 0xFFFFFFFFu);
}

TEST(SkinView, KeepsThePaintedAlphaOfATransparentSkin) {
    const Image image = Render(L"alpha.xml");
    ASSERT_EQ(image.width, 40);
    EXPECT_EQ(image.Pixel(5, 10), 0xFF0000FFu);
    EXPECT_EQ(image.Pixel(15, 10) & 0xFF, 0x80u);
    EXPECT_GE(image.Pixel(15, 10) >> 24, 0xFCu); // white, give or take the rounding
    EXPECT_EQ(image.Pixel(30, 10) & 0xFF, 0u);
}

TEST(SkinView, ReadsSkinsFromAnArchive) {
    const Image image = Render(L"--zip skins.zip inner\\zipped.xml");
    ASSERT_EQ(image.width, 20);
    EXPECT_EQ(image.Pixel(10, 5), 0x123456FFu);
}

TEST(SkinView, FailuresAreOneLineAndExitCodeTwo) {
    const struct {
        const wchar_t* arguments;
        const char* line; // stderr is a text stream
    } cases[] = {
        {L"missing.xml", "skinview: missing.xml: Error opening file\r\n"},
        {L"bad.xml", "skinview: bad.xml: Unmatched closing tag at \"Window>\"\r\n"},
        {L"noroot.xml", "skinview: noroot.xml: no root control\r\n"},
        {L"nosize.xml", "skinview: nosize.xml: the skin gives the window no size (use --size)\r\n"},
        {L"--zip skins.zip other.xml", "skinview: other.xml: Could not find ziped file\r\n"},
        {L"--zip none.zip layout.xml", "skinview: layout.xml: Error opening zip file\r\n"},
    };
    for (const auto& test : cases) {
        ::DeleteFileW(kOutput.c_str());
        std::string errors;
        EXPECT_EQ(RunSkinView(L"--png \"" + kOutput + L"\" " + test.arguments, errors), 2u);
        EXPECT_EQ(errors, test.line);
        EXPECT_EQ(::GetFileAttributesW(kOutput.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    std::string errors;
    EXPECT_EQ(RunSkinView(L"--png missing\\out.png layout.xml", errors), 2u);
    EXPECT_EQ(errors.rfind("skinview: layout.xml: cannot write missing\\out.png", 0), 0u);
    errors.clear();
    EXPECT_EQ(RunSkinView(L"--size 10 layout.xml", errors), 2u);
    EXPECT_EQ(errors.rfind("skinview: usage:", 0), 0u);
}

} // namespace
