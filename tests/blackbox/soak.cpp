// A long seeded random run against one ortelia.exe, driven from outside like the
// acceptance suite, followed by repeated settings-dialog cycles and page switches.
//
//   soak [--events N] [--seed S] [--dialog-cycles N] [--page-switches N]
//
// After every step the main window must be consistent: the one page shown, every result
// as the core computes it from the inputs, the converter partners, the speed unit, the
// program alive and answering, topmost, no menu or dialog left open. Each phase checks
// that the program's windows, GDI objects and private memory stay flat after a warm-up.
// A failure prints the seed and the step, and the command that repeats the run.
#include "driver.h"

#include "calc/field_value.h"
#include "calc/number_text.h"
#include "settings/settings_code.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace blackbox;

struct Options {
    long events = 100000;
    uint64_t seed = 0;
    long dialogCycles = 1000;
    long pageSwitches = 10000;
};

// How far after the warm-up a phase's resources may lie from where they were.
constexpr int kGdiSlack = 16;
constexpr uint64_t kPrivateSlack = 512 * 1024;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class Soak {
  public:
    explicit Soak(const Options& options) : options_(options), rng_(options.seed) {}

    int Run() {
        std::printf("soak: seed %llu, %ld events, %ld dialog cycles, %ld page switches\n",
                    static_cast<unsigned long long>(options_.seed), options_.events,
                    options_.dialogCycles, options_.pageSwitches);
        try {
            RemoveSettingsKey();
            o_ = std::make_unique<Ortelia>();
            o_->WaitForMain();
            RandomEvents();
            WindDown();
            DialogCycles();
            PageSwitches();
            Check("end");
        } catch (const Failure& f) {
            std::printf("\nSOAK FAILED in %s, step %ld, seed %llu\n  during: %s\n  found: %s\n",
                        phase_.c_str(), step_, static_cast<unsigned long long>(options_.seed),
                        what_.c_str(), f.what());
            std::printf("  repeat: scripts/soak %ld %llu\n", options_.events,
                        static_cast<unsigned long long>(options_.seed));
            editors_.clear();
            RemoveSettingsKey();
            return 1;
        }
        editors_.clear();
        RemoveSettingsKey();
        std::printf("soak: PASSED (%d lost clicks repeated)\n", Retries());
        return 0;
    }

  private:
    // ---- randomness ----
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    std::wstring Digits(int n) {
        std::wstring s;
        for (int i = 0; i < n; ++i)
            s += static_cast<wchar_t>(L'0' + Pick(10));
        return s;
    }

    // Text as it could come off a clipboard: numbers in every form the field value reads,
    // blanks, stray signs and points, letters and characters beyond ASCII.
    std::wstring PasteText() {
        static const wchar_t* const kOdd[] = {
            L"\u00B2", L"\u00BD", L"\u0663", L"\uFF10", L"\u2212", L"\u00A0", L"\u00E9",
            L"\u20AC", L"\U0001F600", L"\u6F22", L"\u00B0", L"\u0301", L"\u202E", L"\uFEFF"};
        const size_t length = Chance(0.7) ? static_cast<size_t>(Pick(16)) : static_cast<size_t>(Pick(1001));
        std::wstring s;
        while (s.size() < length) {
            switch (Pick(9)) {
            case 0:
            case 1: { // a decimal number, perhaps signed, with a fraction and an exponent
                if (Chance(0.4))
                    s += Chance(0.7) ? L'-' : L'+';
                s += Digits(1 + Pick(Chance(0.9) ? 6 : 40));
                if (Chance(0.5))
                    s += L"." + Digits(Pick(6));
                if (Chance(0.2))
                    s += std::wstring(1, L"eEdD"[Pick(4)]) + (Chance(0.5) ? L"-" : L"") + Digits(1 + Pick(4));
                break;
            }
            case 2:
                s += Chance(0.5) ? (Chance(0.5) ? L"&H" : L"&h") + std::wstring(1, L"0123456789ABCDEFabcdef"[Pick(22)]) + Digits(Pick(8))
                                 : (Chance(0.5) ? L"&O" : L"&o") + Digits(Pick(10));
                break;
            case 3: s += std::wstring(1 + Pick(3), L" \t\n"[Pick(3)]); break;
            case 4: s += L".-+,eEdD"[Pick(8)]; break;
            case 5: s += static_cast<wchar_t>(L'a' + Pick(26)); break;
            case 6:
            case 7: s += kOdd[Pick(static_cast<int>(std::size(kOdd)))]; break;
            default: s += Digits(1 + Pick(3)); break;
            }
        }
        return s.substr(0, length);
    }

    // Characters a keyboard delivers: mostly what the fields accept, often what they do not.
    wchar_t TypedChar() {
        const int r = Pick(100);
        if (r < 40) return static_cast<wchar_t>(L'0' + Pick(10));
        if (r < 55) return Chance(0.5) ? L'.' : L'-';
        if (r < 67) return L'\b';
        if (r < 70) return L'\r';
        if (r < 85) return L"a,+ eE;xZ"[Pick(9)];
        if (r < 90) return static_cast<wchar_t>(std::array{3, 22, 24, 26, 1, 27}[static_cast<size_t>(Pick(6))]);
        return L"\u00B2\u00E9\u00B0\u0663\uFF11\u2212\u00A0"[Pick(7)];
    }

    FieldRef AnyField() {
        const int page = Pick(kPages);
        return {page, Pick(FieldCount(page))};
    }

    // An offset as someone might type it; `sane` ones keep a docked window near the editor.
    std::wstring OffsetText() {
        switch (Pick(12)) {
        case 0: return L"";
        case 1: return std::to_wstring(Pick(200)) + L"px";
        case 2: return L" " + Digits(1) + L" " + Digits(1);
        case 3: return std::to_wstring(Pick(100)) + L"." + Digits(1);
        case 4: return L"abc\u00E9";
        case 5: return std::array{L"99999999999", L"-1e300", L"1e10", L"&HFFFFFFFF", L"&O777"}[static_cast<size_t>(Pick(5))];
        default: return std::to_wstring(Pick(241) - 40);
        }
    }
    static bool Sane(const std::wstring& offset) {
        const double v = calc::RoundTo(calc::FieldValue(Utf8(offset)), 0);
        return std::abs(v) <= 300;
    }

    RECT EditorRect() {
        const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        if (Chance(0.03)) { // far off the screen, or partly
            const int x = std::array{-5000, -300, 20000, sw - 100}[static_cast<size_t>(Pick(4))];
            const int y = std::array{-4000, -50, 15000, sh - 60}[static_cast<size_t>(Pick(4))];
            return {x, y, x + 600 + Pick(400), y + 300 + Pick(400)};
        }
        const int w = 480 + Pick(std::max(1, sw - 480 - 40)), h = 240 + Pick(std::max(1, sh - 240 - 40));
        const int x = Pick(std::max(1, sw - w)), y = Pick(std::max(1, sh - h));
        return {x, y, x + w, y + h};
    }

    // ---- the model ----
    struct StandIn {
        std::unique_ptr<Editor> editor;
        bool matching;
    };

    int MatchingEditors() const {
        int n = 0;
        for (const auto& s : editors_)
            n += s.matching;
        return n;
    }
    // Whether a matching editor may go: with auto-close on, one must stay.
    bool MayLoseMatchingEditor() const { return !model_.bAutoClose || MatchingEditors() > 1; }

    // The matching editor highest in the z-order: the one the program docks to.
    HWND TopMatchingEditor() const {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            for (const auto& s : editors_)
                if (s.matching && s.editor->Window() == w)
                    return w;
        return nullptr;
    }

    DialogState Shown(const settings::Settings& s) const {
        return {s.bDockEnabled, s.iDockCorner >= 0 && s.iDockCorner < 4 ? s.iDockCorner : -1,
                std::to_wstring(s.lDockOffsetX), std::to_wstring(s.lDockOffsetY), s.bAutoClose,
                s.bMetric};
    }

    bool OnScreen() const {
        const RECT m = RectOf(o_->Main());
        return m.left >= 0 && m.top >= 0 && m.right <= GetSystemMetrics(SM_CXSCREEN) &&
               m.bottom <= GetSystemMetrics(SM_CYSCREEN);
    }

    // Brings the main window into view for the mouse: the editor it docks to is moved to
    // the middle of the screen, or else the window itself is moved there.
    void EnsureOnScreen() {
        if (OnScreen())
            return;
        HWND top = TopMatchingEditor();
        if (top && model_.bDockEnabled && model_.iDockCorner >= 0 && model_.iDockCorner < 4) {
            for (auto& s : editors_)
                if (s.editor->Window() == top)
                    s.editor->Move({200, 150, 1000, 800});
            if (!WaitUntil([&] { return OnScreen(); }, 2500))
                throw Failure("the main window did not dock back into view to an editor at "
                              "200,150-1000,800");
            return;
        }
        SetWindowPos(o_->Main(), nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!WaitUntil([&] { return OnScreen(); }, 2000))
            throw Failure("the main window could not be moved into view");
    }

    // ---- checks ----
    void Check(const std::string& what) {
        what_ = what;
        std::string wrong = o_->Inconsistencies(expect_);
        if (wrong.empty()) {
            if (!(GetWindowLongW(o_->Main(), GWL_EXSTYLE) & WS_EX_TOPMOST))
                wrong = "the main window left the topmost band";
            else if (!IsWindowVisible(o_->Main()))
                wrong = "the main window is hidden";
            else if (o_->OpenMenu())
                wrong = "a popup menu is still open";
            else if (!TopLevelWindows(o_->process().Id(), L"OrteliaSettings").empty())
                wrong = "a settings dialog is still open";
        }
        if (!wrong.empty())
            throw Failure(wrong);
    }

    // Samples resources every so often. After the warm-up, the highest readings of the next
    // stretch are the reference (what the program holds varies a little with what it
    // shows), and no later reading may lie beyond it by more than the slack.
    struct Resources {
        explicit Resources(std::string name) : phase(std::move(name)) {}
        std::string phase;
        Usage reference, peak, last;
        int samples = 0;
    };

    // The least of a few readings a moment apart: objects that live only while a paint
    // runs are no leak.
    Usage QuietUsage() {
        Usage least{};
        for (int i = 0; i < 3; ++i) {
            Sleep(50);
            const Usage u = o_->MeasureUsage();
            least.windows = i ? std::min(least.windows, u.windows) : u.windows;
            least.gdiObjects = i ? std::min(least.gdiObjects, u.gdiObjects) : u.gdiObjects;
            least.privateBytes = i ? std::min(least.privateBytes, u.privateBytes) : u.privateBytes;
        }
        return least;
    }

    static void Raise(Usage& to, const Usage& u) {
        to.windows = std::max(to.windows, u.windows);
        to.gdiObjects = std::max(to.gdiObjects, u.gdiObjects);
        to.privateBytes = std::max(to.privateBytes, u.privateBytes);
    }

    // `done` of `total`; a tenth of the phase warms up, the next fifth sets the reference.
    void Sample(Resources& r, long done, long total) {
        if (done * 10 < total)
            return;
        const Usage u = QuietUsage();
        r.last = u;
        if (std::getenv("SOAK_TRACE"))
            std::printf("    %s %ld: %s\n", r.phase.c_str(), done, Describe(u).c_str());
        if (r.samples++ == 0)
            r.reference = r.peak = u;
        Raise(r.peak, u);
        if (done * 10 <= total * 3) {
            Raise(r.reference, u);
            return;
        }
        if (u.windows != r.reference.windows || u.gdiObjects > r.reference.gdiObjects + kGdiSlack ||
            u.privateBytes > r.reference.privateBytes + kPrivateSlack)
            throw Failure("resources grew from " + Describe(r.reference) + " to " + Describe(u));
    }
    void Report(const Resources& r, long count, double seconds) {
        std::printf("  %s: %ld done in %.1f s\n    resources after warm-up %s; peak %s; end %s\n",
                    r.phase.c_str(), count, seconds, Describe(r.reference).c_str(),
                    Describe(r.peak).c_str(), Describe(r.last).c_str());
        std::fflush(stdout);
    }

    // ---- events ----
    void Typing() {
        const FieldRef f = AnyField();
        std::wstring chars;
        for (int n = 1 + Pick(8); n > 0; --n)
            chars += TypedChar();
        what_ = "typing " + std::to_string(chars.size()) + " characters into page " +
                std::to_string(f.page) + " field " + std::to_string(f.index);
        // One edit per character: "5" then Backspace converts twice and ends where it began.
        for (wchar_t c : chars)
            Edit(f, [&] { o_->TypeChars(f, std::wstring(1, c)); });
    }

    void Selecting() {
        const FieldRef f = AnyField();
        const int a = Pick(40) - 2, b = Pick(40) - 2;
        what_ = "selecting " + std::to_string(a) + ".." + std::to_string(b) + " of page " +
                std::to_string(f.page) + " field " + std::to_string(f.index);
        o_->Select(f, a, b);
    }

    void Pasting(bool viaClipboard) {
        const FieldRef f = AnyField();
        const std::wstring text = PasteText();
        what_ = std::string(viaClipboard ? "pasting " : "replacing the selection with ") +
                std::to_string(text.size()) + " characters into page " + std::to_string(f.page) +
                " field " + std::to_string(f.index);
        Edit(f, [&] {
            if (Chance(0.6))
                o_->Select(f, 0, -1);
            if (viaClipboard) {
                SetClipboardText(text);
                o_->PasteClipboard(f);
            } else {
                o_->ReplaceSelection(f, text);
            }
        });
    }

    // Runs an edit of field f; a converter field whose text changed becomes its pair's source.
    void Edit(FieldRef f, const std::function<void()>& edit) {
        const std::wstring before = o_->FieldText(f);
        edit();
        if (f.page == 4 && o_->FieldText(f) != before)
            expect_.converterSource[f.index / 2] = f.index % 2;
    }

    void TabClick() {
        EnsureOnScreen();
        const int tab = Pick(kPages);
        what_ = "clicking the caption of tab " + std::to_string(tab);
        o_->ClickTab(tab);
        expect_.page = tab;
    }

    void MenuDismissed() {
        EnsureOnScreen();
        what_ = "opening the popup menu and pressing Escape";
        HWND menu = o_->OpenPopupMenu();
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!WaitUntil([&] { return !o_->OpenMenu(); }, 3000))
            throw Failure("Escape left the popup menu open");
    }

    void SettingsDialogEvent(bool mayChange) {
        EnsureOnScreen();
        const auto how = !mayChange        ? (Chance(0.5) ? SettingsDialog::Close::Cancel : SettingsDialog::Close::CloseBox)
                         : Chance(0.55) ? SettingsDialog::Close::Ok
                         : Chance(0.6)  ? SettingsDialog::Close::Cancel
                                        : SettingsDialog::Close::CloseBox;
        const bool ok = how == SettingsDialog::Close::Ok;
        DialogState want{Chance(0.7), Pick(4), OffsetText(), OffsetText(), Chance(0.5), Chance(0.5)};
        if (ok && want.dock && (!Sane(want.offsetX) || !Sane(want.offsetY)))
            want.offsetX = std::to_wstring(Pick(100)), want.offsetY = std::to_wstring(Pick(100));
        if (ok && want.autoClose && MatchingEditors() == 0)
            want.autoClose = false;
        what_ = std::string("settings dialog: ") + Describe(want) + ", then " +
                (ok ? "OK" : how == SettingsDialog::Close::Cancel ? "Cancel" : "the close box");
        const StoredValue before = ReadStoredSettings();
        SettingsDialog d = o_->OpenSettings();
        if (const DialogState shown = d.Read(); shown != Shown(model_))
            throw Failure("the dialog opened showing " + Describe(shown) + " for the settings " +
                          Describe(Shown(model_)));
        d.Set(want);
        d.Finish(how);
        o_->Settle();
        const StoredValue after = ReadStoredSettings();
        if (!ok) {
            if (after != before)
                throw Failure("closing without OK changed the registry from " + Describe(before) +
                              " to " + Describe(after));
            return;
        }
        std::wstring wide(reinterpret_cast<const wchar_t*>(after.bytes.data()), after.bytes.size() / 2);
        while (!wide.empty() && wide.back() == L'\0')
            wide.pop_back();
        const auto stored = settings::ParseSettingsCode(Utf8(wide));
        if (!after.present || after.type != REG_SZ || !stored || !stored->bMetric)
            throw Failure("OK stored " + Describe(after) + ", not a six-field settings code");
        std::string wrong;
        if (stored->bDockEnabled != want.dock || stored->iDockCorner != want.corner ||
            stored->bAutoClose != want.autoClose || *stored->bMetric != want.metric)
            wrong = "the check boxes and options";
        const std::wstring* texts[2] = {&want.offsetX, &want.offsetY};
        const int32_t offsets[2] = {stored->lDockOffsetX, stored->lDockOffsetY};
        for (int i = 0; i < 2; ++i) {
            const double v = calc::RoundTo(calc::FieldValue(Utf8(*texts[i])), 0);
            if (std::abs(v) < 2147483647.0 && offsets[i] != static_cast<int32_t>(v))
                wrong += " the offset typed as " + Utf8(*texts[i]);
        }
        if (!wrong.empty())
            throw Failure("OK stored " + Describe(after) + ", which differs in " + wrong);
        settings::ApplyStoredSettings(*stored, model_);
        expect_.metric = model_.bMetric;
    }

    void EditorEvent() {
        const int r = Pick(100);
        if (editors_.empty() || (editors_.size() < 2 && r < 25)) {
            const bool matching = Chance(0.85);
            const std::string title = matching ? "Track " + std::to_string(Pick(100)) + " - Kestrava Editor"
                                               : "Notes " + std::to_string(Pick(100));
            const RECT rect = EditorRect();
            what_ = "starting an editor stand-in \"" + title + "\"";
            editors_.push_back({std::make_unique<Editor>(Wide(title), rect), matching});
            ++editorStarts_;
            return;
        }
        const size_t i = static_cast<size_t>(Pick(static_cast<int>(editors_.size())));
        StandIn& s = editors_[i];
        if (r < 70) {
            const RECT rect = EditorRect();
            what_ = "moving an editor to " + std::to_string(rect.left) + "," + std::to_string(rect.top) +
                    "-" + std::to_string(rect.right) + "," + std::to_string(rect.bottom);
            s.editor->Move(rect);
            return;
        }
        if (s.matching && !MayLoseMatchingEditor())
            return;
        if (r < 80) {
            s.matching = !s.matching;
            what_ = std::string("retitling an editor to ") + (s.matching ? "" : "not ") + "match";
            s.editor->Retitle(s.matching ? "Renamed - kestrava EDITOR" : "Renamed - Notepad");
            return;
        }
        what_ = r < 93 ? "closing an editor" : "killing an editor";
        if (r < 93)
            s.editor->Close();
        else
            s.editor->Kill();
        editors_.erase(editors_.begin() + static_cast<long>(i));
    }

    // Waits for the docking timer: docked where the core places it, or not moved at all.
    void DockingCheck() {
        const RECT start = RectOf(o_->Main());
        HWND top = TopMatchingEditor();
        const auto want = top ? DockedPosition(RectOf(top), start, model_) : std::nullopt;
        what_ = "waiting for the docking timer";
        if (want) {
            if (!WaitUntil([&] { const RECT m = RectOf(o_->Main()); return m.left == want->x && m.top == want->y; },
                           2500, 20))
                throw Failure("the main window is at " + std::to_string(RectOf(o_->Main()).left) + "," +
                              std::to_string(RectOf(o_->Main()).top) + ", not docked at " +
                              std::to_string(want->x) + "," + std::to_string(want->y));
            return;
        }
        Sleep(1200);
        if (const RECT now = RectOf(o_->Main()); !EqualRect(&now, &start))
            throw Failure("the main window moved with nothing to dock to");
    }

    void RandomEvents() {
        phase_ = "random events";
        Resources res("events");
        const long sampleEvery = std::max(50L, options_.events / 40);
        const auto start = std::chrono::steady_clock::now();
        for (step_ = 1; step_ <= options_.events; ++step_) {
            const int r = Pick(1000);
            const auto eventStart = std::chrono::steady_clock::now();
            const char* kind;
            if (step_ == 1 || (r >= 440 && r < 560))
                kind = "tab clicks", TabClick();
            else if (r < 300 || (r >= 560 && r < 940))
                kind = "typings", Typing();
            else if (r < 360)
                kind = "selections", Selecting();
            else if (r < 440)
                kind = "pastes", Pasting(r < 400);
            else if (r < 955)
                kind = "settings dialogs", SettingsDialogEvent(true);
            else if (r < 986)
                kind = "editor events", EditorEvent();
            else if (r < 990)
                kind = "docking checks", DockingCheck();
            else
                kind = "menus dismissed", MenuDismissed();
            const double eventTime = Seconds(eventStart);
            Check(what_);
            auto& tally = tallies_[kind];
            ++tally.count;
            tally.eventSeconds += eventTime;
            tally.checkSeconds += Seconds(eventStart) - eventTime;
            if (step_ % sampleEvery == 0 || step_ == options_.events)
                Sample(res, step_, options_.events);
        }
        --step_;
        Report(res, options_.events, Seconds(start));
        for (const auto& [kind, t] : tallies_)
            std::printf("    %6ld %-17s %7.1f s, checks after them %6.1f s\n", t.count, kind.c_str(),
                        t.eventSeconds, t.checkSeconds);
        std::printf("    (%ld editor stand-ins started)\n", editorStarts_);
    }

    // Auto-close off, then every editor closed, so that the program outlives them.
    void WindDown() {
        phase_ = "wind-down";
        step_ = 0;
        if (model_.bAutoClose) {
            EnsureOnScreen();
            what_ = "switching auto-close off";
            SettingsDialog d = o_->OpenSettings();
            DialogState off = Shown(model_);
            off.autoClose = false;
            d.Set(off);
            d.Finish(SettingsDialog::Close::Ok);
            o_->Settle();
            model_.bAutoClose = false;
        }
        what_ = "closing the editors";
        for (auto& s : editors_)
            s.editor->Close();
        editors_.clear();
        EnsureOnScreen();
        Check(what_);
    }

    void DialogCycles() {
        phase_ = "dialog cycles";
        Resources res("dialog cycles");
        const auto start = std::chrono::steady_clock::now();
        for (step_ = 1; step_ <= options_.dialogCycles; ++step_) {
            SettingsDialogEvent(false);
            Check(what_);
            if (step_ % std::max(1L, options_.dialogCycles / 20) == 0 || step_ == options_.dialogCycles)
                Sample(res, step_, options_.dialogCycles);
        }
        --step_;
        Report(res, options_.dialogCycles, Seconds(start));
    }

    void PageSwitches() {
        phase_ = "page switches";
        Resources res("page switches");
        const auto start = std::chrono::steady_clock::now();
        for (step_ = 1; step_ <= options_.pageSwitches; ++step_) {
            const int tab = (std::max(0, expect_.page) + 1 + Pick(kPages - 1)) % kPages;
            what_ = "clicking the caption of tab " + std::to_string(tab);
            o_->ClickTab(tab);
            expect_.page = tab;
            if (step_ % 100 == 0)
                Check(what_);
            if (step_ % std::max(1L, options_.pageSwitches / 20) == 0 || step_ == options_.pageSwitches)
                Sample(res, step_, options_.pageSwitches);
        }
        --step_;
        Report(res, options_.pageSwitches, Seconds(start));
    }

    Options options_;
    std::mt19937_64 rng_;
    std::unique_ptr<Ortelia> o_;
    Expectation expect_;
    settings::Settings model_;
    std::vector<StandIn> editors_;
    std::string phase_ = "start-up", what_ = "starting ortelia.exe";
    long step_ = 0;
    struct Tally {
        long count = 0;
        double eventSeconds = 0, checkSeconds = 0;
    };
    std::map<std::string, Tally> tallies_;
    long editorStarts_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    options.seed = std::random_device{}() ^ static_cast<uint64_t>(GetTickCount64());
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* name = argv[i];
        const char* value = argv[i + 1];
        if (!std::strcmp(name, "--events"))
            options.events = std::atol(value);
        else if (!std::strcmp(name, "--seed"))
            options.seed = std::strtoull(value, nullptr, 10);
        else if (!std::strcmp(name, "--dialog-cycles"))
            options.dialogCycles = std::atol(value);
        else if (!std::strcmp(name, "--page-switches"))
            options.pageSwitches = std::atol(value);
        else {
            std::fprintf(stderr, "usage: soak [--events N] [--seed S] [--dialog-cycles N] [--page-switches N]\n");
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const int result = Soak(options).Run();
    std::printf("soak: %.1f s in all\n", Seconds(start));
    return result;
}
