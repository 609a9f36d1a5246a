// Waits of the tests for another thread: each has a deadline, and a wait that
// runs out stops the test program with the name of what never came, instead of
// hanging until CTest's own timeout.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

// Polls `done` every millisecond until it holds; after `seconds` (generous: the
// sanitizer builds run many times slower) it names `what` and aborts.
template <class Done>
void waitUntil(const char* what, Done done, int seconds = 60) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "timed out after %d s waiting until %s\n", seconds, what);
            std::abort();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
