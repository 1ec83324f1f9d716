#pragma once

#include <windows.h>

namespace SkinUI {

// Sees window messages before the paint manager; setting handled consumes one,
// and the returned value becomes its result.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

} // namespace SkinUI
