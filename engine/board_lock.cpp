// A ticket lock: each thread that asks draws the next number and waits until
// that number is served, so a thread that releases the lock and asks again at
// once (the player between two frames) queues behind the window.
#include "engine/board_lock.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

std::mutex state;  // guards the three fields below
std::condition_variable turnChanged;
uint64_t nextTicket = 0;
uint64_t nowServing = 0;
std::thread::id holder;  // the thread that holds the lock, or none
std::atomic<std::thread::id> windowThread{std::thread::id()};

}  // namespace

void markWindowThread() { windowThread = std::this_thread::get_id(); }
bool onWindowThread() { return windowThread.load() == std::this_thread::get_id(); }

void lockBoard() {
    std::unique_lock<std::mutex> guard(state);
    if (holder == std::this_thread::get_id()) {
        // Taking it twice would wait for ever: a fault of the program, not of the user.
        std::fprintf(stderr, "the board lock is not recursive\n");
        std::abort();
    }
    const uint64_t ticket = nextTicket++;
    turnChanged.wait(guard, [ticket] { return nowServing == ticket; });
    holder = std::this_thread::get_id();
}

// For the tests: takes the lock only when nobody holds it or waits for it.
bool tryLockBoard() {
    std::lock_guard<std::mutex> guard(state);
    if (nowServing != nextTicket) return false;
    ++nextTicket;
    holder = std::this_thread::get_id();
    return true;
}

void unlockBoard() {
    {
        std::lock_guard<std::mutex> guard(state);
        holder = std::thread::id();
        ++nowServing;
    }
    turnChanged.notify_all();
}

bool boardLockHeldHere() {
    std::lock_guard<std::mutex> guard(state);
    return holder == std::this_thread::get_id();
}
