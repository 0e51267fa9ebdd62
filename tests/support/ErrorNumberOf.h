#pragma once

#include "core/VbError.h"

#include <functional>

// The number of the VbError that `f` throws, or 0 when it throws none.
inline qint64 ErrorNumberOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.number();
    }
    return 0;
}
