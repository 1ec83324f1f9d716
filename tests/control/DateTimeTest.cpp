// The date-time control in a shown window: today's date as text, the native date picker
// it opens over itself, keystrokes into the picker (Delete and Backspace clear, Escape
// cancels), the date committed when the picker loses the focus, and a picker that never
// outlives its control.
#include "FreedMemoryGuard.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "control/DateTimeUI.h"
#include "control/VerticalLayoutUI.h"

using namespace SkinUI;

namespace {

// A control whose memory faults once it is freed.
struct GuardedDateTime : CDateTimeUI, freedguard::GuardedAllocation {};

SYSTEMTIME Date(WORD year, WORD month, WORD day) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = 12;
    return time;
}

std::wstring Text(const CDateTimeUI& control) {
    return std::wstring(control.GetText().GetData());
}

std::wstring Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t text[16];
    swprintf(text, 16, L"%4d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

class DateTimeInput : public HostedTree {
protected:
    // A page inset 10,8 holding one control 24 high: it spans (10,8)-(290,32).
    CDateTimeUI* HostDate(CDateTimeUI* control = nullptr) {
        root = new CVerticalLayoutUI;
        page = new CVerticalLayoutUI;
        page->ApplyAttributeList(L"height=\"40\" inset=\"10,8,10,8\"");
        if (control == nullptr) control = new CDateTimeUI;
        control->ApplyAttributeList(L"height=\"24\"");
        page->Add(control);
        root->Add(page);
        Host(root);
        return control;
    }
    HWND Picker() const {
        return ::FindWindowExW(host->GetHWND(), nullptr, L"DateTimeWnd", nullptr);
    }
    // Focuses the control by a click and answers the picker it opened.
    HWND Open() {
        Send(WM_LBUTTONDOWN, 100, 20);
        Send(WM_LBUTTONUP, 100, 20);
        skintest::PumpMessages();
        return Picker();
    }
    SYSTEMTIME Shown(HWND picker) const {
        SYSTEMTIME time{};
        EXPECT_EQ(::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)),
                  GDT_VALID);
        return time;
    }
    void Key(HWND window, UINT key) {
        ::PostMessageW(window, WM_KEYDOWN, key, 1);
        ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
        skintest::PumpMessages();
    }
    void LoseFocus() {
        ::SetFocus(host->GetHWND());
        skintest::PumpUntil([this] { return Picker() == nullptr; });
    }

    CVerticalLayoutUI* root = nullptr;
    CVerticalLayoutUI* page = nullptr;
};

} // namespace

TEST_F(DateTimeInput, ANewControlShowsTodayAndSetTimeAloneLeavesTheText) {
    CDateTimeUI* control = HostDate();
    EXPECT_EQ(Text(*control), Today());
    control->SetTime(Date(2024, 2, 29));
    EXPECT_EQ(Text(*control), Today());
    EXPECT_EQ(control->GetTime().wDay, 29);
}

TEST_F(DateTimeInput, ThePickedDateBecomesTheTextWhenThePickerLosesTheFocus) {
    CDateTimeUI* control = HostDate();
    control->SetTime(Date(2024, 2, 28));
    const HWND picker = Open();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(host->manager.GetFocus(), control);
    EXPECT_EQ(::GetFocus(), picker);
    EXPECT_TRUE(::IsWindowVisible(picker));
    RECT placed{};
    ::GetWindowRect(picker, &placed);
    ::MapWindowPoints(nullptr, host->GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 8);
    EXPECT_EQ(placed.right, 290);
    EXPECT_EQ(placed.bottom, 32);
    SYSTEMTIME shown = Shown(picker);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 2);
    EXPECT_EQ(shown.wDay, 28);

    // The user picks the day and steps it up: a leap day.
    ::SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd'.'MM'.'yyyy"));
    ::SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 12));
    ::SendMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(5, 12));
    Key(picker, VK_UP);
    shown = Shown(picker);
    ASSERT_EQ(shown.wDay, 29) << "the day field took the key";
    EXPECT_EQ(Text(*control), Today()) << "nothing is taken before the focus goes";

    LoseFocus();
    EXPECT_EQ(Picker(), nullptr) << "the picker closed itself";
    EXPECT_EQ(Text(*control), L"2024-02-29");
    EXPECT_EQ(control->GetTime().wYear, 2024);
    EXPECT_EQ(control->GetTime().wMonth, 2);
    EXPECT_EQ(control->GetTime().wDay, 29);
}

