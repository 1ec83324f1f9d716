// skinview renders skins into PNG files laid out as the window would show them, and fails
// with one line on stderr and exit code 2.
#include <gtest/gtest.h>
#include <windows.h>

#include <stb_image.h>

#include "control/ControlUI.h"
#include "core/DialogBuilder.h"
#include "support/BoundedCost.h"

#include <algorithm>
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

// Pixels within `tolerance` of a colour (0xRRGGBB) in a rectangle.
int CountNear(const Image& image, const RECT& area, unsigned rgb, int tolerance = 40) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const unsigned pixel = image.Pixel(x, y) >> 8;
            bool close = true;
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = (pixel >> shift) & 0xFF;
                const int b = (rgb >> shift) & 0xFF;
                close = close && (a > b ? a - b : b - a) <= tolerance;
            }
            count += close ? 1 : 0;
        }
    }
    return count;
}

TEST(SkinView, FormattedTextScrollsInAListWithASkinnedBar) {
    // The list (12,40)-(348,198) holds more text than fits: its bar, styled by the skin's
    // "VScrollBar" defaults, runs down its right side inside a 1-pixel inset. Below it,
    // a standalone horizontal "ScrollBar" at (12,206)-(348,222), range 100 at 40.
    const Image image = Render(L"scrolling.xml");
    ASSERT_EQ(image.width, 360);
    ASSERT_EQ(image.height, 240);
    constexpr unsigned kButton = 0xC9D2DEFF, kArrow = 0x4A5B70FF, kTrack = 0xE6EAF0FF,
                       kThumb = 0xA3B1C4FF, kRail = 0xF4F6FAFF;
    EXPECT_EQ(image.Pixel(333, 43), kButton) << "button 1 at the top";
    EXPECT_EQ(image.Pixel(339, 49), kArrow);
    EXPECT_EQ(image.Pixel(333, 194), kButton) << "button 2 at the bottom";

    // Down the middle of the bar: the thumb from button 1 on (the list is at its start),
    // its rail, then the track up to button 2.
    std::vector<unsigned> column;
    for (int y = 57; y < 181; ++y)
        column.push_back(image.Pixel(339, y));
    size_t thumbEnd = 0;
    while (thumbEnd < column.size() && (column[thumbEnd] == kThumb || column[thumbEnd] == kRail))
        ++thumbEnd;
    EXPECT_GT(thumbEnd, 16u);
    EXPECT_LT(thumbEnd, column.size()) << "the thumb is shorter than the track";
    EXPECT_EQ(column[0], kThumb);
    EXPECT_NE(std::find(column.begin(), column.begin() + thumbEnd, kRail),
              column.begin() + thumbEnd);
    for (size_t y = thumbEnd + 2; y < column.size(); ++y)
        EXPECT_EQ(column[y], kTrack) << "track at " << 57 + y;

    // The standalone bar: a thumb of 304 * 336 / 436 = 234 from 28 + 40 * 70 / 100 = 56,
    // its rail mark at the middle, 165..181.
    EXPECT_EQ(image.Pixel(14, 208), kButton);
    EXPECT_EQ(image.Pixel(40, 214), kTrack);
    EXPECT_EQ(image.Pixel(57, 214), kThumb);
    EXPECT_EQ(image.Pixel(289, 214), kThumb);
    EXPECT_EQ(image.Pixel(172, 213), kRail);
    EXPECT_EQ(image.Pixel(300, 214), kTrack);
    EXPECT_EQ(image.Pixel(344, 208), kButton);

    // The runs of the text: a blue phrase, links in the default link colour, a red note.
    const RECT text{13, 41, 331, 197};
    EXPECT_GT(CountNear(image, text, 0x1F6FD0), 20);
    EXPECT_GT(CountNear(image, text, 0x0000FF), 20);
    EXPECT_GT(CountNear(image, text, 0xC0392B), 10);
    EXPECT_EQ(CountNear(image, RECT{331, 0, 360, 40}, 0x000000, 60), 0) << "nothing above";
}

