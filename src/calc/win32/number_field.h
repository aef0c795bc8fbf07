// A single-line edit control as the calculators need it: typed characters pass a key
// filter, gaining the focus (by keyboard or mouse) selects the whole text, and a change
// is reported only when the text really changed.
#pragma once

#include "controls/win32/accessible_name.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace calc {

class NumberField;

// What a field reports to the window that owns its handlers.
class FieldEvents {
  public:
    virtual void KeyPress(NumberField& field, int16_t& keyAscii) = 0;
    virtual void GotFocus(NumberField& field) = 0;
    virtual void Change(NumberField& field) = 0;

  protected:
    ~FieldEvents() = default;
};

class NumberField {
  public:
    NumberField() = default;
    NumberField(const NumberField&) = delete;
    NumberField& operator=(const NumberField&) = delete;
    ~NumberField();

    // Creates the edit on `parent` at `pixels`; `group` and `index` identify it to the
    // host, like a control array's name and index.
    bool Create(HWND parent, int id, const RECT& pixels, bool readOnly, std::string_view text,
                FieldEvents& events, int group, int index);

    HWND Handle() const { return hwnd_; }
    int Group() const { return group_; }
    int Index() const { return index_; }

    // The text as UTF-8, and setting it (a change notification follows if it differs;
    // the same text is not written again).
    std::string Text() const;
    void SetText(std::string_view utf8);
    void SelectAll();
    // What a screen reader announces the field as.
    void SetAccessibleName(controls::AccessibleName name) { accessibleName_ = std::move(name); }

    // The host passes on the edit's EN_CHANGE and EN_SETFOCUS notifications.
    void OnEnChange();
    void OnEnSetFocus();

  private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    std::wstring WideText() const;

    HWND hwnd_ = nullptr;
    FieldEvents* events_ = nullptr;
    int group_ = -1;
    int index_ = -1;
    std::wstring lastText_; // the text as last reported, to drop notifications of no change
    controls::AccessibleName accessibleName_;
};

} // namespace calc
