// The client's message loop and what follows it.
#pragma once

/// Runs the thread's message loop until the program is asked to quit, then closes what
/// SkinUI keeps open for the whole process (the cached skin archive).
void RunClientLoop();
