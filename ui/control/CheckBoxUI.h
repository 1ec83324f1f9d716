// An option that speaks of checking: a check box is a lone option (or one of a group)
// whose selection is its check mark.
#pragma once

#include "control/OptionUI.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
public:
    /// "CheckBoxUI"; its interface name stays "Option".
    const wchar_t* GetClass() const override;

    /// Whether the box is checked (selected).
    bool GetCheck() const;
    /// Checks or clears the box (selects or deselects).
    void SetCheck(bool check);
};

} // namespace SkinUI
