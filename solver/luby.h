// The Luby sequence 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...: lengths of runs that restart a search, so that
// short runs are tried often and long ones now and then.
#pragma once
#include <cstdint>

// Element i of the sequence, counted from 1.
inline uint64_t luby(uint64_t i) {
    uint64_t size = 1;
    int power = 0;
    while (size < i + 1) {
        size = 2 * size + 1;
        ++power;
    }
    uint64_t x = i - 1;
    while (size - 1 != x) {
        size >>= 1;
        --power;
        x %= size;
    }
    return 1ull << power;
}
