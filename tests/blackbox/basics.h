// The driver's basics: its failure, text conversions, and waiting for a state.
// Operations that find the program not doing what they need throw Failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace blackbox {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] inline void Fail(const std::string& what) {
    throw Failure(what);
}

inline std::string Utf8(std::wstring_view text) {
    const int size = int(text.size());
    std::string out(
        size_t(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        0);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), int(out.size()), nullptr,
                        nullptr);
    return out;
}
inline std::wstring Wide(std::string_view utf8) {
    const int size = int(utf8.size());
    std::wstring out(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), 0);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), int(out.size()));
    return out;
}
inline std::string Quote(std::wstring_view text) { // shortened for messages
    std::string s(1, '"');
    s += Utf8(text.substr(0, 60));
    s += '"';
    if (text.size() > 60)
        s += "...(" + std::to_string(text.size()) + " characters)";
    return s;
}

// How often an action was repeated because its first attempt was lost on the way (a menu
// that Wine closed before it took the choice, a click swallowed by a late activation).
inline int& Retries() {
    static int retries = 0;
    return retries;
}

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 5) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (; !done(); Sleep(DWORD(pollMs)))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

} // namespace blackbox