TEST(SkinView, AMultiLineRichEditShowsItsTextFromTheTopWithItsBar) {
    // The rich edit (12,40)-(348,222) (the last child of the layout gives up the gap before
    // it) has a 1-pixel border and an inset of 5,3,1,1: its text from (17,43) to the bar,
    // which runs down (331,43)-(347,221), styled by the skin's "VScrollBar" defaults,
    // because the twelve lines do not fit.
    const Image image = Render(L"richedit.xml");
    ASSERT_EQ(image.width, 360);
    ASSERT_EQ(image.height, 240);
    constexpr unsigned kButton = 0xC9D2DEFF, kTrack = 0xE6EAF0FF, kThumb = 0xA3B1C4FF;
    EXPECT_EQ(image.Pixel(333, 45), kButton) << "button 1 at the top";
    EXPECT_EQ(image.Pixel(333, 217), kButton) << "button 2 at the bottom";
    // The text is at its start: the thumb leaves button 1 at once and the track shows
    // below it.
    EXPECT_EQ(image.Pixel(339, 60), kThumb);
    EXPECT_EQ(image.Pixel(339, 203), kTrack);

    const RECT text{17, 43, 331, 221};
    EXPECT_GT(CountNear(image, text, 0x1F6FD0), 400) << "the text in its colour";
    EXPECT_GT(CountNear(image, RECT{17, 43, 331, 60}, 0x1F6FD0), 40) << "the first line shows";
    EXPECT_EQ(CountNear(image, RECT{331, 60, 347, 200}, 0x1F6FD0), 0) << "nothing under the bar";
    EXPECT_EQ(image.Pixel(12, 100), 0xB8C4D6FFu) << "the border";
    EXPECT_EQ(image.Pixel(14, 100), 0xFFFFFFFFu) << "the inset keeps the background";
}

TEST(SkinView, AListShowsItsHeaderRowsAndStates) {
    // The list (10,10)-(350,230) with a 1-pixel inset: its header 24 high from y 11, rows
    // 22 high from y 35, and the body's bar down x 333..349.
    const Image image = Render(L"list.xml");
    ASSERT_EQ(image.width, 360);
    const auto row = [](int index, int dy) { return 35 + index * 22 + dy; };
    EXPECT_EQ(image.Pixel(300, 15), 0x3A4A60FFu) << "header";
    EXPECT_EQ(image.Pixel(300, row(0, 5)), 0xFFFFFFFFu) << "even rows: the item colour";
    EXPECT_EQ(image.Pixel(300, row(0, 21)), 0xD5DDE8FFu) << "the line under a row";
    EXPECT_EQ(image.Pixel(300, row(1, 5)), 0xEAF0F7FFu) << "odd rows: the list's colour";
    EXPECT_EQ(image.Pixel(300, row(2, 5)), 0x2F6FD0FFu) << "selected";
    EXPECT_EQ(image.Pixel(300, row(4, 5)), 0xF0F0F0FFu) << "disabled";
    EXPECT_EQ(image.Pixel(300, row(5, 5)), 0xEAF0F7FFu) << "a container row";

    EXPECT_GT(CountNear(image, RECT{11, row(0, 0), 160, row(0, 20)}, 0x202830, 60), 10);
    EXPECT_GT(CountNear(image, RECT{11, row(1, 0), 160, row(1, 20)}, 0x202830, 60), 10);
    EXPECT_GT(CountNear(image, RECT{11, row(2, 0), 160, row(2, 20)}, 0xFFFFFF, 30), 10)
        << "selected text";
    EXPECT_GT(CountNear(image, RECT{11, row(3, 0), 200, row(3, 20)}, 0x0000FF, 40), 5) << "a link";
    EXPECT_GT(CountNear(image, RECT{11, row(4, 0), 160, row(4, 20)}, 0xA0A8B0, 30), 5)
        << "disabled text";
    EXPECT_GT(CountNear(image, RECT{261, row(5, 0), 333, row(5, 20)}, 0x2E8B57, 40), 5)
        << "a label inside a container row";
    EXPECT_GT(CountNear(image, RECT{11, 11, 160, 35}, 0xFFFFFF, 30), 10) << "header text";

    // The bar: neither row nor list colour all the way down.
    const RECT bar{333, row(0, 0), 349, 229};
    const int area = (bar.right - bar.left) * (bar.bottom - bar.top);
    EXPECT_LT(CountNear(image, bar, 0xFFFFFF, 0) + CountNear(image, bar, 0xEAF0F7, 0), area);
}

