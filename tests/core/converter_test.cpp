#include "calc/converter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PartnerText, BothWaysForBothPairs) {
    const struct {
        const calc::ConverterPair& pair;
        int index;
        std::string text, partner;
    } cases[] = {
        {calc::kMetresFeet, 0, "1", "3.28"},    {calc::kMetresFeet, 0, "10", "32.81"},
        {calc::kMetresFeet, 0, "-5", "-16.40"}, {calc::kMetresFeet, 1, "1", "0.30"},
        {calc::kMetresFeet, 1, "3.28", "1.00"}, {calc::kKmphMph, 0, "1", "0.62"},
        {calc::kKmphMph, 0, "100", "62.14"},    {calc::kKmphMph, 1, "1", "1.61"},
        {calc::kKmphMph, 1, "100", "160.93"},   {calc::kMetresFeet, 0, "", "0.00"},
        {calc::kMetresFeet, 1, "-", "0.00"},    {calc::kKmphMph, 0, ".", "0.00"},
        {calc::kKmphMph, 1, "1e400", "--"},     {calc::kMetresFeet, 0, "1,5", "3.28"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc::PartnerText(c.pair, c.index, c.text), c.partner)
            << "field " << c.index << " text \"" << c.text << "\"";
}

} // namespace
