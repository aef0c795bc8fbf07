// The settings dialog of a running Ortelia, read and worked through its controls.
#pragma once

#include "processes.h"
#include "screen.h"
#include "settings/settings.h"

#include <windows.h>

#include <map>
#include <string>

namespace blackbox {

struct DialogState {
    bool dock = false;
    int corner = -1; // -1: none selected
    std::wstring offsetX, offsetY;
    bool autoClose = false;
    bool metric = false;
    bool operator==(const DialogState&) const = default;
};

inline std::string Describe(const DialogState& d) {
    return std::string("dock ") + (d.dock ? "on" : "off") + ", corner " + std::to_string(d.corner) +
           ", offsets " + Quote(d.offsetX) + " x " + Quote(d.offsetY) + ", auto-close " +
           (d.autoClose ? "on" : "off") + ", " + (d.metric ? "metric" : "imperial");
}

inline DialogState DialogFor(const settings::Settings& s) { // what the dialog shows for them
    return {s.bDockEnabled,
            s.iDockCorner >= 0 && s.iDockCorner < 4 ? s.iDockCorner : -1,
            std::to_wstring(s.lDockOffsetX),
            std::to_wstring(s.lDockOffsetY),
            s.bAutoClose,
            s.bMetric};
}

class SettingsDialog {
  public:
    enum class Close { Ok, Cancel, CloseBox };

    explicit SettingsDialog(HWND dialog) : dialog_(dialog) {
        const std::map<std::wstring, HWND*> byCaption{
            {L"Dock with Kestrava Editor", &dock_},
            {L"Top - Left", &corner_[0]},
            {L"Top - Right", &corner_[1]},
            {L"Bottom - Left", &corner_[2]},
            {L"Bottom - Right", &corner_[3]},
            {L"Automatically Close when the Kestrava Editor Closes", &autoClose_},
            {L"Metric", &metric_},
            {L"Imperial", &imperial_},
            {L"OK", &ok_},
            {L"Cancel", &cancel_}};
        for (HWND button : Children(dialog, L"Button"))
            if (auto slot = byCaption.find(TextOf(button)); slot != byCaption.end())
                *slot->second = button;
        for (const auto& [caption, slot] : byCaption)
            if (!*slot)
                Fail("the settings dialog has no button " + Quote(caption));
        const auto edits = Children(dialog, L"Edit");
        if (edits.size() != 2)
            Fail("the settings dialog has " + std::to_string(edits.size()) + " text boxes, not 2");
        offset_[0] = edits[0], offset_[1] = edits[1];
    }

    DialogState Read() const {
        auto checked = [](HWND button) { return Ask(button, BM_GETCHECK, 0, 0) == BST_CHECKED; };
        DialogState d{checked(dock_),      -1,
                      TextOf(offset_[0]),  TextOf(offset_[1]),
                      checked(autoClose_), checked(metric_)};
        for (int i = 0; i < 4; ++i)
            if (checked(corner_[i]))
                d.corner = d.corner < 0 ? i : 99; // 99: more than one
        if (d.metric == checked(imperial_))
            d.corner = 98; // both units or neither: a broken group, shown through the corner
        return d;
    }

    // Clicks the buttons with BM_CLICK, not the mouse: without a window manager Wine
    // activates the dialog once more a while after it appears, which can cancel a mouse
    // click between its press and release. Types the offsets with WM_CHAR.
    void Set(const DialogState& want) {
        Check(dock_, want.dock);
        if (want.corner >= 0 && want.corner < 4)
            Check(corner_[want.corner], true);
        for (int i = 0; i < 2; ++i) {
            const std::wstring& text = i ? want.offsetY : want.offsetX;
            Ask(offset_[i], EM_SETSEL, 0, -1);
            Ask(offset_[i], WM_CHAR, L'\b', 1);
            for (wchar_t c : text)
                Ask(offset_[i], WM_CHAR, c, 1);
            if (TextOf(offset_[i]) != text)
                Fail("typing " + Quote(text) + " into an offset box left " +
                     Quote(TextOf(offset_[i])));
        }
        Check(autoClose_, want.autoClose);
        Check(want.metric ? metric_ : imperial_, true);
    }

    void Finish(Close how) { // and waits until the dialog has gone
        const auto box = how == Close::CloseBox ? CloseBoxPoint(dialog_) : std::nullopt;
        if (how == Close::CloseBox && !box)
            Fail("the settings dialog shows no close box");
        if (box)
            ClickAt(*box);
        else
            Ask(how == Close::Ok ? ok_ : cancel_, BM_CLICK, 0, 0);
        if (!WaitUntil([&] { return !IsWindow(dialog_); }, 5000))
            Fail(std::string("the settings dialog stayed open after ") + (how == Close::Ok ? "OK"
                                                                          : how == Close::Cancel
                                                                              ? "Cancel"
                                                                              : "its close box"));
    }

  private:
    void Check(HWND control, bool checked) {
        auto state = [&] { return (Ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == checked; };
        if (!state() && (Ask(control, BM_CLICK, 0, 0), !state()))
            Fail("clicking " + Quote(TextOf(control)) + " did not make it " +
                 (checked ? "checked" : "clear"));
    }
    HWND dialog_;
    HWND dock_ = nullptr, corner_[4]{}, offset_[2]{}, autoClose_ = nullptr;
    HWND metric_ = nullptr, imperial_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
};

} // namespace blackbox
