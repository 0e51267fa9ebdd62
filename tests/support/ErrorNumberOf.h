#pragma once

#include "core/NumberedError.h"

#include <functional>

// The number of the NumberedError that `f` throws, or 0 when it throws none.
inline qint64 ErrorNumberOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const NumberedError& e) {
        return e.number();
    }
    return 0;
}
