// The command a browser document sends its host when a script fails, shared by the
// browser controls' command targets.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace SkinUI {

/// CGID_DocHostCommandHandler, the group of the commands a document sends its host.
extern const GUID kDocHostCommandGroup;

/// IOleCommandTarget::Exec for a document host: a script error (input: the document)
/// is swallowed without a dialog and scripts keep running (output VT_BOOL VARIANT_TRUE,
/// S_OK). Other groups and commands are refused, a missing output or document too.
HRESULT ExecDocHostCommand(const GUID* group, DWORD commandId, VARIANT* input, VARIANT* output);

} // namespace SkinUI
