// The main window's calculator handlers: recomputing, the key filter and the converter.
#include "app/win32/frmMain.h"
#include "controls/win32/text.h"

#include "calc/converter.h"
#include "calc/formulas.h"
#include "calc/key_filter.h"
#include "settings/win32/mMain.h"

namespace app {

void frmMain::RecalcFormula(int16_t n) {
    if (n < 1 || n > 4)
        return;
    ++recalcRuns_;
    calc::NumberField* fields = FieldsOf(n - 1);
    calc::FormulaResult out;
    calc::Evaluate(n, fields[0].Text(), fields[1].Text(), mMain::Settings().bMetric, out);
    fields[2].SetText(out.result);
    // The label repaints at once on every write, so the settling run's identical text
    // is not written again.
    if (n == 4 && controls::WindowText(lblFormula4extra) != out.extra)
        SetWindowTextW(lblFormula4extra, controls::Widen(out.extra).c_str());
}

void frmMain::KeyPress(calc::NumberField& field, int16_t& keyAscii) {
    txtFormula_KeyPress(field.Group(), keyAscii);
}

void frmMain::GotFocus(calc::NumberField& field) {
    txtFormula_GotFocus(field.Group(), static_cast<int16_t>(field.Index()));
}

void frmMain::Change(calc::NumberField& field) {
    txtFormula_Change(field.Group(), static_cast<int16_t>(field.Index()));
}

// txtFormula1_KeyPress ... txtFormula5b_KeyPress: each group's own permissions.
void frmMain::txtFormula_KeyPress(int group, int16_t& keyAscii) {
    const calc::KeyPermissions allowed = kGroupKeys[static_cast<size_t>(group)];
    calc::FilterNumericKey(keyAscii, allowed.decimal, allowed.minus);
}

// txtFormula1_GotFocus ... txtFormula5b_GotFocus: select the whole text.
void frmMain::txtFormula_GotFocus(int group, int16_t index) {
    FieldsOf(group)[index].SelectAll();
}

// txtFormula1_Change ... txtFormula4_Change recompute their calculator whichever field
// changed, the result included; txtFormula5a_Change and txtFormula5b_Change convert.
void frmMain::txtFormula_Change(int group, int16_t index) {
    switch (static_cast<Group>(group)) {
    case Group::Formula5a:
        txtFormula5_Change(txtFormula5a, index, group);
        break;
    case Group::Formula5b:
        txtFormula5_Change(txtFormula5b, index, group);
        break;
    default:
        RecalcFormula(static_cast<int16_t>(group + 1));
        break;
    }
}

void frmMain::txtFormula5_Change(calc::NumberField* pair, int16_t index, int group) {
    if (bConverting)
        return; // the change was made by the conversion in progress
    bConverting = true;
    const calc::ConverterPair& factors =
        static_cast<Group>(group) == Group::Formula5a ? calc::kMetresFeet : calc::kKmphMph;
    if (index == 0 || index == 1)
        pair[1 - index].SetText(calc::PartnerText(factors, index, pair[index].Text()));
    bConverting = false;
}

} // namespace app
