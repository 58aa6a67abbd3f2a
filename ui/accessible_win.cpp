// IAccessible over the accessible description; see accessible_win.h.
#include "ui/accessible_win.h"

#include <oleacc.h>

#include <atomic>
#include <string>
#include <vector>

#include "ui/accessibility.h"
#include "ui/messages_win.h"
#include "ui/text_win.h"

namespace ui {

VARIANT LongVariant(LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

namespace {

LONG RoleCode(Role role) {
  switch (role) {
    case Role::kClient: return ROLE_SYSTEM_CLIENT;
    case Role::kPushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case Role::kRadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case Role::kStaticText: return ROLE_SYSTEM_STATICTEXT;
    case Role::kLink: return ROLE_SYSTEM_LINK;
    case Role::kProgressBar: return ROLE_SYSTEM_PROGRESSBAR;
    case Role::kGraphic: return ROLE_SYSTEM_GRAPHIC;
    case Role::kGrouping: return ROLE_SYSTEM_GROUPING;
    case Role::kText: return ROLE_SYSTEM_TEXT;
    case Role::kSpinButton: return ROLE_SYSTEM_SPINBUTTON;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG StateCode(unsigned states) {
  LONG code = 0;
  if (states & kStateUnavailable) code |= STATE_SYSTEM_UNAVAILABLE;
  if (states & kStateInvisible) code |= STATE_SYSTEM_INVISIBLE;
  if (states & kStateFocused) code |= STATE_SYSTEM_FOCUSED;
  if (states & kStateFocusable) code |= STATE_SYSTEM_FOCUSABLE;
  if (states & kStateChecked) code |= STATE_SYSTEM_CHECKED;
  if (states & kStateReadOnly) code |= STATE_SYSTEM_READONLY;
  if (states & kStateLinked) code |= STATE_SYSTEM_LINKED;
  return code;
}

// Whether the keyboard focus of the system is in this window: only then is
// the model's focused control the focused object.
bool HoldsFocus(HWND hwnd) {
  HWND focus = GetFocus();
  return focus && (focus == hwnd || IsChild(hwnd, focus));
}

HRESULT Text(const std::string& utf8, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (utf8.empty()) return S_FALSE;
  *out = SysAllocString(Widen(utf8).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// One object per container: the window (container kNoControl) or a spin
// control. It is also the enumerator of its own children, as the system's
// objects are.
class AccessibleObject final : public IAccessible, public IEnumVARIANT {
 public:
  AccessibleObject(std::shared_ptr<AccessibleTarget> target, ControlId container)
      : target_(std::move(target)), container_(container) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (riid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: clients of this interface use its own methods.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    if (container_ != kNoControl) {
      *parent = new AccessibleObject(target_, kNoControl);
      return S_OK;
    }
    return AccessibleObjectFromWindow(target_->hwnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  STDMETHODIMP get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<LONG>(Children().size());
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleId id;
    if (HRESULT hr = Resolve(child, id); FAILED(hr)) return hr;
    if (container_ == kNoControl && id.control != kNoControl &&
        target_->model->At(id.control).kind == Kind::kSpin) {
      *out = new AccessibleObject(target_, id.control);
      return S_OK;
    }
    return S_FALSE;  // a simple element, answered by this object
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    return Text(info.name, name);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    return Text(info.value, value);
  }
  STDMETHODIMP get_accDescription(VARIANT, BSTR* out) override { return Text({}, out); }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    *role = LongVariant(RoleCode(info.role));
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    if (!HoldsFocus(target_->hwnd)) info.states &= ~kStateFocused;
    *state = LongVariant(StateCode(info.states));
    return S_OK;
  }
  STDMETHODIMP get_accHelp(VARIANT, BSTR* out) override { return Text({}, out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* out) override { return Text({}, out); }
  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    if (container_ != kNoControl || !HoldsFocus(target_->hwnd)) return S_FALSE;
    ControlId id = target_->model->Focused();
    *focus = LongVariant(id == kNoControl ? CHILDID_SELF : ChildIdOf(id));
    return S_OK;
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    return Text(info.defaultAction, action);
  }
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override {
    AccessibleId id;
    if (HRESULT hr = Resolve(child, id); FAILED(hr)) return hr;
    if (!(flags & SELFLAG_TAKEFOCUS) || id.part != 0) return S_FALSE;
    std::optional<AccessibleInfo> info = Describe(*target_->model, id);
    if (!info || !(info->states & kStateFocusable)) return S_FALSE;
    target_->model->SetFocused(id.control);
    return S_OK;
  }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    const Rect at = target_->scale.ToDevice(info.rect);
    POINT origin{at.left, at.top};
    ClientToScreen(target_->hwnd, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = at.width;
    *height = at.height;
    return S_OK;
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    AccessibleId from;
    if (HRESULT hr = Resolve(start, from); FAILED(hr)) return hr;
    std::vector<LONG> children = Children();
    if (children.empty()) return S_FALSE;
    LONG self = start.vt == VT_I4 ? start.lVal : CHILDID_SELF;
    int at = -1;
    for (size_t i = 0; i < children.size(); ++i) {
      if (children[i] == self) at = static_cast<int>(i);
    }
    int to = -1;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: to = self == CHILDID_SELF ? 0 : -1; break;
      case NAVDIR_LASTCHILD: to = self == CHILDID_SELF ? static_cast<int>(children.size()) - 1 : -1; break;
      case NAVDIR_NEXT: to = at >= 0 ? at + 1 : -1; break;
      case NAVDIR_PREVIOUS: to = at >= 0 ? at - 1 : -1; break;
      default: return E_NOTIMPL;
    }
    if (to < 0 || to >= static_cast<int>(children.size())) return S_FALSE;
    *end = LongVariant(children[static_cast<size_t>(to)]);
    return S_OK;
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    POINT screen{x, y};
    ScreenToClient(target_->hwnd, &screen);
    const Point pt = target_->scale.PixelAt(Point{screen.x, screen.y});
    const Window& model = *target_->model;
    if (!model.ClientRect().Contains(pt)) return S_FALSE;
    AccessibleId id = ElementAt(model, pt);
    if (container_ != kNoControl) {
      if (id.control != container_) return S_FALSE;
      *hit = LongVariant(id.part > 0 ? 1 : 2);
      return S_OK;
    }
    if (id.control == kNoControl) {
      *hit = LongVariant(CHILDID_SELF);
    } else if (model.At(id.control).kind == Kind::kSpin) {
      hit->vt = VT_DISPATCH;
      hit->pdispVal = new AccessibleObject(target_, id.control);
    } else {
      *hit = LongVariant(ChildIdOf(id.control));
    }
    return S_OK;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    AccessibleInfo info;
    if (HRESULT hr = Info(child, info); FAILED(hr)) return hr;
    if (info.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    AccessibleId id;
    Resolve(child, id);
    PostMessageW(target_->hwnd, kDefaultActionMessage, static_cast<WPARAM>(id.control),
                 static_cast<LPARAM>(id.part));
    return S_OK;
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // IEnumVARIANT over the children, as child ids.
  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    std::vector<LONG> children = Children();
    ULONG n = 0;
    while (n < count && next_ < children.size()) out[n++] = LongVariant(children[next_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ += count;
    return next_ <= Children().size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    auto* copy = new AccessibleObject(target_, container_);
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }

 private:
  bool Live() const { return target_->model && target_->hwnd && !target_->model->IsClosed(); }

  std::vector<LONG> Children() const {
    if (container_ != kNoControl) return {1, 2};
    std::vector<LONG> out;
    for (ControlId id : AccessibleControls(*target_->model)) out.push_back(ChildIdOf(id));
    return out;
  }

  HRESULT Resolve(const VARIANT& child, AccessibleId& id) const {
    if (!Live()) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    LONG c = child.lVal;
    if (container_ != kNoControl) {
      if (c != CHILDID_SELF && c != 1 && c != 2) return E_INVALIDARG;
      id = {container_, c == CHILDID_SELF ? 0 : (c == 1 ? 1 : -1)};
      return S_OK;
    }
    if (c == CHILDID_SELF) {
      id = {};
      return S_OK;
    }
    if (c < 1 || c > target_->model->ControlCount()) return E_INVALIDARG;
    id = {static_cast<ControlId>(c - 1), 0};
    return Describe(*target_->model, id) ? S_OK : E_INVALIDARG;
  }

  HRESULT Info(const VARIANT& child, AccessibleInfo& info) const {
    AccessibleId id;
    if (HRESULT hr = Resolve(child, id); FAILED(hr)) return hr;
    std::optional<AccessibleInfo> described = Describe(*target_->model, id);
    if (!described) return E_INVALIDARG;
    info = std::move(*described);
    return S_OK;
  }

  std::atomic<ULONG> refs_{1};
  std::shared_ptr<AccessibleTarget> target_;
  ControlId container_;
  size_t next_ = 0;
};

}  // namespace

LRESULT AnswerGetObject(const std::shared_ptr<AccessibleTarget>& target, WPARAM wParam) {
  if (!target || !target->model) return 0;
  auto* object = new AccessibleObject(target, kNoControl);
  LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
  object->Release();
  return result;
}

void AnnounceChange(HWND hwnd, const Window& model, ControlId id, Change change) {
  if (!hwnd || id == kNoControl || !Describe(model, {id, 0})) return;
  DWORD event = 0;
  switch (change) {
    case Change::kCaption:
      event = model.At(id).kind == Kind::kEditBox ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE;
      break;
    case Change::kState:
      event = EVENT_OBJECT_STATECHANGE;
      break;
    case Change::kValue:
      event = EVENT_OBJECT_VALUECHANGE;
      break;
    case Change::kVisibility:
      event = model.IsShown(id) ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE;
      break;
    case Change::kBounds:
      event = EVENT_OBJECT_LOCATIONCHANGE;
      break;
    case Change::kFocus:
      // A native edit box announces its own focus; a drawn control only has
      // it while the window holds the system's focus.
      if (IsNative(model.At(id)) || GetFocus() != hwnd) return;
      event = EVENT_OBJECT_FOCUS;
      break;
    case Change::kTimer:
    case Change::kNative:
    case Change::kAnimation:
      return;
  }
  NotifyWinEvent(event, hwnd, OBJID_CLIENT, ChildIdOf(id));
}

}  // namespace ui
