// A seeded random run against one ortelia.exe, driven from outside like the acceptance
// suite, then repeated settings-dialog cycles and page switches.
//
//   soak [--events N] [--seed S] [--dialog-cycles N] [--page-switches N]
//
// After every step: the one page shown, every result as the core computes it from its
// inputs, the converter partners and speed unit, the program alive, answering, topmost,
// with no menu or dialog left open. Each phase's windows, GDI objects and private bytes
// must stay flat after a warm-up. A failure prints the seed, the step and the command
// that repeats the run.
#include "driver.h"

#include "calc/converter.h"
#include "settings/settings_code.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <random>

namespace {

using namespace blackbox;
using Clock = std::chrono::steady_clock;

struct Options {
    long events = 100000, dialogCycles = 1000, pageSwitches = 10000;
    uint64_t seed = 0;
};

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Resources sampled through a phase: a tenth warms up, the highest readings of the next
// fifth are the reference (what the program holds varies a little with what it shows),
// and no later reading may exceed it by more than the slack. The GDI slack is the
// phase's own: the random events open menus, dialogs and paste any characters, after
// which Wine's own caches (menu bitmaps, fallback fonts) hold a few dozen objects more or
// less; the repeated dialog cycles and page switches stay flat to the object.
struct Resources {
    static constexpr uint64_t kPrivateSlack = 512 * 1024;
    int gdiSlack = 8;
    Usage first, reference, peak, last;
    int samples = 0;

    void Add(const Usage& u, long done, long total) {
        if (done * 10 < total)
            return;
        auto raise = [](Usage& to, const Usage& u) {
            to = {std::max(to.windows, u.windows), std::max(to.gdiObjects, u.gdiObjects),
                  std::max(to.privateBytes, u.privateBytes)};
        };
        if (samples++ == 0)
            first = reference = peak = u;
        last = u;
        raise(peak, u);
        if (done * 10 <= total * 3)
            raise(reference, u);
        else if (u.windows != reference.windows || u.gdiObjects > reference.gdiObjects + gdiSlack ||
                 u.privateBytes > reference.privateBytes + kPrivateSlack)
            throw Failure("resources grew from " + Describe(reference) + " to " + Describe(u));
    }
};

class Soak {
  public:
    explicit Soak(const Options& options) : options_(options), rng_(options.seed) {}

    int Run() {
        std::printf("soak: seed %llu, %ld events, %ld dialog cycles, %ld page switches\n",
                    static_cast<unsigned long long>(options_.seed), options_.events,
                    options_.dialogCycles, options_.pageSwitches);
        int result = 0;
        try {
            RemoveSettingsKey();
            o_ = std::make_unique<Ortelia>();
            o_->WaitForMain();
            Phase("events", options_.events, 48, [&] { RandomEvent(); });
            WindDown();
            Phase("dialog cycles", options_.dialogCycles, 8, [&] { SettingsDialogEvent(false); });
            Phase("page switches", options_.pageSwitches, 8, [&] {
                const int tab = (std::max(0, expect_.page) + 1 + Pick(kPages - 1)) % kPages;
                what_ = "clicking the caption of tab " + std::to_string(tab);
                o_->ClickTab(expect_.page = tab);
            });
            std::printf("soak: PASSED (%d lost actions repeated)\n", Retries());
        } catch (const Failure& f) {
            std::printf("\nSOAK FAILED in %s, step %ld, seed %llu\n  during: %s\n  found: %s\n"
                        "  repeat: scripts/soak %ld %llu %ld %ld\n",
                        phase_.c_str(), step_, static_cast<unsigned long long>(options_.seed),
                        what_.c_str(), f.what(), options_.events,
                        static_cast<unsigned long long>(options_.seed), options_.dialogCycles,
                        options_.pageSwitches);
            result = 1;
        }
        editors_.clear();
        RemoveSettingsKey();
        return result;
    }

  private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    template <class T, size_t N> T Any(const T (&items)[N]) { return items[Pick(int(N))]; }

    std::wstring Digits(int n) {
        std::wstring s;
        while (n-- > 0)
            s += wchar_t(L'0' + Pick(10));
        return s;
    }

