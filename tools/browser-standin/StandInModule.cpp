#include "StandInModule.h"

#include "StandInProtocol.h"

HINSTANCE StandInModule::module_ = nullptr;
LONG StandInModule::objects_ = 0;
LONG StandInModule::locks_ = 0;
bool StandInModule::classRegistered_ = false;

HINSTANCE StandInModule::Handle() {
    return module_;
}

void StandInModule::SetHandle(HINSTANCE module) {
    module_ = module;
}

void StandInModule::ObjectCreated() {
    InterlockedIncrement(&objects_);
}

void StandInModule::ObjectDestroyed() {
    InterlockedDecrement(&objects_);
}

void StandInModule::Lock(bool lock) {
    if (lock)
        InterlockedIncrement(&locks_);
    else
        InterlockedDecrement(&locks_);
}

bool StandInModule::CanUnload() {
    return objects_ == 0 && locks_ == 0;
}

bool StandInModule::RegisterWindowClass(WNDPROC procedure) {
    if (classRegistered_) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = StandIn::kWindowClass;
    classRegistered_ = RegisterClassExW(&windowClass) != 0;
    return classRegistered_;
}

void StandInModule::UnregisterWindowClass() {
    // A DLL's classes outlive it unless removed: a reloaded copy would find the
    // name taken, with the old procedure address behind it.
    if (classRegistered_) UnregisterClassW(StandIn::kWindowClass, module_);
    classRegistered_ = false;
}
