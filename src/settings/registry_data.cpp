#include "settings/registry_data.h"

namespace settings {

bool DecodeRegistryValue(uint32_t type, std::span<const uint8_t> bytes, std::string& result) {
    if (bytes.empty()) {
        result.clear();
        return false;
    }
    if (bytes.back() == 0)
        bytes = bytes.first(bytes.size() - 1);
    if (type == kRegSz) {
        result.assign(bytes.begin(), bytes.end());
    } else if (type == kRegDword) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (auto b = bytes.rbegin(); b != bytes.rend(); ++b) {
            result += kHex[*b >> 4];
            result += kHex[*b & 0xF];
        }
        result.insert(0, "&h");
    }
    return true;
}

} // namespace settings