    // Text as it could come off a clipboard: runs of digits between signs, points,
    // exponents, "&H" and "&O" prefixes, blanks, letters and characters beyond ASCII, in
    // every order the field value has to read; mostly short.
    std::wstring PasteText() {
        static const wchar_t* const kPieces[] = {
            L"-",      L"+",      L".",      L",",      L"e",          L"E-",     L"d",
            L"&H",     L"&hFF",   L"&O",     L" ",      L"\t",         L"\n",     L"a",
            L"\u00B2", L"\u00BD", L"\u0663", L"\uFF10", L"\u2212",     L"\u00A0", L"\u00E9",
            L"\u20AC", L"\u6F22", L"\u00B0", L"\u0301", L"\U0001F600", L"\u202E", L"\uFEFF"};
        const size_t length = size_t(Chance(0.7) ? Pick(16) : Pick(1001));
        std::wstring s;
        while (s.size() < length)
            s += Chance(0.6) ? Digits(1 + Pick(Chance(0.95) ? 6 : 40)) : Any(kPieces);
        return s.substr(0, length);
    }

    // What a keyboard delivers: mostly what the fields take, often what they refuse.
    wchar_t TypedChar() {
        const int r = Pick(100);
        return r < 40   ? wchar_t(L'0' + Pick(10))
               : r < 55 ? L".-"[Pick(2)]
               : r < 67 ? L'\b'
               : r < 70 ? L'\r'
               : r < 85 ? L"a,+ eE;xZ"[Pick(9)]
               : r < 90 ? L"\x03\x16\x18\x1A\x01\x1B"[Pick(6)] // Ctrl+C, V, X, Z, A; Escape
                        : L"\u00B2\u00E9\u00B0\u0663\uFF11\u2212\u00A0"[Pick(7)];
    }

    FieldRef AnyField() {
        const int page = Pick(kPages);
        return {page, Pick(FieldCount(page))};
    }

    std::wstring OffsetText() {
        static const wchar_t* const kOdd[] = {L"",       L"abc\u00E9", L" 1 2",
                                              L"7.5",    L"12px",      L"99999999999",
                                              L"-1e300", L"1e10",      L"&HFFFFFFFF"};
        return Chance(0.4) ? Any(kOdd) : std::to_wstring(Pick(241) - 40);
    }

    RECT EditorRect() {
        const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        if (Chance(0.03)) { // far off the screen, or partly
            const int x = Any({-5000, -300, 20000, sw - 100}),
                      y = Any({-4000, -50, 15000, sh - 60});
            return {x, y, x + 600 + Pick(400), y + 300 + Pick(400)};
        }
        const int w = 480 + Pick(std::max(1, sw - 520)), h = 240 + Pick(std::max(1, sh - 280));
        const int x = Pick(std::max(1, sw - w)), y = Pick(std::max(1, sh - h));
        return {x, y, x + w, y + h};
    }

    // ---- the model of the world around the program ----
    struct StandIn {
        std::unique_ptr<Editor> editor;
        bool matching; // its title is one the program docks to
    };

    int MatchingEditors() const {
        return int(std::count_if(editors_.begin(), editors_.end(),
                                 [](const StandIn& s) { return s.matching; }));
    }

    // The matching editor highest in the z-order: the one the program docks to.
    StandIn* TopMatchingEditor() {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            for (auto& s : editors_)
                if (s.matching && s.editor->Window() == w)
                    return &s;
        return nullptr;
    }

    static bool InView(const RECT& r) {
        return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
               r.bottom <= GetSystemMetrics(SM_CYSCREEN);
    }
    bool OnScreen() const { return InView(RectOf(o_->Main())); }