TEST_F(DateTimeInput, EscapeKeepsTheOldDateAndDeleteOrBackspaceClearsTheText) {
    CDateTimeUI* control = HostDate();
    control->SetTime(Date(2024, 2, 29));
    HWND picker = Open();
    ASSERT_NE(picker, nullptr);
    LoseFocus();
    ASSERT_EQ(Text(*control), L"2024-02-29");

    // Changed in the picker, then Escape: date and text stay.
    picker = Open();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(Shown(picker).wDay, 29);
    SYSTEMTIME other = Date(2030, 7, 1);
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&other));
    Key(picker, VK_ESCAPE);
    EXPECT_TRUE(skintest::PumpUntil([this] { return Picker() == nullptr; })) << "Escape closes";
    EXPECT_EQ(Text(*control), L"2024-02-29");
    EXPECT_EQ(control->GetTime().wYear, 2024);

    // Delete empties the text; losing the focus afterwards does not bring it back.
    picker = Open();
    ASSERT_NE(picker, nullptr);
    Key(picker, VK_DELETE);
    EXPECT_EQ(Text(*control), L"");
    LoseFocus();
    EXPECT_EQ(Text(*control), L"");

    // Opened on an empty text, the picker starts at today.
    picker = Open();
    ASSERT_NE(picker, nullptr);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const SYSTEMTIME shown = Shown(picker);
    EXPECT_EQ(shown.wYear, now.wYear);
    EXPECT_EQ(shown.wMonth, now.wMonth);
    EXPECT_EQ(shown.wDay, now.wDay);
    Key(picker, VK_BACK);
    EXPECT_EQ(Text(*control), L"");
    EXPECT_TRUE(skintest::PumpUntil([this] { return Picker() == nullptr; }));
}

TEST_F(DateTimeInput, TheDropDownCalendarPicksADateWithoutClosingThePicker) {
    CDateTimeUI* control = HostDate();
    control->SetTime(Date(2024, 2, 10));
    const HWND picker = Open();
    ASSERT_NE(picker, nullptr);
    RECT area{};
    ::GetClientRect(picker, &area);
    const LPARAM button = MAKELPARAM(area.right - 5, area.bottom / 2);
    ::SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, button);
    ::SendMessageW(picker, WM_LBUTTONUP, 0, button);
    const auto calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(::GetFocus(), calendar);
    skintest::PumpMessages();
    ASSERT_TRUE(::IsWindow(picker)) << "the calendar took the focus, not the user";

    // A day of the calendar: the calendar closes and the picker has the focus again.
    RECT days{};
    ::GetClientRect(calendar, &days);
    const LPARAM day = MAKELPARAM(days.right / 2, days.bottom / 2);
    ::SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, day);
    ::SendMessageW(calendar, WM_LBUTTONUP, 0, day);
    skintest::PumpMessages();
    ASSERT_TRUE(::IsWindow(picker));
    EXPECT_EQ(::GetFocus(), picker);
    const SYSTEMTIME picked = Shown(picker);
    EXPECT_EQ(Text(*control), Today()) << "nothing taken yet";

    LoseFocus();
    wchar_t expected[16];
    swprintf(expected, 16, L"%4d-%02d-%02d", picked.wYear, picked.wMonth, picked.wDay);
    EXPECT_EQ(Text(*control), expected);
}

TEST_F(DateTimeInput, ThePickerGoesWithItsControl) {
    freedguard::Scope guard;
    HostDate(new GuardedDateTime);
    const HWND picker = Open();
    ASSERT_NE(picker, nullptr);
    root->Remove(page);
    page = nullptr;
    skintest::PumpMessages();
    EXPECT_FALSE(::IsWindow(picker)) << "the picker went with its control";
    // What a user could still do to a picker left behind: leave it.
    if (::IsWindow(picker)) {
        ::SetFocus(host->GetHWND());
        skintest::PumpMessages();
    }
    EXPECT_EQ(freedguard::Faults(), 0) << "the freed control was written to";
}