TEST(SkinView, EntryAndValueControlsShowTheirTextsAndValues) {
    const Image image = Render(L"controls.xml");
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, 220);
    constexpr unsigned kTrack = 0xE6EAF0FF, kBar = 0x2F7BD8FF, kThumb = 0x4A5B70FF,
                       kBackground = 0xF4F6FAFF;
    // The download bar (12,76)-(308,88) at 40 of 100: 118 of its 296 pixels.
    EXPECT_EQ(image.Pixel(12, 82), kBar);
    EXPECT_EQ(image.Pixel(129, 82), kBar);
    EXPECT_EQ(image.Pixel(130, 82), kTrack);
    EXPECT_EQ(image.Pixel(307, 82), kTrack);
    // The slider (12,96)-(308,116) at 25: its 12-pixel thumb at 12 + 284 / 4 = 83, over
    // a bar of 74 and a track drawn from 100 to 112.
    EXPECT_EQ(image.Pixel(50, 100), kBar);
    EXPECT_EQ(image.Pixel(82, 98), kBar);
    EXPECT_EQ(image.Pixel(83, 98), kThumb);
    EXPECT_EQ(image.Pixel(94, 114), kThumb);
    EXPECT_EQ(image.Pixel(95, 106), kTrack);
    EXPECT_EQ(image.Pixel(200, 98), kBackground);
    // The level bar (12,124)-(24,204) at 75, filled from the bottom: from 144 down.
    EXPECT_EQ(image.Pixel(18, 143), kTrack);
    EXPECT_EQ(image.Pixel(18, 144), kBar);
    EXPECT_EQ(image.Pixel(18, 203), kBar);
    // Texts: both edits and the date.
    EXPECT_GT(CountNear(image, RECT{16, 15, 304, 33}, 0x202830, 60), 20) << "account";
    const RECT password{16, 47, 304, 65};
    const int passwordArea = (password.right - password.left) * (password.bottom - password.top);
    EXPECT_GT(passwordArea - CountNear(image, password, 0xFFFFFF), 10) << "password";
    EXPECT_GT(CountNear(image, RECT{34, 126, 306, 202}, 0x202830, 60), 20) << "date";
}

