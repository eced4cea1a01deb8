// The window every demo plug-in function opens: it shows what the entry
// point received, so that a user trying the demo suite sees which library,
// entry point, user number, window id and parameter text the front-end
// handed over.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace taskgate_demo {

// What an entry point received. The forms without a window id or without a
// parameter text leave those empty.
struct Received {
    const char *library;  // the library as the suite's tables name it
    const char *function; // the entry point's exported name
    int32_t user;
    std::optional<int32_t> windowId;
    std::optional<QByteArray> text; // in the suite's code page (Windows-1252)
};

// Opens a non-modal window titled with the function name and returns at
// once. A window opened for a window id other than 0 records its native
// handle with the front-end and releases the window's semaphore when it
// closes; window id 0 (the front-end does not track windows) names no
// window, so nothing is recorded or released for it.
void openWindow(const Received &received);

// The bytes of a counted text; empty for the null pointer.
QByteArray countedBytes(const char *countedText);
// The bytes of a plain, zero-terminated text.
QByteArray plainBytes(const char *plainText);

} // namespace taskgate_demo
