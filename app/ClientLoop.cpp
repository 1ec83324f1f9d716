#include "ClientLoop.h"

#include "window/PaintManagerUI.h"

void RunClientLoop() {
    SkinUI::CPaintManagerUI::MessageLoop();
    SkinUI::CPaintManagerUI::Term();
}
