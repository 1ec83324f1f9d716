#include "window/EventUI.h"

namespace SkinUI {

WORD MapKeyState() {
    WORD state = 0;
    if (GetKeyState(VK_RBUTTON) < 0) state |= UIKEYSTATE_RBUTTON;
    if (GetKeyState(VK_LBUTTON) < 0) state |= UIKEYSTATE_LBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) state |= UIKEYSTATE_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) state |= UIKEYSTATE_CONTROL;
    if (GetKeyState(VK_MENU) < 0) state |= UIKEYSTATE_ALT;
    return state;
}

} // namespace SkinUI