TEST(SkinView, CombosShowTheirChoiceAndATreeItsFoldsAndChecks) {
    // A row of two combos 24 high at y 10, over a tree from (10,42) with a 1-pixel inset:
    // rows 18 high from y 43, each an indent of 16 per level (none for a root), a folder
    // button and a check box of 18 pixels, then the text.
    const Image image = Render(L"combotree.xml");
    ASSERT_EQ(image.width, 360);
    const auto row = [](int index, int dy) { return 43 + index * 18 + dy; };
    EXPECT_GT(CountNear(image, RECT{16, 11, 160, 33}, 0x202830, 60), 10) << "the combo's choice";
    EXPECT_GT(CountNear(image, RECT{176, 11, 299, 33}, 0x202830, 60), 10) << "the box's choice";
    EXPECT_EQ(image.Pixel(302, 14), 0xE8EEF6FFu) << "the normal arrow frame at the right edge";
    EXPECT_EQ(image.Pixel(309, 22), 0x3A4A60FFu) << "the arrow";
    EXPECT_EQ(image.Pixel(250, 14), 0xFFFFFFFFu);

    EXPECT_EQ(image.Pixel(11 + 9, row(0, 7)), 0xFFFFFFFFu) << "Servers unfolded: a minus";
    EXPECT_EQ(image.Pixel(11 + 9, row(0, 9)), 0x3A4A60FFu);
    EXPECT_EQ(image.Pixel(29 + 9, row(4, 7)), 0x3A4A60FFu) << "Asia folded: a plus";
    EXPECT_EQ(image.Pixel(47 + 8, row(1, 8)), 0x2F6FD0FFu) << "Europe checked";
    EXPECT_EQ(image.Pixel(63 + 8, row(2, 8)), 0x2F6FD0FFu) << "Dawn, a level deeper, checked";
    EXPECT_EQ(image.Pixel(47 + 8, row(5, 8)), 0xFFFFFFFFu) << "Frost not checked";
    EXPECT_EQ(image.Pixel(47 + 3, row(5, 8)), 0x8090A8FFu) << "Frost's box";
    EXPECT_EQ(image.Pixel(29 + 3, row(6, 8)), 0x8090A8FFu) << "Friends, a root, right after";
    // Asia's server is hidden: Frost follows Asia, and the rows end after Gale.
    EXPECT_GT(CountNear(image, RECT{65, row(5, 0), 200, row(5, 18)}, 0x202830, 60), 5);
    EXPECT_GT(CountNear(image, RECT{65, row(7, 0), 200, row(7, 18)}, 0x202830, 60), 5);
    EXPECT_EQ(CountNear(image, RECT{11, row(8, 0), 340, row(8, 18)}, 0xFFFFFF, 0), (340 - 11) * 18);
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

// The gallery example's skin, so that its picture in the documentation cannot rot unseen.
TEST(SkinView, TheGallerysFirstPageShowsEveryKindOfControl) {
    // 720 x 440: a title bar (0..40) and tabs (40..74) over the first page, whose left
    // column starts at (18,88) and whose right one is 336 wide from x 366, then a status
    // bar from y 412.
    const Image image = Render(L"gallery\\gallery.xml");
    ASSERT_EQ(image.width, 720);
    ASSERT_EQ(image.height, 440);
    EXPECT_EQ(image.Pixel(300, 20), 0x1F2A3CFFu) << "title bar";
    EXPECT_EQ(image.Pixel(20, 45), 0xF4F6FAFFu) << "the chosen tab takes the page's colour";
    EXPECT_EQ(image.Pixel(150, 45), 0x2A3850FFu) << "the others the bar's";
    EXPECT_EQ(image.Pixel(400, 426), 0xE3E8F0FFu) << "status bar";
    EXPECT_GT(CountNear(image, RECT{14, 412, 300, 440}, 0x3A4A60, 50), 10) << "its text";

    // The formatted text (18,114)-(338,182): a red run, links, an inline image.
    const RECT intro{18, 114, 338, 182};
    EXPECT_GT(CountNear(image, intro, 0xD0443E, 30), 10) << "coloured";
    EXPECT_GT(CountNear(image, intro, 0x0000FF, 30), 10) << "links";
    EXPECT_GT(CountNear(image, intro, 0xF2B33D, 30), 10) << "the star";
    // Buttons (y 226..256): the image button's plate, the colour button's background, the
    // locked button's disabled plate.
    EXPECT_EQ(image.Pixel(22, 241), 0x3D7CDAFFu);
    EXPECT_EQ(image.Pixel(200, 241), 0xFFFFFFFFu);
    EXPECT_EQ(image.Pixel(320, 241), 0xDDE2E9FFu);
    // Options (y 328..350) and check boxes (y 356..378): Medium and Sound are chosen.
    EXPECT_EQ(image.Pixel(26, 339), 0xFFFFFFFFu) << "Low";
    EXPECT_EQ(image.Pixel(98, 339), 0x2F6FD0FFu) << "Medium";
    EXPECT_EQ(image.Pixel(22, 363), 0x2F6FD0FFu) << "Sound";
    EXPECT_EQ(image.Pixel(114, 363), 0xFFFFFFFFu) << "Music";

    // The right column: edits (y 114..140, 146..172), combos (216..242), the slider
    // (286..306), the progress bar (312..322) and the date (366..392).
    EXPECT_GT(CountNear(image, RECT{367, 115, 673, 139}, 0x202830, 60), 20) << "player";
    EXPECT_GT(CountNear(image, RECT{367, 147, 673, 171}, 0x202830, 60), 10) << "password";
    EXPECT_GT(CountNear(image, RECT{367, 217, 540, 241}, 0x202830, 60), 10) << "combo box";
    EXPECT_GT(CountNear(image, RECT{573, 217, 680, 241}, 0x202830, 60), 10) << "combo";
    EXPECT_EQ(image.Pixel(690, 229), 0x4A5B70FFu) << "the combo's arrow";
    // The slider, 282 wide at 60: its 14-pixel thumb at 366 + 268 * 60 / 100 = 526, the
    // bar before it, the track after it.
    EXPECT_EQ(image.Pixel(380, 295), 0x2F6FD0FFu);
    EXPECT_EQ(image.Pixel(533, 288), 0xFFFFFFFFu) << "thumb";
    EXPECT_EQ(image.Pixel(630, 295), 0xD5DCE6FFu);
    EXPECT_GT(CountNear(image, RECT{658, 286, 702, 306}, 0x202830, 60), 5) << "60 %";
    // The progress bar, 336 wide at 60: filled up to 366 + 201.
    EXPECT_NE(image.Pixel(566, 317), 0xD5DCE6FFu);
    EXPECT_EQ(image.Pixel(567, 317), 0xD5DCE6FFu);
    EXPECT_GT(CountNear(image, RECT{367, 367, 525, 391}, 0x202830, 60), 10) << "date";
}

TEST(SkinView, TheGallerysLayeredWindowKeepsItsShadowAndAlpha) {
    // 400 x 280: a shadow in the outer 16 pixels around a panel nine-tenths opaque with
    // round corners, holding a strip of six swatches that fade out (y 194..222: the
    // stretching space above the strip gives up the two gaps before it).
    const Image image = Render(L"gallery\\layered.xml");
    ASSERT_EQ(image.width, 400);
    ASSERT_EQ(image.height, 280);
    const auto alpha = [&image](int x, int y) { return image.Pixel(x, y) & 0xFF; };
    EXPECT_LT(alpha(0, 0), 8u) << "the corner is all but clear";
    EXPECT_GT(alpha(200, 12), alpha(200, 4)) << "the shadow darkens towards the panel";
    EXPECT_GT(alpha(200, 4), 0u);
    EXPECT_LT(alpha(200, 12), 0xE6u);
    EXPECT_GT(alpha(394, 140), 0u) << "and lies on every side";
    EXPECT_EQ(alpha(200, 100), 0xE6u) << "the panel";
    EXPECT_LT(alpha(17, 17), 0xE6u) << "its corners are round";
    EXPECT_EQ(image.Pixel(60, 208), 0x4A86E0FFu) << "the first swatch, opaque";
    EXPECT_LT(alpha(350, 208), 0xF0u) << "the last one lets the panel through";
    EXPECT_GT(alpha(350, 208), 0xE6u);
    EXPECT_GT(CountNear(image, RECT{36, 30, 300, 62}, 0xFFFFFF, 30), 20) << "the title";
}

TEST(SkinView, TheGallerySkinsBuildWithoutUnknownElements) {
    const skintest::TraceLines traces;
    for (const wchar_t* skin : {L"gallery.xml", L"layered.xml"}) {
        SkinUI::CDialogBuilder builder;
        const std::wstring path = kSkins + L"gallery\\" + skin;
        SkinUI::CControlUI* root =
            builder.Create(SkinUI::STRINGorID(path.c_str()), nullptr, nullptr, nullptr);
        EXPECT_NE(root, nullptr) << path;
        delete root;
    }
    for (const std::wstring& line : traces.Lines())
        ADD_FAILURE() << line;
}

} // namespace
