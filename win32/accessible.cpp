#include "win32/accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace vorlane {
namespace {

constexpr UINT_PTR AccessibleSubclass = 2;

// A function of a DLL loaded at run time; the detour through void(*)() tells the compiler that
// the type is meant.
template <typename Function> Function function(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(
                        reinterpret_cast<void (*)()>(::GetProcAddress(module, name)))
                  : nullptr;
}

// The few functions of the accessibility DLLs that the wrapper needs.
struct Accessibility {
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) resultFromObject = nullptr;
    decltype(&::SysAllocStringLen) allocateString = nullptr;
    decltype(&::DispInvoke) invoke = nullptr;

    bool loaded() const { return createStandard && resultFromObject && allocateString && invoke; }
};

// Loaded once, on the window's thread, when the first client asks; the libraries stay for the
// life of the process. The objects are handed out from this thread, so it joins a single-threaded
// apartment, as their marshalling to another process needs.
const Accessibility* accessibility() {
    static const Accessibility loaded = [] {
        Accessibility functions;
        const auto initialize =
            function<decltype(&::CoInitializeEx)>(::LoadLibraryW(L"ole32.dll"), "CoInitializeEx");
        if (!initialize || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)))
            return functions;
        const HMODULE oleacc = ::LoadLibraryW(L"oleacc.dll");
        functions.createStandard =
            function<decltype(&::CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
        functions.resultFromObject =
            function<decltype(&::LresultFromObject)>(oleacc, "LresultFromObject");
        const HMODULE oleaut = ::LoadLibraryW(L"oleaut32.dll");
        functions.allocateString =
            function<decltype(&::SysAllocStringLen)>(oleaut, "SysAllocStringLen");
        functions.invoke = function<decltype(&::DispInvoke)>(oleaut, "DispInvoke");
        return functions;
    }();
    return loaded.loaded() ? &loaded : nullptr;
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Windows' own accessible object for a control, with the table's name and description. Every
// other question goes to Windows' object, which knows the control's role, state, place and
// value.
class AccessibleControl final : public IAccessible {
public:
    AccessibleControl(IAccessible* standard, const AccessibleText& texts,
                      const Accessibility& functions)
        : m_standard(standard), m_texts(texts), m_functions(functions) {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // IEnumVARIANT, IOleWindow and the like: Windows' object answers them for the control.
        return m_standard->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    // A call by name through IDispatch comes to this object's own functions, by the type
    // information of Windows' object.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        if (id != GUID{}) // IID_NULL, which needs no library
            return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        const HRESULT found = m_standard->GetTypeInfo(0, locale, &info);
        if (FAILED(found))
            return found;
        const HRESULT invoked = m_functions.invoke(static_cast<IAccessible*>(this), info, member,
                                                   flags, parameters, result, exception, argument);
        info->Release();
        return invoked;
    }

    // IAccessible: the name, the description and, for a silent control, its state are ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return isSelf(child) ? text(m_texts.name, name) : m_standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return isSelf(child) ? text(m_texts.description, description)
                             : m_standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (isSelf(child) && isSilent(m_texts))
            return text({}, value);
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = m_standard->get_accState(child, state);
        if (SUCCEEDED(result) && state && state->vt == VT_I4 && isSelf(child) && isSilent(m_texts))
            state->lVal |= STATE_SYSTEM_INVISIBLE;
        return result;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return m_standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return m_standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return m_standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_standard->put_accValue(child, value);
    }

private:
    ~AccessibleControl() { m_standard->Release(); }

    // An empty text is no text: S_FALSE and no string, as MSAA reports a control without one.
    HRESULT text(std::u16string_view value, BSTR* out) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (value.empty())
            return S_FALSE;
        *out = m_functions.allocateString(reinterpret_cast<const OLECHAR*>(value.data()),
                                          static_cast<UINT>(value.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* m_standard;
    const AccessibleText& m_texts;
    const Accessibility& m_functions;
    ULONG m_references = 1;
};

LRESULT CALLBACK accessibleProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR texts) {
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(control, accessibleProcedure, AccessibleSubclass);
    // OBJID_CLIENT arrives as a 32-bit value; UI Automation's own question is left to Windows,
    // whose answer, MSAA's proxy, asks again for OBJID_CLIENT.
    if (message != WM_GETOBJECT || static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return ::DefSubclassProc(control, message, wParam, lParam);
    const Accessibility* functions = accessibility();
    IAccessible* standard = nullptr;
    if (!functions || FAILED(functions->createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&standard))))
        return ::DefSubclassProc(control, message, wParam, lParam);
    auto* object = new AccessibleControl(standard, *reinterpret_cast<const AccessibleText*>(texts),
                                         *functions);
    if (!object) {
        standard->Release();
        return ::DefSubclassProc(control, message, wParam, lParam);
    }
    const LRESULT result = functions->resultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release(); // the result holds its own reference
    return result;
}

} // namespace

bool announce(HWND control, const AccessibleText& texts) {
    return ::SetWindowSubclass(control, accessibleProcedure, AccessibleSubclass,
                               reinterpret_cast<DWORD_PTR>(&texts));
}

} // namespace vorlane
