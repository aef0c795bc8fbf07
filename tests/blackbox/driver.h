// Drives a running ortelia.exe from outside, as a user or another program can: window
// messages to its windows, mouse clicks and keystrokes at screen points, the registry,
// and editor stand-in processes. Nothing here reads Ortelia's data: its windows are found
// by class and caption, its tab captions by the pixels on the screen, and what a result
// field must show is computed by the platform-free core from the field's inputs.
//
// Operations that find the program not doing what they need throw Failure, whose text
// says what was expected and what was seen.
#pragma once

#include "settings/settings.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace blackbox {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// UTF-16 and UTF-8, as the fields' texts travel and as the core reads them.
std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

// How often an action was repeated because its first attempt was lost on the way (a click
// that Wine's late activations swallowed, a window that moved under the pointer).
int& Retries();

// Polls `done` every `pollMs` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 5);

// ---- The registry value HKCU\Software\Quillon\Ortelia "Settings" ---------------------

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};
StoredValue ReadStoredSettings();
// Stores exactly `bytes` (no terminator added) with the given type, creating the key.
void StoreSettings(std::string_view bytes, DWORD type = REG_SZ);
void RemoveSettingsKey();
std::string Describe(const StoredValue& v);

// ---- Processes ------------------------------------------------------------------------

class Process {
  public:
    Process() = default;
    // Starts `commandLine`; with `withInput`, its standard input is a pipe fed by Send.
    explicit Process(const std::wstring& commandLine, bool withInput = false);
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process(); // ends the process if it still runs

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    // The exit code, once the process has ended within `timeoutMs`.
    std::optional<DWORD> WaitExit(int timeoutMs);
    void Kill();
    // Writes one line to the process's standard input; false if it is gone.
    bool Send(const std::string& line);

  private:
    void Release();
    PROCESS_INFORMATION info_{};
    HANDLE input_ = nullptr;
};

// Paths of the programs under test, beside this build's test programs.
std::wstring OrteliaExe();
std::wstring EditorStandInExe();

// ---- Windows --------------------------------------------------------------------------

std::wstring ClassOf(HWND hwnd);
// The text a window holds, asked with WM_GETTEXT (another process's edit keeps its text
// to itself otherwise). Throws when the window's thread does not answer.
std::wstring TextOf(HWND hwnd);
RECT RectOf(HWND hwnd);
POINT Centre(const RECT& r);
// Top-level windows of a process, hidden ones included; with `cls`, only of that class.
std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* cls = nullptr);
// Direct children of `parent` of class `cls`, in z-order.
std::vector<HWND> Children(HWND parent, const wchar_t* cls);
// Every window of the process: top-level windows and all their descendants.
int CountWindows(DWORD pid);

// ---- Input ----------------------------------------------------------------------------

enum class Button { Left, Right };
// Moves the pointer to `at` (screen pixels) and presses and releases the button there.
void ClickAt(POINT at, Button button = Button::Left);
// Types characters on the keyboard into whatever has the focus: '\b' is Backspace,
// '\r' Enter, '\x1b' Escape, anything else arrives as that character.
void PressKeys(std::wstring_view keys);
// Puts text on the clipboard, as a program that copies does.
void SetClipboardText(std::wstring_view text);

// ---- The screen -------------------------------------------------------------------------

// A copy of a rectangle of the screen.
class ScreenImage {
  public:
    explicit ScreenImage(const RECT& area);
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const; // relative to the area's top-left
    const RECT& Area() const { return area_; }

  private:
    RECT area_;
    int width_, height_;
    std::vector<uint32_t> pixels_; // 0x00RRGGBB, top row first
};

// Groups of text on the screen: pixels nearer `ink` than `paper` are ink, except where
// they form straight lines longer than 60 % of the image's height or width (edges,
// borders, separators). Ink columns (Axis::Columns) or rows (Axis::Rows) closer than
// `gap` empty ones form one group; each group's bounding box is returned in screen
// pixels, in order along the axis.
enum class Axis { Columns, Rows };
std::vector<RECT> InkGroups(const ScreenImage& image, Axis axis, COLORREF ink, COLORREF paper,
                            int gap);

