#include "controls/property.h"

#include <iterator>

namespace controls {

const char *propertyName(Property property)
{
    static constexpr const char *kNames[] = {
#define TESSARY_PROPERTY_NAME(name) #name,
        TESSARY_CONTROL_PROPERTIES(TESSARY_PROPERTY_NAME)
#undef TESSARY_PROPERTY_NAME
    };
    const auto i = static_cast<std::size_t>(property);
    return i < std::size(kNames) ? kNames[i] : "";
}

} // namespace controls
