// A label that shows a date as "yyyy-mm-dd" and, focused or clicked, lays a native date
// picker (CDateTimeWnd) over itself. The picker closes itself when it loses the focus and
// its date becomes the control's; Delete or Backspace clear the text, Escape cancels.
#pragma once

#include <windows.h>

#include "control/LabelUI.h"

namespace SkinUI {

class CDateTimeWnd;
template <typename TOwner> class COwnedNativeWnd;

class CDateTimeUI : public CLabelUI {
public:
    /// What the picker's closing does to the text: `UpdateText` follows it.
    enum UpdateMode { kUpdateNone = 0, kUpdateSet = 1, kUpdateDelete = 2, kUpdateKeep = 3 };

    /// Today's date, shown as text.
    CDateTimeUI();
    /// Closes a picker that is still open: it never outlives the control.
    ~CDateTimeUI() override;

    /// "DateTimeUI".
    const wchar_t* GetClass() const override;
    /// This control for "DateTime", else the label's answer.
    void* GetInterface(const wchar_t* name) override;

    /// The stored date; the text shows it once the picker closes with a date.
    SYSTEMTIME& GetTime();
    /// Stores the date without changing the text.
    void SetTime(const SYSTEMTIME& time);
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    /// Empties the text in delete mode, writes the date in update mode, else nothing.
    void UpdateText();

    /// Opens the picker on focus and on clicks.
    void DoEvent(TEventUI& event) override;

private:
    friend class CDateTimeWnd;
    friend class COwnedNativeWnd<CDateTimeUI>;

    /// Opens (or opens again) the picker over the control and shows it.
    void OpenPicker();

    SYSTEMTIME m_sysTime{};
    int m_nDTUpdateFlag = kUpdateNone;
    bool m_bReadOnly = false;
    CDateTimeWnd* m_pWindow = nullptr; ///< owned by the native window while it is open
};

} // namespace SkinUI