// ---- Resources ------------------------------------------------------------------------

struct Usage {
    int windows = 0;
    int gdiObjects = 0;      // -1 when the platform tells neither way
    uint64_t privateBytes = 0; // committed private memory
};
// What a process holds now: its windows, its live GDI objects (GetGuiResources, or where
// Wine leaves that unimplemented, the live entries of the process's GDI handle table)
// and its committed private memory.
Usage MeasureUsage(const Process& process);
std::string Describe(const Usage& u);

// ---- Ortelia ----------------------------------------------------------------------------

inline constexpr int kPages = 5;
// The pages in tab order, with the captions of their tabs.
inline constexpr const wchar_t* kTabCaptions[kPages] = {
    L"CP Length", L"0g Banking", L"Station Length", L"LIM Length", L"Converter"};

// A text field: the page it lies on (0 to 4) and its index from the left on that page.
// Calculator pages hold inputs 0 and 1 and the result 2; the converter holds metres 0,
// feet 1, km/h 2 and mph 3.
struct FieldRef {
    int page;
    int index;
};
inline constexpr int FieldCount(int page) { return page < 4 ? 3 : 4; }

// The state of the settings dialog's controls.
struct DialogState {
    bool dock = false;
    int corner = -1; // -1 when no corner is selected
    std::wstring offsetX, offsetY;
    bool autoClose = false;
    bool metric = false;
    bool operator==(const DialogState&) const = default;
};
std::string Describe(const DialogState& d);

// The open settings dialog.
class SettingsDialog {
  public:
    explicit SettingsDialog(HWND dialog);
    HWND Window() const { return dialog_; }
    DialogState Read() const;
    // Clicks the check boxes and option buttons into `want` and types the offsets.
    void Set(const DialogState& want);
    // Closes the dialog with OK, Cancel or its close box and waits until it has gone.
    enum class Close { Ok, Cancel, CloseBox };
    void Finish(Close how);

  private:
    void ClickUntil(HWND control, bool checked);
    HWND dialog_;
    HWND dock_ = nullptr, corner_[4]{}, offset_[2]{}, autoClose_ = nullptr;
    HWND metric_ = nullptr, imperial_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
};

// The state that a consistency check expects of the main window.
struct Expectation {
    bool metric = true;
    int page = -1;                // the one page shown; -1 while all five are (before any click)
    int converterSource[2] = {0, 0}; // per pair, the field last edited (0 or 1)
};

class Ortelia {
  public:
    // Starts ortelia.exe. Does not wait for anything.
    Ortelia();
    ~Ortelia() = default;

    // Waits until the program's "Invalid Settings Code" box or its main window shows,
    // whichever comes first; returns the box, or nullptr for the main window.
    HWND WaitForBoxOrMain(int timeoutMs = 10000);
    // Waits for the main window to show and finds its header, pages and fields.
    void WaitForMain(int timeoutMs = 10000);
    // The message boxes (#32770) the program shows now.
    std::vector<HWND> MessageBoxes() const;

    Process& process() { return process_; }
    bool Running() const { return process_.Running(); }
    std::optional<DWORD> WaitExit(int timeoutMs) { return process_.WaitExit(timeoutMs); }

    HWND Main() const { return main_; }
    HWND Header() const { return header_; }
    HWND Page(int n) const { return pages_[n]; }
    HWND Field(FieldRef f) const { return fields_[f.page][f.index]; }
    std::wstring FieldText(FieldRef f) const { return TextOf(Field(f)); }
    HWND SpeedUnitLabel() const { return speedUnit_; }
    HWND LaunchTimeLabel() const { return launchTime_; }
    // The page shown: 0 to 4, -1 when all five are, -2 for any other mix.
    int VisiblePage() const;

    // Clicks tab n's caption with the mouse and waits until its page alone is shown.
    void ClickTab(int n);
    // Where the tab captions are drawn on the screen, in tab order, once the header shows
    // five captions with exactly one raised (and that one `selected`, unless -1).
    struct Captions {
        std::vector<RECT> boxes;
        int raised = -1;
    };
    Captions ReadCaptions(int selected, int timeoutMs = 3000) const;
    // Raises the main window on the screen as well as in the z-order (see driver.cpp).
    void BringToFront() const;

