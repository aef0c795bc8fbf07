// A single-line edit control as the calculators need it, owning its field's behaviour:
// typed characters pass its group's key filter (the txtFormulaN_KeyPress handlers),
// and gaining the focus by keyboard or mouse selects the whole text (txtFormulaN_GotFocus).
#pragma once

#include "calc/key_filter.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace calc {

class NumberField {
  public:
    NumberField() = default;
    NumberField(const NumberField&) = delete;
    NumberField& operator=(const NumberField&) = delete;
    ~NumberField();

    // Creates the edit as control `id` of `parent` at `pixels`; `keys` are the characters
    // besides digits that its group lets through.
    bool Create(HWND parent, int id, const RECT& pixels, bool readOnly, std::string_view text,
                KeyPermissions keys);

    HWND Handle() const { return hwnd_; }
    // The text as UTF-8, and setting it. The same text is not written again: an edit
    // notifies a change on every WM_SETTEXT, so a calculator's run after its own result
    // changed ends there instead of recomputing without end.
    std::string Text() const;
    void SetText(std::string_view utf8);

  private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void KeyPress(int16_t& keyAscii) const;
    void GotFocus();

    HWND hwnd_ = nullptr;
    KeyPermissions keys_{};
    bool activatingPress_ = false; // the left press about to come activates the window
};

} // namespace calc
