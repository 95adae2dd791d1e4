#pragma once
// Basic value conventions shared by the whole core.

#include <array>
#include <stdexcept>
#include <string>

namespace vm880 {

// Settings are 8-bit text exactly as the settings file holds them (Latin-1 bytes).
using Text = std::string;

// Flags keep the controller program's convention: true is -1, false is 0,
// and a flag is tested as "not 0".
using Flag = int;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

// Status convention of checks and long operations.
inline constexpr int kValid = 0;
inline constexpr int kInvalid = 8;
inline constexpr int kDone = 0;
inline constexpr int kFailed = 8;

// A fixed-size array indexed from 1, so `HangTime(2)` reads as the settings key "HangTime(2)".
template <typename T, int N>
class Array1 {
public:
    static constexpr int size() { return N; }
    T& operator()(int i) { return items_.at(checked(i)); }
    const T& operator()(int i) const { return items_.at(checked(i)); }
    void fill(const T& value) { items_.fill(value); }

private:
    static std::size_t checked(int i)
    {
        if (i < 1 || i > N)
            throw std::out_of_range("index " + std::to_string(i) + " outside 1.." + std::to_string(N));
        return static_cast<std::size_t>(i - 1);
    }
    std::array<T, N> items_{};
};

// A two-dimensional 1-based array: courtesy tones are (port 1..3, tone 1..10).
template <typename T, int N1, int N2>
class Array2 {
public:
    T& operator()(int i, int j) { return rows_(i)(j); }
    const T& operator()(int i, int j) const { return rows_(i)(j); }
    void fill(const T& value)
    {
        for (int i = 1; i <= N1; ++i)
            rows_(i).fill(value);
    }

private:
    Array1<Array1<T, N2>, N1> rows_;
};

template <int N> using TextArray = Array1<Text, N>;
template <int N> using FlagArray = Array1<Flag, N>;
using PortTexts = Array1<Text, 3>;
using PortFlags = Array1<Flag, 3>;
using CourtesyTexts = Array2<Text, 3, 10>;
using CourtesyFlags = Array2<Flag, 3, 10>;

} // namespace vm880
