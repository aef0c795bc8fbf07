#include "calc/converter.h"

#include "calc/number_text.h"
#include "controls/field_value.h"

namespace calc {

std::string PartnerText(const ConverterPair& pair, int index, std::string_view text) {
    return TwoDecimalText(controls::FieldValue(text) * pair.factor.at(index));
}

} // namespace calc
