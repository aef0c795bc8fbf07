#include "settings/settings_code.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace settings {
namespace {

std::vector<std::string_view> SplitFields(std::string_view code) {
    std::vector<std::string_view> fields;
    if (code.empty())
        return fields;
    size_t start = 0;
    for (size_t colon; (colon = code.find(':', start)) != std::string_view::npos; start = colon + 1)
        fields.push_back(code.substr(start, colon - start));
    fields.push_back(code.substr(start));
    return fields;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A field as a number: sign, whole digits, fraction digits.
struct FieldNumber {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;

    bool IsZero() const {
        return whole.find_first_not_of('0') == std::string_view::npos &&
               fraction.find_first_not_of('0') == std::string_view::npos;
    }
};

std::optional<FieldNumber> ReadFieldNumber(std::string_view field) {
    std::string_view s = TrimBlanks(field);
    FieldNumber n;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        n.negative = s.front() == '-';
        s.remove_prefix(1);
    }
    size_t i = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    n.whole = s.substr(0, i);
    if (n.whole.empty())
        return std::nullopt;
    if (i < s.size()) {
        if (s[i] != '.')
            return std::nullopt;
        n.fraction = s.substr(i + 1);
        if (n.fraction.empty() ||
            n.fraction.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
    }
    return n;
}

// The number rounded to a whole number (half to even) if it lies in [lo, hi].
// Works on the digits themselves, so any length of text is handled exactly.
std::optional<int64_t> RoundedInRange(const FieldNumber& n, int64_t lo, int64_t hi) {
    std::string_view whole = n.whole;
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.size() > 12)
        return std::nullopt; // far beyond any range read here
    int64_t magnitude = 0;
    for (char c : whole)
        magnitude = magnitude * 10 + (c - '0');
    if (!n.fraction.empty()) {
        const char first = n.fraction.front();
        const bool restNonZero =
            n.fraction.substr(1).find_first_not_of('0') != std::string_view::npos;
        const bool above = first > '5' || (first == '5' && restNonZero);
        const bool tie = first == '5' && !restNonZero;
        if (above || (tie && magnitude % 2 == 1))
            ++magnitude;
    }
    const int64_t value = n.negative ? -magnitude : magnitude;
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

template <typename T> std::optional<T> ReadInteger(std::string_view field) {
    const auto n = ReadFieldNumber(field);
    if (!n)
        return std::nullopt;
    const auto v = RoundedInRange(*n, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!v)
        return std::nullopt;
    return static_cast<T>(*v);
}

std::optional<bool> ReadBoolean(std::string_view field) {
    const auto n = ReadFieldNumber(field);
    if (!n)
        return std::nullopt;
    return !n->IsZero();
}

} // namespace

std::optional<StoredSettings> ParseSettingsCode(std::string_view code) {
    const auto fields = SplitFields(code);
    if (fields.size() < 5)
        return std::nullopt;
    const auto dock = ReadBoolean(fields[0]);
    const auto corner = ReadInteger<int16_t>(fields[1]);
    const auto offsetX = ReadInteger<int32_t>(fields[2]);
    const auto offsetY = ReadInteger<int32_t>(fields[3]);
    const auto autoClose = ReadBoolean(fields[4]);
    if (!dock || !corner || !offsetX || !offsetY || !autoClose)
        return std::nullopt;
    StoredSettings stored{*dock, *corner, *offsetX, *offsetY, *autoClose, std::nullopt};
    if (fields.size() >= 6) {
        stored.bMetric = ReadBoolean(fields[5]);
        if (!stored.bMetric)
            return std::nullopt;
    }
    return stored;
}

void ApplyStoredSettings(const StoredSettings& stored, Settings& target) {
    target.bDockEnabled = stored.bDockEnabled;
    target.iDockCorner = stored.iDockCorner;
    target.lDockOffsetX = stored.lDockOffsetX;
    target.lDockOffsetY = stored.lDockOffsetY;
    target.bAutoClose = stored.bAutoClose;
    if (stored.bMetric)
        target.bMetric = *stored.bMetric;
}

std::string ComposeSettingsCode(const Settings& s) {
    auto flag = [](bool b) { return b ? "1" : "0"; };
    return std::string(flag(s.bDockEnabled)) + ":" + std::to_string(s.iDockCorner) + ":" +
           std::to_string(s.lDockOffsetX) + ":" + std::to_string(s.lDockOffsetY) + ":" +
           flag(s.bAutoClose) + ":" + flag(s.bMetric);
}

} // namespace settings
