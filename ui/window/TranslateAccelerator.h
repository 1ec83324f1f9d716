#pragma once

#include <windows.h>

namespace SkinUI {

// Offered every queued message of the loop; returns 0 when it consumed it.
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

} // namespace SkinUI
