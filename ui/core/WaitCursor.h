#pragma once

#include <windows.h>

namespace SkinUI {

// Shows the system wait cursor for the lifetime of a local object, then restores the
// cursor that was current before.
class CWaitCursor {
public:
    CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor();

private:
    HCURSOR m_previousCursor;
};

} // namespace SkinUI
