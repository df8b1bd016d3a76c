#pragma once
// Points the log at a string for the life of a test and gives back what was written, by line.

#include "platform/platform_state.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture() { Log.rdbuf(text.rdbuf()); }
    ~LogCapture() { Log.rdbuf(std::cerr.rdbuf()); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Every complete line written since the last call.
    std::vector<std::string> TakeLines() {
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(text, line)) {
            lines.push_back(line);
        }
        text.clear();
        return lines;
    }

private:
    std::stringstream text;
};
