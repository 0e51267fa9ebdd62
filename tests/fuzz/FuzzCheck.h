#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: libFuzzer keeps the input that led here.
inline void Require(bool holds, const char* what, const QString& detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s %s\n", what, qPrintable(detail));
    std::abort();
}
