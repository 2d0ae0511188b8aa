// What the fuzz targets share: a check that stops the run on a broken
// property (libFuzzer then keeps the input), and the splitting of an input
// into texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Unlike assert, also active in optimised builds.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

// The input cut at every NUL byte: the texts a C string API can be handed.
inline std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size) {
    std::vector<std::string> texts(1);
    for (size_t index = 0; index < size; ++index) {
        if (data[index] == 0)
            texts.emplace_back();
        else
            texts.back().push_back(static_cast<char>(data[index]));
    }
    return texts;
}
