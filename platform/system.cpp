// Clock, sleeping and threads on POSIX.
#include "platform/system.h"

#include <locale.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <new>
#include <thread>

namespace {

std::atomic<long> fixedTimeSeconds{-1};

struct ThreadStart {
    void (*fn)(void*);
    void* argument;
};

void* runThread(void* data) {
    ThreadStart start = *static_cast<ThreadStart*>(data);
    delete static_cast<ThreadStart*>(data);
    start.fn(start.argument);
    return nullptr;
}

}  // namespace

uint32_t platformTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(milliseconds));
}

long platformTimeSeconds() {
    long fixed = fixedTimeSeconds.load();
    if (fixed >= 0) return fixed;
    return static_cast<long>(time(nullptr));
}

void platformFixTimeSeconds(long seconds) { fixedTimeSeconds.store(seconds < 0 ? -1 : seconds); }

void platformSleep(int milliseconds) {
    if (milliseconds <= 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool platformStartThread(void (*fn)(void*), void* argument) {
    if (!fn) return false;
    ThreadStart* start = new (std::nothrow) ThreadStart{fn, argument};
    if (!start) return false;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        delete start;
        return false;
    }
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    int result = pthread_create(&thread, &attributes, runThread, start);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        delete start;
        return false;
    }
    return true;
}

void* platformUseClassicNumbers() {
    static locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (classic == static_cast<locale_t>(0)) return nullptr;
    return static_cast<void*>(uselocale(classic));
}

void platformRestoreNumbers(void* token) {
    if (token) uselocale(static_cast<locale_t>(token));
}
