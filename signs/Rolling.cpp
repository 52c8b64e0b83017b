#include "signs/Rolling.h"

#include <algorithm>
#include <limits>

namespace signs {

std::optional<std::int32_t> rolledPosition(std::int32_t position, int keyCode, std::int16_t step) {
    std::int64_t next = position;
    if (keyCode == kKeyUp)
        next += step;
    else if (keyCode == kKeyDown)
        next -= step;
    else
        return std::nullopt;
    next = std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(next);
}

}  // namespace signs
