#include "control/CheckBoxUI.h"

namespace SkinUI {

const wchar_t* CCheckBoxUI::GetClass() const {
    return L"CheckBoxUI";
}

bool CCheckBoxUI::GetCheck() const {
    return IsSelected();
}

void CCheckBoxUI::SetCheck(bool check) {
    Selected(check);
}

} // namespace SkinUI
