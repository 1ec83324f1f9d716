#include "core/WaitCursor.h"

namespace SkinUI {

CWaitCursor::CWaitCursor() : m_previousCursor(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

CWaitCursor::~CWaitCursor() {
    ::SetCursor(m_previousCursor);
}

} // namespace SkinUI
