#include "framework/accessible.h"

#include <oleacc.h>

#include "framework/control.h"

namespace lumitrax {
namespace {

// The standard object of the window's client area with the control's answer
// laid over it. Calls arrive on the GUI thread (the object lives in its
// single-threaded apartment), so asking the control is safe.
// COM objects end through Release, never through a pointer to the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TAccessibleOverlay final : public IAccessible {
 public:
  TAccessibleOverlay(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // IEnumVARIANT, IOleWindow and the rest: the standard object's.
    return standard_->QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return left;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override {
    return standard_->Invoke(id, iid, lcid, flags, params, result, exception, arg_error);
  }

  // IAccessible: the overlaid four for the object itself.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    TAccessibleAnswer answer;
    if (!IsSelf(child) || !Ask(answer) || answer.name.empty()) return standard_->get_accName(child, name);
    return Text(answer.name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    TAccessibleAnswer answer;
    if (!IsSelf(child) || !Ask(answer) || answer.value.empty()) return standard_->get_accValue(child, value);
    return Text(answer.value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    TAccessibleAnswer answer;
    if (!IsSelf(child) || !Ask(answer) || answer.role == 0) return standard_->get_accRole(child, role);
    ::VariantInit(role);
    role->vt = VT_I4;
    role->lVal = answer.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    const HRESULT result = standard_->get_accState(child, state);
    TAccessibleAnswer answer;
    if (!IsSelf(child) || !Ask(answer) || (answer.states_on == 0 && answer.states_off == 0)) return result;
    long states = (SUCCEEDED(result) && state->vt == VT_I4) ? state->lVal : 0;
    states = (states | answer.states_on) & ~answer.states_off;
    ::VariantClear(state);
    state->vt = VT_I4;
    state->lVal = states;
    return S_OK;
  }

  // The rest is the standard object's.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
    return standard_->get_accChild(child, dispatch);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return standard_->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return standard_->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
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
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  virtual ~TAccessibleOverlay() = default;

  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

  // The control's answer now; false when the window or its query is gone.
  // Called from the system: nothing may escape.
  bool Ask(TAccessibleAnswer& answer) noexcept {
    try {
      auto* control = dynamic_cast<TControl*>(TWindow::FromHandle(window_));
      if (!control) return false;
      control->DescribeForAccessibility(answer);
      return true;
    } catch (...) {
      return false;
    }
  }

  static HRESULT Text(const std::wstring& text, BSTR* out) {
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HWND window_;
  IAccessible* standard_;
  ULONG references_ = 1;
};
#pragma GCC diagnostic pop

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wparam, LPARAM lparam) {
  if (static_cast<LONG>(lparam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&standard))) ||
      !standard)
    return 0;
  auto* overlay = new TAccessibleOverlay(window, standard);
  // LresultFromObject holds its own reference for the client; ours ends here.
  const LRESULT result = ::LresultFromObject(kIidAccessible, wparam, overlay);
  overlay->Release();
  return result > 0 ? result : 0;
}

void NotifyAccessibleChange(HWND window, DWORD event) {
  if (window) ::NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace lumitrax
