// The unit converter's pairs: metres and feet, km/h and mph.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace calc {

// One pair of fields; factor[i] converts the value of field i into its partner's unit.
// The two directions are separate constants, not reciprocals of each other.
struct ConverterPair {
    std::array<double, 2> factor;
};

inline constexpr ConverterPair kMetresFeet{{3.280839895, 0.3048}};
inline constexpr ConverterPair kKmphMph{{0.621371192, 1.609344}};

// The text for the partner of field `index` (0 or 1) whose text is `text`.
std::string PartnerText(const ConverterPair& pair, int index, std::string_view text);

} // namespace calc