    // Brings the main window into view for the mouse: the editor it docks to moves to the
    // middle of the screen, or else the window itself does. The editor moves even while
    // the window is still in view: the next docking tick would take it to the editor.
    void EnsureOnScreen() {
        StandIn* top = TopMatchingEditor();
        const bool docking =
            top && model_.bDockEnabled && model_.iDockCorner >= 0 && model_.iDockCorner < 4;
        if (docking && (!OnScreen() || !InView(RectOf(top->editor->Window()))))
            top->editor->Move({200, 150, 1000, 800});
        else if (OnScreen())
            return;
        else if (!docking)
            SetWindowPos(o_->Main(), nullptr, 300, 300, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!WaitUntil([&] { return OnScreen(); }, 2500)) {
            const RECT m = RectOf(o_->Main());
            throw Failure("the main window at " + std::to_string(m.left) + "," +
                          std::to_string(m.top) + " did not come back into view (" +
                          (top ? "an editor" : "no editor") + ", " + Describe(DialogFor(model_)) +
                          ")");
        }
    }

    void Check() {
        std::string wrong = o_->Inconsistencies(expect_);
        if (!(GetWindowLongW(o_->Main(), GWL_EXSTYLE) & WS_EX_TOPMOST))
            wrong += "the main window left the topmost band; ";
        for (HWND w : TopLevelWindows(o_->process().Id()))
            if (!!IsWindowVisible(w) != (w == o_->Main()))
                wrong += "a window of class " + Utf8(ClassOf(w)) +
                         (w == o_->Main() ? " is hidden; " : " is left open; ");
        if (!wrong.empty())
            throw Failure(wrong);
    }

    // Runs `step` `count` times, checking after each and sampling resources 20 times.
    void Phase(const std::string& name, long count, int gdiSlack,
               const std::function<void()>& step) {
        phase_ = name;
        Resources res;
        res.gdiSlack = gdiSlack;
        const auto start = Clock::now();
        for (step_ = 1; step_ <= count; ++step_) {
            step();
            Check();
            if (step_ % std::max(1L, count / 20) == 0 || step_ == count) {
                Usage least =
                    o_->MeasureUsage(); // the least of three: paint-time objects are no leak
                for (int i = 0; i < 2; ++i, Sleep(50)) {
                    const Usage u = o_->MeasureUsage();
                    least = {std::min(least.windows, u.windows),
                             std::min(least.gdiObjects, u.gdiObjects),
                             std::min(least.privateBytes, u.privateBytes)};
                }
                res.Add(least, step_, count);
            }
        }
        std::printf("  %s: %ld in %.1f s; resources first %s, reference %s, peak %s, end %s\n",
                    name.c_str(), count, Seconds(start), Describe(res.first).c_str(),
                    Describe(res.reference).c_str(), Describe(res.peak).c_str(),
                    Describe(res.last).c_str());
        std::fflush(stdout);
    }

