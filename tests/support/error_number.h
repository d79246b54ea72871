#pragma once
// The VB error number a statement raises, 0 when it raises none.
#include "host/error.h"

#include <functional>

namespace testing_support {

inline int errorNumber(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const host::Error &e) {
        return e.number();
    }
    return 0;
}

} // namespace testing_support
