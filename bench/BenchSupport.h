// What the benchmark programs share: a clock and plain sample text.
#pragma once

#include <windows.h>

#include <string>

// Seconds on the performance counter.
inline double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Action>
double Seconds(Action action)
{
    double start = Now();
    action();
    return Now() - start;
}

// Whole lines of plain text ended by CR LF, at least `bytes` of them.
inline std::string PlainText(size_t bytes)
{
    const std::string line = "The quick brown fox jumps over the lazy dog, and the dog sleeps on in the sun.\r\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes)
        text += line;
    return text;
}
