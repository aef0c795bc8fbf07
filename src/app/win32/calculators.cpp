// The main window's calculators: the fields' change handlers, recomputing and converting.
#include "app/win32/frmMain.h"

#include "calc/converter.h"
#include "calc/formulas.h"
#include "controls/win32/text.h"
#include "settings/win32/mMain.h"

namespace app {

calc::NumberField& frmMain::Field(Group group, int index) {
    return txtFormula_[static_cast<size_t>(group)][static_cast<size_t>(index)];
}

void frmMain::RecalcFormula(int n) {
    if (n < 1 || n > 4)
        return;
    const auto group = static_cast<Group>(n - 1);
    calc::FormulaResult out;
    calc::Evaluate(n, Field(group, 0).Text(), Field(group, 1).Text(), mMain::Settings().bMetric,
                   out);
    Field(group, 2).SetText(out.result);
    // The label repaints at once on every write, so the settling run's identical text
    // is not written again.
    if (n == 4 && controls::WindowText(lblFormula4extra) != controls::Widen(out.extra))
        SetWindowTextW(lblFormula4extra, controls::Widen(out.extra).c_str());
}

void frmMain::SetSpeedUnitLabel() {
    SetWindowTextW(lblKmph, mMain::Settings().bMetric ? L"Kmph" : L"Mph");
}

// A change of any field of a calculator, the result included, recomputes it.
void frmMain::txtFormula1_Change(int) {
    RecalcFormula(1);
}
void frmMain::txtFormula2_Change(int) {
    RecalcFormula(2);
}
void frmMain::txtFormula3_Change(int) {
    RecalcFormula(3);
}
void frmMain::txtFormula4_Change(int) {
    RecalcFormula(4);
}
void frmMain::txtFormula5a_Change(int index) {
    Convert(Group::Formula5a, index);
}
void frmMain::txtFormula5b_Change(int index) {
    Convert(Group::Formula5b, index);
}

// Field `index` of a converter pair changed: its partner gets the converted value.
void frmMain::Convert(Group pair, int index) {
    if (bConverting)
        return; // the change was made by the conversion in progress
    bConverting = true;
    const calc::ConverterPair& factors =
        pair == Group::Formula5a ? calc::kMetresFeet : calc::kKmphMph;
    if (index == 0 || index == 1)
        Field(pair, 1 - index)
            .SetText(calc::PartnerText(factors, index, Field(pair, index).Text()));
    bConverting = false;
}

} // namespace app
