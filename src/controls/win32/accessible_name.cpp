#include "controls/win32/accessible_name.h"

#include "controls/win32/handles.h"
#include "controls/win32/text.h"

#include <oleacc.h>

#include <map>
#include <utility>

namespace controls {
namespace {

// The standard accessible object of a control with another name: every call but the
// name of the control itself goes to the standard object.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor): only its Release() deletes it
class NamedAccessible final : public IAccessible, public IOleWindow {
  public:
    NamedAccessible(IAccessible* standard, HWND hwnd, AccessibleName name)
        : standard_(standard), hwnd_(hwnd), name_(std::move(name)) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, kIidAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(riid, IID_IOleWindow)) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: late-bound calls go through the interface's type information to this
    // object, so that they see the same name as direct calls.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        ITypeInfo* info = nullptr;
        const HRESULT found = standard_->GetTypeInfo(0, lcid, &info);
        if (FAILED(found) || !info)
            return FAILED(found) ? found : E_NOTIMPL;
        (void)riid;
        const HRESULT hr = info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result,
                                        exception, argError);
        info->Release();
        return hr;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return standard_->get_accName(child, name);
        if (!name)
            return E_POINTER;
        static const auto allocate =
            SystemFunction<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
        *name = allocate ? allocate(name_.Resolve().c_str()) : nullptr;
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

    // IOleWindow: the window the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        if (!hwnd)
            return E_POINTER;
        *hwnd = hwnd_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~NamedAccessible() { standard_->Release(); }

    LONG refs_ = 1;
    IAccessible* standard_; // owned: one reference
    HWND hwnd_;
    AccessibleName name_;
};

// The names given to controls, with the window procedure each had before, until their
// windows go.
struct Named {
    AccessibleName name;
    WNDPROC previous = nullptr;
};
std::map<HWND, Named>& Names() {
    static std::map<HWND, Named> names;
    return names;
}

// The answer to WM_GETOBJECT: for the client object, the control's standard accessible
// object with `name` as its name; 0 for any other object, or if the object could not be
// made, and the control's own handling answers. COM and the accessibility library are
// loaded at the first request, which comes from a screen reader.
LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, const AccessibleName& name) {
    static const ComScope com;
    static const auto standardObject = SystemFunction<decltype(&CreateStdAccessibleObject)>(
        L"oleacc.dll", "CreateStdAccessibleObject");
    static const auto objectResult =
        SystemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    // The object id travels in the low 32 bits.
    IAccessible* standard = nullptr;
    if (static_cast<LONG>(lp) != OBJID_CLIENT || !standardObject || !objectResult ||
        FAILED(standardObject(hwnd, OBJID_CLIENT, kIidAccessible,
                              reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* named = new NamedAccessible(standard, hwnd, name);
    const LRESULT answer = objectResult(kIidAccessible, wp, static_cast<IAccessible*>(named));
    named->Release();
    return answer > 0 ? answer : 0; // a failure comes back as a negative HRESULT
}

LRESULT CALLBACK NamedProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto found = Names().find(hwnd);
    if (found == Names().end())
        return DefWindowProcW(hwnd, msg, wp, lp);
    const WNDPROC previous = found->second.previous;
    if (msg == WM_GETOBJECT) {
        if (const LRESULT answer = AnswerGetObject(hwnd, wp, lp, found->second.name))
            return answer;
    } else if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        Names().erase(found);
    }
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

} // namespace

std::wstring AccessibleName::Resolve() const {
    return label && IsWindow(label) ? WindowText(label) : text;
}

void SetAccessibleName(HWND control, AccessibleName name) {
    Named& named = Names()[control];
    named.name = std::move(name);
    // Through the window procedure rather than SetWindowSubclass, which Wine's comctl32
    // looks up with a call to its server on every message, about 100 microseconds each.
    if (!named.previous)
        named.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedProcedure)));
}

} // namespace controls
