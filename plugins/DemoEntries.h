// Entry points of the demo plug-ins, one macro per calling form. Each
// defines an exported function that opens the demo window with what it
// received; TASKGATE_DEMO_LIBRARY (set per library by the build) names the
// library in that window.
#pragma once

#include "DemoWindow.h"

#include <taskgate/plugin.h>

#define TASKGATE_DEMO_ENTRY(name) extern "C" TASKGATE_EXPORT void TASKGATE_CALL name

// The user number only.
#define TASKGATE_DEMO_PLAIN(name)                                                                                  \
    TASKGATE_DEMO_ENTRY(name)(int32_t user)                                                                        \
    {                                                                                                              \
        taskgate_demo::openWindow({TASKGATE_DEMO_LIBRARY, #name, user, std::nullopt, std::nullopt});               \
    }

// User number and parameter text (counted): second level, name ending in
// neither "X" nor "Y".
#define TASKGATE_DEMO_2(name)                                                                                      \
    TASKGATE_DEMO_ENTRY(name)(int32_t user, const char *countedText)                                               \
    {                                                                                                              \
        taskgate_demo::openWindow(                                                                                 \
            {TASKGATE_DEMO_LIBRARY, #name, user, std::nullopt, taskgate_demo::countedBytes(countedText)});         \
    }

// User number and window id: name ending in "X", first level.
#define TASKGATE_DEMO_X(name)                                                                                      \
    TASKGATE_DEMO_ENTRY(name)(int32_t user, int32_t windowId)                                                      \
    {                                                                                                              \
        taskgate_demo::openWindow({TASKGATE_DEMO_LIBRARY, #name, user, windowId, std::nullopt});                   \
    }

// User number, parameter text (counted) and window id: name ending in "X",
// second level.
#define TASKGATE_DEMO_2X(name)                                                                                     \
    TASKGATE_DEMO_ENTRY(name)(int32_t user, const char *countedText, int32_t windowId)                             \
    {                                                                                                              \
        taskgate_demo::openWindow(                                                                                 \
            {TASKGATE_DEMO_LIBRARY, #name, user, windowId, taskgate_demo::countedBytes(countedText)});             \
    }

// User number, window id and parameter text (plain): name ending in "Y",
// whatever the level.
#define TASKGATE_DEMO_3Y(name)                                                                                     \
    TASKGATE_DEMO_ENTRY(name)(int32_t user, int32_t windowId, const char *plainText)                               \
    {                                                                                                              \
        taskgate_demo::openWindow(                                                                                 \
            {TASKGATE_DEMO_LIBRARY, #name, user, windowId, taskgate_demo::plainBytes(plainText)});                 \
    }