    // ---- events ----
    void RandomEvent() {
        const int r = step_ == 1 ? 450 : Pick(1000); // a tab click first: one page shown
        const char* kind = r < 300 || (r >= 500 && r < 940) ? "typings"
                           : r < 360                        ? "selections"
                           : r < 440                        ? "pastes"
                           : r < 500                        ? "tab clicks"
                           : r < 955                        ? "settings dialogs"
                           : r < 986                        ? "editor events"
                           : r < 990                        ? "docking checks"
                                                            : "menus dismissed";
        ++tallies_[kind];
        const FieldRef f = AnyField();
        const std::string field =
            " page " + std::to_string(f.page) + " field " + std::to_string(f.index);
        if (r >= 440 && r < 500) {
            EnsureOnScreen();
            const int tab = Pick(kPages);
            what_ = "clicking the caption of tab " + std::to_string(tab);
            o_->ClickTab(expect_.page = tab);
        } else if (r < 300 || (r >= 500 && r < 940)) {
            std::wstring chars;
            for (int n = 1 + Pick(6); n > 0; --n)
                chars += TypedChar();
            what_ = "typing " + Quote(chars) + " into" + field;
            o_->TypeChars(f, chars);
            Edited(f);
        } else if (r < 360) {
            const int a = Pick(40) - 2, b = Pick(40) - 2;
            what_ = "selecting " + std::to_string(a) + ".." + std::to_string(b) + " of" + field;
            o_->Select(f, a, b);
        } else if (r < 440) {
            const std::wstring text = PasteText();
            what_ = (r < 400 ? "pasting " : "replacing the selection with ") + Quote(text) +
                    " into" + field;
            if (Chance(0.6))
                o_->Select(f, 0, -1);
            if (r < 400) {
                SetClipboardText(text);
                o_->PasteClipboard(f);
            } else {
                o_->ReplaceSelection(f, text);
            }
            Edited(f);
        } else if (r < 955) {
            SettingsDialogEvent(true);
        } else if (r < 986) {
            EditorEvent();
        } else if (r < 990) {
            DockingCheck();
        } else {
            EnsureOnScreen();
            what_ = "opening the popup menu and pressing Escape";
            PostMessageW(o_->OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
            if (!WaitUntil([&] { return !o_->OpenMenu(); }, 3000))
                throw Failure("Escape left the popup menu open");
        }
    }

    // After an edit of a converter field: once its partner shows the core's conversion of
    // it, it is its pair's source (an edit that changed nothing leaves the source as it was).
    void Edited(FieldRef f) {
        if (f.page != 4)
            return;
        const int pair = f.index / 2, side = f.index % 2;
        if (o_->FieldText({4, 2 * pair + 1 - side}) ==
            Wide(calc::PartnerText(pair ? calc::kKmphMph : calc::kMetresFeet, side,
                                   Utf8(o_->FieldText(f)))))
            expect_.converterSource[pair] = side;
    }

    void SettingsDialogEvent(bool mayChange) {
        EnsureOnScreen();
        using Close = SettingsDialog::Close;
        const Close how = mayChange && Chance(0.55) ? Close::Ok
                          : Chance(0.5)             ? Close::Cancel
                                                    : Close::CloseBox;
        DialogState want{Chance(0.7),  Pick(4),     OffsetText(),
                         OffsetText(), Chance(0.5), Chance(0.5)};
        settings::Settings next = model_;
        next.bDockEnabled = want.dock;
        next.iDockCorner = int16_t(want.corner);
        next.lDockOffsetX = settings::OffsetFromText(Utf8(want.offsetX));
        next.lDockOffsetY = settings::OffsetFromText(Utf8(want.offsetY));
        // A window docked far off the screen could not be clicked back; one that closes
        // with no editor around would end the run.
        if (how == Close::Ok && want.dock &&
            (std::abs(int64_t(next.lDockOffsetX)) > 300 ||
             std::abs(int64_t(next.lDockOffsetY)) > 300)) {
            want.offsetX = std::to_wstring(next.lDockOffsetX = Pick(100));
            want.offsetY = std::to_wstring(next.lDockOffsetY = Pick(100));
        }
        want.autoClose = next.bAutoClose =
            want.autoClose && (how != Close::Ok || MatchingEditors() > 0);
        next.bMetric = want.metric;
        what_ = "settings dialog: " + Describe(want) + ", then " +
                (how == Close::Ok       ? "OK"
                 : how == Close::Cancel ? "Cancel"
                                        : "the close box");
        const StoredValue before = ReadStoredSettings();
        SettingsDialog d = o_->OpenSettings();
        if (const DialogState shown = d.Read(); shown != DialogFor(model_))
            throw Failure("the dialog opened showing " + Describe(shown) + " for " +
                          Describe(DialogFor(model_)));
        d.Set(want);
        d.Finish(how);
        o_->Settle();
        const StoredValue after = ReadStoredSettings();
        if (how != Close::Ok && after != before)
            throw Failure("closing without OK changed the registry from " + Describe(before) +
                          " to " + Describe(after));
        if (how != Close::Ok)
            return;
        if (StoredCode(after) != settings::ComposeSettingsCode(next))
            throw Failure("OK stored " + Describe(after) + ", not \"" +
                          settings::ComposeSettingsCode(next) + "\"");
        model_ = next;
        expect_.metric = model_.bMetric;
    }

    void EditorEvent() {
        const int r = Pick(100);
        if (editors_.empty() || (editors_.size() < 2 && r < 25)) {
            const bool matching = Chance(0.85);
            const std::string title = (matching ? "Track " : "Notes ") + std::to_string(Pick(100)) +
                                      (matching ? " - Kestrava Editor" : "");
            what_ = "starting an editor stand-in \"" + title + "\"";
            editors_.push_back({std::make_unique<Editor>(Wide(title), EditorRect()), matching});
            ++tallies_["editor stand-ins started"];
            return;
        }
        const size_t i = size_t(Pick(int(editors_.size())));
        StandIn& s = editors_[i];
        if (r < 70) {
            const RECT rect = EditorRect();
            what_ =
                "moving an editor to " + std::to_string(rect.left) + "," + std::to_string(rect.top);
            s.editor->Move(rect);
        } else if (s.matching && model_.bAutoClose && MatchingEditors() < 2) {
            // with auto-close on, the last matching editor stays
        } else if (r < 80) {
            s.matching = !s.matching;
            what_ = std::string("retitling an editor to ") + (s.matching ? "" : "not ") + "match";
            s.editor->Retitle(s.matching ? "Renamed - kestrava EDITOR" : "Renamed - Notepad");
        } else {
            what_ = r < 93 ? "closing an editor" : "killing an editor";
            r < 93 ? s.editor->Close() : s.editor->Kill();
            editors_.erase(editors_.begin() + long(i));
        }
    }

    // Waits for the docking timer: docked where the core places it, or not moved at all.
    void DockingCheck() {
        const RECT start = RectOf(o_->Main());
        StandIn* top = TopMatchingEditor();
        const auto want = top ? DockedPosition(top->editor->Rect(), start, model_) : std::nullopt;
        what_ = "waiting for the docking timer";
        if (!want) {
            Sleep(1200);
            if (const RECT now = RectOf(o_->Main()); !EqualRect(&now, &start))
                throw Failure("the main window moved with nothing to dock to");
        } else if (!WaitUntil(
                       [&] {
                           return RectOf(o_->Main()).left == want->x &&
                                  RectOf(o_->Main()).top == want->y;
                       },
                       2500, 20)) {
            throw Failure("the main window is at " + std::to_string(RectOf(o_->Main()).left) + "," +
                          std::to_string(RectOf(o_->Main()).top) + ", not docked at " +
                          std::to_string(want->x) + "," + std::to_string(want->y));
        }
    }

    // Auto-close off, then every editor closed, so that the program outlives them.
    void WindDown() {
        phase_ = "wind-down";
        step_ = 0;
        for (const auto& [kind, n] : tallies_)
            std::printf("    %6ld %s\n", n, kind.c_str());
        if (model_.bAutoClose) {
            EnsureOnScreen();
            what_ = "switching auto-close off";
            SettingsDialog d = o_->OpenSettings();
            DialogState off = DialogFor(model_);
            off.autoClose = model_.bAutoClose = false;
            d.Set(off);
            d.Finish(SettingsDialog::Close::Ok);
            o_->Settle();
        }
        what_ = "closing the editors";
        for (auto& s : editors_)
            s.editor->Close();
        editors_.clear();
        EnsureOnScreen();
        Check();
    }

    Options options_;
    std::mt19937_64 rng_;
    std::unique_ptr<Ortelia> o_;
    Expectation expect_;
    settings::Settings model_;
    std::vector<StandIn> editors_;
    std::string phase_ = "start-up", what_ = "starting ortelia.exe";
    long step_ = 0;
    std::map<std::string, long> tallies_;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    options.seed = std::random_device{}() ^ GetTickCount64();
    for (int i = 1; i + 1 < argc; i += 2) {
        const char *name = argv[i], *value = argv[i + 1];
        if (!std::strcmp(name, "--events"))
            options.events = std::atol(value);
        else if (!std::strcmp(name, "--seed"))
            options.seed = std::strtoull(value, nullptr, 10);
        else if (!std::strcmp(name, "--dialog-cycles"))
            options.dialogCycles = std::atol(value);
        else if (!std::strcmp(name, "--page-switches"))
            options.pageSwitches = std::atol(value);
        else
            return std::fprintf(stderr, "usage: soak [--events N] [--seed S] [--dialog-cycles N] "
                                        "[--page-switches N]\n"),
                   2;
    }
    const auto start = Clock::now();
    const int result = Soak(options).Run();
    std::printf("soak: %.1f s in all\n", Seconds(start));
    return result;
}
