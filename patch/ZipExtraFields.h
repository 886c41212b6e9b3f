#pragma once

#include "patch/ZipBytes.h"
#include "patch/ZipFormat.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kitloom {

// The data of the extra field `id` among a header's `extraFields`; none when it is missing,
// or when a field before it claims more bytes than are left.
inline std::optional<std::string_view> findExtraField(std::string_view extraFields, std::uint16_t id)
{
    using namespace zipformat;
    while (extraFields.size() >= kExtraHeaderSize) {
        const std::uint16_t fieldId = zipbytes::read16(extraFields, kExtraId);
        const std::size_t size = zipbytes::read16(extraFields, kExtraSize);
        if (size > extraFields.size() - kExtraHeaderSize)
            return std::nullopt;
        if (fieldId == id)
            return extraFields.substr(kExtraHeaderSize, size);
        extraFields.remove_prefix(kExtraHeaderSize + size);
    }
    return std::nullopt;
}

}  // namespace kitloom
