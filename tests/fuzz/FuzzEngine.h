// The in-process fuzzing engine every driver shares: a seeded mutator over a corpus of
// real inputs, per-input time and memory budgets, and reproducers for whatever crashes,
// hangs or overruns. A driver names its target, its corpus extensions and a few tokens,
// and gives the function that runs one input.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

/// Small, fast and fully determined by its seed (splitmix64), so that a run is
/// reproducible from the seed alone.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    /// A number below `bound` (0 when `bound` is 0).
    std::size_t Below(std::size_t bound) {
        return bound == 0 ? 0 : static_cast<std::size_t>(Next() % bound);
    }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

private:
    std::uint64_t m_state;
};

/// What a driver tells the engine.
struct Target {
    /// Short name: the corpus and regression folders, the reproducer files.
    const char* name;
    /// File name endings (lower case, with the dot) taken into the corpus; empty takes all.
    std::vector<std::string> extensions;
    /// Pieces of input worth inserting: element and attribute names, keywords, magic bytes.
    std::vector<std::string> tokens;
    /// Once before the first input (windows, fonts, fixed archives).
    void (*setUp)() = nullptr;
    /// Runs one input; returns normally whatever the input holds.
    void (*run)(const std::uint8_t* data, std::size_t size) = nullptr;
};

/// Mutates `input` in place with one to a few of the engine's mutations (byte flips,
/// truncation, splicing with `other`, duplicated ranges, deep nesting, huge numbers, long
/// values, invalid UTF-8 and UTF-16, byte-order marks, tokens), at most `maxSize` bytes.
void Mutate(Bytes& input, const Bytes& other, const std::vector<std::string>& tokens,
            Random& random, std::size_t maxSize);

/// A 64-bit hash of the bytes, for drivers that choose variations from the input itself.
std::uint64_t Hash(const std::uint8_t* data, std::size_t size);

/// The folder of the running executable, with a trailing back-slash.
std::wstring ExecutableDirectory();

/// Runs the driver: parses the command line (see Usage in FuzzEngine.cpp), then fuzzes or
/// replays. 0 when nothing was found, 1 on a finding, 2 on a usage error.
int Main(const Target& target, int argc, wchar_t** argv);

} // namespace fuzz
