// The registry-data decoder on any type, bytes and prior result text. Byte 0 picks the
// type, byte 1 the length of the text the result holds on entry (taken from the bytes
// after it); the rest are the value's bytes. They end where libFuzzer's buffer ends, so
// AddressSanitizer catches any read past them.
#include "fuzz_check.h"
#include "settings/registry_data.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace {

// REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD, and
// a type no registry has.
constexpr uint32_t kTypes[] = {0, 1, 2, 3, 4, 7, 11, 0xFFFFFFFF};

bool IsUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint32_t type = kTypes[data[0] % std::size(kTypes)];
    const size_t entryLength = std::min<size_t>(data[1] % 16, size - 2);
    const std::string entry(reinterpret_cast<const char*>(data + 2), entryLength);
    const std::span<const uint8_t> bytes(data + 2 + entryLength, size - 2 - entryLength);

    std::string result = entry;
    const bool ok = settings::DecodeRegistryValue(type, bytes, result);
    std::string again = entry;
    FUZZ_CHECK(settings::DecodeRegistryValue(type, bytes, again) == ok && again == result);

    FUZZ_CHECK(ok == !bytes.empty());
    if (!ok) {
        FUZZ_CHECK(result.empty());
    } else if (type == settings::kRegSz) {
        // The bytes themselves, at most one (a terminating NUL) fewer.
        FUZZ_CHECK(result.size() <= bytes.size() && result.size() + 1 >= bytes.size());
        FUZZ_CHECK(std::memcmp(result.data(), bytes.data(), result.size()) == 0);
    } else if (type == settings::kRegDword) {
        // "&h", the text held on entry, then two upper-case hex digits per byte kept.
        const std::string head = "&h" + entry;
        FUZZ_CHECK(result.starts_with(head));
        const size_t digits = result.size() - head.size();
        FUZZ_CHECK(digits % 2 == 0 && digits <= 2 * bytes.size() && digits + 2 >= 2 * bytes.size());
        FUZZ_CHECK(std::all_of(result.begin() + head.size(), result.end(), IsUpperHex));
    } else {
        FUZZ_CHECK(result == entry);
    }
    return 0;
}
