#include "calc/converter.h"

#include "calc/field_value.h"
#include "calc/number_text.h"

namespace calc {

std::string PartnerText(const ConverterPair& pair, int index, std::string_view text) {
    return TwoDecimalText(FieldValue(text) * pair.factor.at(index));
}

} // namespace calc
