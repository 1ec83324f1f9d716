// Appends the stand-in's event lines to the log file named in StandInProtocol.h.
#pragma once

#include <string>

class StandInLog {
public:
    // Appends "<event>" or "<event> <argument>" and a line feed, in UTF-8.
    // Failures are silent: the log is only a window for tests.
    static void Write(const char* event, const std::wstring& argument = std::wstring());

    // Path of the log file for this process's environment.
    static std::wstring Path();
};