    // A screen point on `surface`'s own background (on no child window, not covered);
    // nullptr when none is in view.
    std::optional<POINT> BackgroundPoint(HWND surface) const;
    // The program's open popup menu, or nullptr.
    HWND OpenMenu() const;
    // Right-clicks at `at` and returns the popup menu that opens (nullptr if none did
    // within `timeoutMs`).
    HWND RightClick(POINT at, int timeoutMs = 2000);
    // The menu's item texts as screen rectangles, top to bottom (separators excluded).
    std::vector<RECT> MenuItems(HWND menu) const;
    // Chooses item `index` of the open menu and waits for the menu to close.
    void ChooseMenuItem(HWND menu, int index);
    // Right-clicks a page's background until the popup menu opens; returns it.
    HWND OpenPopupMenu();
    // Opens the popup menu on a page's background, chooses item `index` and waits until
    // `done` holds (what the item does); Wine may close a menu before it takes a choice,
    // so this is tried up to three times.
    void ChooseFromMenu(int index, const std::function<bool()>& done, const std::string& what);
    // The menu's "Settings...": the dialog. "Exit": the process ends.
    SettingsDialog OpenSettings();
    void ExitFromMenu();
    // Waits until the settings dialog has gone and the main window has finished with it.
    void Settle();
    // Clicks the main window's close box.
    void ClickCloseBox();

    // Clicks into a field with the mouse and waits until it has the keyboard focus with its
    // whole text selected, ready for PressKeys.
    void ClickField(FieldRef f);
    // Types into a field through window messages, one WM_CHAR per character, as the
    // keyboard would deliver them.
    void TypeChars(FieldRef f, std::wstring_view chars);
    // Selects `from`..`to` of a field's text (EM_SETSEL; -1 to the end).
    void Select(FieldRef f, int from, int to);
    // Pastes the clipboard into a field (WM_PASTE), or replaces its selection with
    // `text` (EM_REPLACESEL) as another program can.
    void PasteClipboard(FieldRef f);
    void ReplaceSelection(FieldRef f, std::wstring_view text);

    // Every way the main window differs from `e`: the page shown, each calculator's result
    // (and launch time) against the core's result for its inputs, the speed unit label,
    // each converter partner against the core's conversion. Empty when consistent.
    std::string Inconsistencies(const Expectation& e) const;
    // Whether the main thread answers a message within `timeoutMs`.
    bool Responsive(int timeoutMs = 5000) const;

    Usage MeasureUsage() const { return blackbox::MeasureUsage(process_); }

  private:
    void FindParts();
    Process process_;
    HWND main_ = nullptr, header_ = nullptr;
    HWND pages_[kPages]{};
    std::vector<HWND> fields_[kPages];
    HWND speedUnit_ = nullptr, launchTime_ = nullptr;
    mutable int drawnSelection_ = 0; // the tab the header should show raised
};

// ---- Editor stand-in --------------------------------------------------------------------

inline constexpr const wchar_t* kEditorTitle = L"Untitled - Kestrava Editor";

class Editor {
  public:
    explicit Editor(const std::wstring& title = kEditorTitle, RECT rect = {100, 100, 900, 700});
    HWND Window() const { return window_; }
    RECT Rect() const { return RectOf(window_); }
    bool Alive() const { return process_.Running() && IsWindow(window_); }
    // Moves and resizes the window; true once it has the rectangle (a system may clamp
    // extreme ones).
    bool Move(RECT r);
    // Sets the window's title (ASCII; give others on the command line).
    void Retitle(const std::string& title);
    // Ends the stand-in as its user would, or abruptly.
    void Close();
    void Kill();

  private:
    Process process_;
    HWND window_ = nullptr;
};

// ---- Docking ---------------------------------------------------------------------------

// The top-left corner, in screen pixels, at which the docking timer puts a main window of
// outer rectangle `main` for an editor window at `editor`, by the core's placement; no
// value when the settings move nothing.
std::optional<POINT> DockedPosition(const RECT& editor, const RECT& main,
                                    const settings::Settings& s);

} // namespace blackbox
