// The accessible object of a control that describes itself: an IAccessible
// that asks the control on every call, and hands what the control does not
// describe (its parent, the child windows inside it) to the system's own
// object for the window.
#include "ui/Accessible.h"

#include "ui/Controls.h"
#include "ui/LateBound.h"
#include "ui/WideText.h"

#include <oleacc.h>
#include <oleidl.h>

#include <new>

namespace {

// oleacc and oleaut32 load when a tool first asks: most runs have none.
const TLateBound<decltype(&LresultFromObject)> lresultFromObject("oleacc.dll", "LresultFromObject");
const TLateBound<decltype(&CreateStdAccessibleObject)> createStdAccessibleObject("oleacc.dll",
                                                                                 "CreateStdAccessibleObject");
const TLateBound<decltype(&SysAllocStringLen)> sysAllocStringLen("oleaut32.dll", "SysAllocStringLen");

// Runs a member of the object: failures become an error code for the tool.
template <typename Action>
HRESULT Answer(Action&& action)
{
    try {
        return action();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// A text for the tool; `absent` when there is none.
HRESULT TextAnswer(const std::string& text, BSTR* out, HRESULT absent)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return absent;
    const std::wstring wide = ToWide(text);
    *out = sysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT NumberAnswer(long number, VARIANT* out)
{
    if (!out)
        return E_POINTER;
    out->vt = VT_I4;
    out->lVal = number;
    return S_OK;
}

HRESULT NothingAnswer(VARIANT* out)
{
    if (!out)
        return E_POINTER;
    out->vt = VT_EMPTY;
    return S_FALSE;
}

class TAccessibleObject final : public IAccessible, public IOleWindow {
public:
    TAccessibleObject(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}
    TAccessibleObject(const TAccessibleObject&) = delete;
    TAccessibleObject& operator=(const TAccessibleObject&) = delete;

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // ---- IDispatch: tools call the members of IAccessible themselves ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // ---- IOleWindow: the window the object belongs to ----
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // ---- IAccessible ----
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        return Answer([&] {
            if (!count)
                return E_POINTER;
            long windows = 0;
            standard_->get_accChildCount(&windows);
            *count = Elements() + windows;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        return Answer([&] {
            if (!out)
                return E_POINTER;
            *out = nullptr;
            int id;
            if (!Own(child, id))
                return standard_->get_accChild(child, out);
            // The control's own elements have no objects of their own.
            return id == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, &TAccessibleItem::name, S_FALSE, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return Text(child, value, &TAccessibleItem::value, DISP_E_MEMBERNOTFOUND, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        int id;
        if (!Own(child, id))
            return standard_->get_accDescription(child, description);
        return TextAnswer("", description, DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return Answer([&] {
            TAccessibleItem item;
            int id;
            if (!Own(child, id) || !Describe(id, item))
                return standard_->get_accRole(child, role);
            return NumberAnswer(item.role, role);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return Answer([&] {
            TAccessibleItem item;
            int id;
            if (!Own(child, id) || !Describe(id, item))
                return standard_->get_accState(child, state);
            return NumberAnswer(item.state | WindowState(id), state);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        int id;
        if (!Own(child, id))
            return standard_->get_accHelp(child, help);
        return TextAnswer("", help, DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return Text(child, shortcut, &TAccessibleItem::shortcut, DISP_E_MEMBERNOTFOUND,
                    &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (focus && GetFocus() == window_)
            return NumberAnswer(CHILDID_SELF, focus);
        return standard_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Text(child, action, &TAccessibleItem::action, DISP_E_MEMBERNOTFOUND,
                    &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        int id;
        if (!Own(child, id) || id == CHILDID_SELF)
            return standard_->accSelect(flags, child);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return Answer([&] {
            TAccessibleItem item;
            int id;
            if (!Own(child, id) || id == CHILDID_SELF || !Describe(id, item))
                return standard_->accLocation(left, top, width, height, child);
            if (!left || !top || !width || !height)
                return E_POINTER;
            RECT rect = item.rect;
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
            *left = rect.left;
            *top = rect.top;
            *width = rect.right - rect.left;
            *height = rect.bottom - rect.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return Answer([&] {
            int id;
            int elements = Elements();
            if (!Own(start, id) || elements == 0)
                return standard_->accNavigate(direction, start, end);
            if (id == CHILDID_SELF) {
                if (direction == NAVDIR_FIRSTCHILD)
                    return NumberAnswer(1, end);
                if (direction == NAVDIR_LASTCHILD)
                    return NumberAnswer(elements, end);
                return standard_->accNavigate(direction, start, end);
            }
            int next = direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN ? id + 1
                       : direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP
                           ? id - 1
                           : 0;
            return next >= 1 && next <= elements ? NumberAnswer(next, end) : NothingAnswer(end);
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* found) override
    {
        return Answer([&] {
            RECT window;
            POINT point{x, y};
            if (!GetWindowRect(window_, &window) || !PtInRect(&window, point))
                return NothingAnswer(found);
            POINT inside = point;
            ScreenToClient(window_, &inside);
            HWND under = ChildWindowFromPointEx(window_, inside, CWP_SKIPINVISIBLE);
            if (under && under != window_)
                return standard_->accHitTest(x, y, found);
            for (int id = 1; id <= Elements(); ++id) {
                TAccessibleItem item;
                if (Describe(id, item) && PtInRect(&item.rect, inside))
                    return NumberAnswer(id, found);
            }
            return NumberAnswer(CHILDID_SELF, found);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return Answer([&] {
            TAccessibleItem item;
            int id;
            if (!Own(child, id) || !Describe(id, item))
                return standard_->accDoDefaultAction(child);
            if (item.action.empty())
                return DISP_E_MEMBERNOTFOUND;
            PostMessageW(window_, AccessibleActionMessage(), static_cast<WPARAM>(id), 0);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return Answer([&] {
            int id;
            if (!Own(child, id))
                return standard_->put_accValue(child, value);
            TControl* control = TControl::FromHandle(window_);
            if (!control)
                return E_FAIL;
            std::string text = value ? ToUtf8(value) : std::string();
            return control->SetAccessibleValue(id, text) ? S_OK : DISP_E_MEMBERNOTFOUND;
        });
    }

private:
    ~TAccessibleObject() { standard_->Release(); }

    int Elements() const
    {
        TControl* control = TControl::FromHandle(window_);
        return control ? control->DescribedChildren() : 0;
    }
    // Whether `child` is the control itself or one of its elements (its number
    // in `id`); otherwise it is a child window the system's object knows,
    // and `child` is made that object's number for it.
    bool Own(VARIANT& child, int& id) const
    {
        if (child.vt != VT_I4)
            return false;
        int elements = Elements();
        if (child.lVal >= CHILDID_SELF && child.lVal <= elements) {
            id = static_cast<int>(child.lVal);
            return true;
        }
        child.lVal -= elements;
        return false;
    }
    bool Describe(int id, TAccessibleItem& item) const
    {
        TControl* control = TControl::FromHandle(window_);
        return control && control->Describe(id, item);
    }
    // What the window itself shows of the control: disabled, hidden, focus.
    long WindowState(int id) const
    {
        long state = 0;
        if (!IsWindowVisible(window_))
            state |= STATE_SYSTEM_INVISIBLE;
        if (id != CHILDID_SELF)
            return state;
        if (!IsWindowEnabled(window_))
            state |= STATE_SYSTEM_UNAVAILABLE;
        else if (GetWindowLongW(window_, GWL_STYLE) & WS_TABSTOP)
            state |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window_)
            state |= STATE_SYSTEM_FOCUSED;
        return state;
    }
    HRESULT Text(VARIANT child, BSTR* out, std::string TAccessibleItem::*field, HRESULT absent,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*system)(VARIANT, BSTR*))
    {
        return Answer([&] {
            TAccessibleItem item;
            int id;
            if (!Own(child, id) || !Describe(id, item))
                return (standard_->*system)(child, out);
            return TextAnswer(item.*field, out, absent);
        });
    }

    HWND window_;
    IAccessible* standard_;
    LONG references_ = 1;
};

// The thread that owns the windows answers tools of other processes
// through COM, in an apartment of its own.
void EnterApartment()
{
    static bool entered = false;
    if (!entered) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        entered = true;
    }
}

} // namespace

LRESULT AnswerGetObject(TControl& control, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    TAccessibleItem item;
    if (!control.Describe(CHILDID_SELF, item))
        return 0;
    try {
        EnterApartment();
        IAccessible* standard = nullptr;
        if (FAILED(createStdAccessibleObject(control.Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))) ||
            !standard)
            return 0;
        auto* object = new TAccessibleObject(control.Handle(), standard);
        LRESULT result = lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
        object->Release();
        return result > 0 ? result : 0;
    } catch (...) {
        // Without the system's accessibility DLLs the system answers alone.
        return 0;
    }
}

UINT AccessibleActionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Mibor8.AccessibleAction");
    return message;
}
