// The registry-value decoder on any type, prior result text (its length in byte 1) and
// bytes, which end where libFuzzer's buffer ends so that a read past them is caught.
#include "fuzz_check.h"
#include "settings/registry_data.h"

#include <algorithm>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    constexpr uint32_t kTypes[] = {0, 1, 2, 3, 4, 7, 11, 0xFFFFFFFF};
    const uint32_t type = kTypes[data[0] % std::size(kTypes)];
    const size_t held = std::min<size_t>(data[1] % 16, size - 2);
    const std::string entry(reinterpret_cast<const char*>(data + 2), held);
    const std::span<const uint8_t> bytes(data + 2 + held, size - 2 - held);
    std::string result = entry;
    FUZZ_CHECK(settings::DecodeRegistryValue(type, bytes, result) == !bytes.empty());
    const size_t kept = bytes.empty() ? 0 : bytes.size() - (bytes.back() == 0);
    if (bytes.empty())
        FUZZ_CHECK(result.empty());
    else if (type == settings::kRegSz)
        FUZZ_CHECK(result == std::string(bytes.begin(), bytes.begin() + kept));
    else if (type == settings::kRegDword)
        FUZZ_CHECK(result.size() == 2 + held + 2 * kept && result.starts_with("&h" + entry));
    else
        FUZZ_CHECK(result == entry);
    return 0;
}
