#include "winapi/input_script.h"

#include <algorithm>

namespace winapi::input {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        std::size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

// A decimal number within [least, most]; false for anything else (signs, other digits, overflow).
bool ParseNumber(std::string_view word, std::uint32_t least, std::uint32_t most,
                 std::uint32_t& value) {
    if (word.empty() || word.size() > 10) {
        return false;
    }
    std::uint64_t number = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (number < least || number > most) {
        return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

// A plain file name in the working folder: letters, digits, '_', '-' and '.', ending in ".png",
// not starting with '.'.
bool IsCaptureName(std::string_view name) {
    constexpr std::string_view suffix = ".png";
    if (name.size() <= suffix.size() || name.size() > 255 || name.front() == '.' ||
        !name.ends_with(suffix)) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

} // namespace

std::variant<InputScript, ScriptError> ParseInputScript(std::string_view text) {
    InputScript script;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = line.substr(0, line.find('#'));
        std::vector<std::string_view> words = Words(line);
        if (words.empty()) {
            continue;
        }
        ScriptStep step;
        if (words[0] == "close") {
            if (words.size() != 1) {
                return ScriptError{lineNumber, "expected `close` alone on its line"};
            }
            step.close = true;
        } else if (words[0] == "capture") {
            if (words.size() != 2 || !IsCaptureName(words[1])) {
                return ScriptError{lineNumber, "expected `capture NAME.png` with a plain file "
                                               "name (letters, digits, '_', '-', '.')"};
            }
            step.capture = std::string(words[1]);
        } else {
            if (!ParseNumber(words[0], 1, kMaxScriptFrames, step.frames)) {
                return ScriptError{lineNumber, "expected a frame count from 1 to " +
                                                   std::to_string(kMaxScriptFrames) +
                                                   ", `capture` or `close`, found `" +
                                                   std::string(words[0]) + "`"};
            }
            for (std::size_t i = 1; i < words.size(); ++i) {
                std::uint32_t key = 0;
                if (!ParseNumber(words[i], 1, 255, key)) {
                    return ScriptError{lineNumber, "expected a key code from 1 to 255, found `" +
                                                       std::string(words[i]) + "`"};
                }
                step.keys.set(key);
            }
        }
        script.steps.push_back(std::move(step));
    }
    return script;
}

void ScriptPlayer::PassMarks(std::vector<std::string>* captures) {
    while (step_ < script_.steps.size() && script_.steps[step_].frames == 0) {
        const ScriptStep& mark = script_.steps[step_];
        if (mark.close) {
            closeReached_ = true;
        } else if (captures != nullptr) {
            captures->push_back(mark.capture);
        } else {
            return; // a capture is for the frame after the next read; it waits for that read
        }
        ++step_;
    }
}

bool ScriptPlayer::Next(std::array<std::uint8_t, 256>& keys, std::vector<std::string>& captures) {
    keys.fill(0);
    PassMarks(&captures);
    if (step_ == script_.steps.size()) {
        return false;
    }
    const ScriptStep& step = script_.steps[step_];
    for (std::size_t key = 0; key < keys.size(); ++key) {
        if (step.keys.test(key)) {
            keys[key] = 0x80;
        }
    }
    if (++framesPlayed_ == step.frames) {
        framesPlayed_ = 0;
        ++step_;
        PassMarks(nullptr);
    }
    return true;
}

} // namespace winapi::input
