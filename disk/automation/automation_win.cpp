// The automation holders and the by-name calls over IDispatch. Each call
// checks every step and turns any failure into the empty result; the VARIANTs
// and BSTRs it creates are freed on every path, and so are the strings of an
// EXCEPINFO a failing call fills in.
#include "disk/automation/automation_win.h"

#include <oleauto.h>

#include <climits>
#include <utility>
#include <vector>

#include "ui/text_win.h"

namespace disk::automation {
namespace {

// Frees what a failing Invoke may have left in an EXCEPINFO.
void FreeExcepInfo(EXCEPINFO& info) {
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
}

// Invokes member `name` of `dispatch` with `args` as given (IDispatch wants
// them last to first; the caller has reversed them). The result goes into
// `result`, which the caller has cleared.
HRESULT InvokeByName(IDispatch* dispatch, std::string_view name, WORD flags,
                     std::vector<VARIANT>& args, VARIANT* result) {
  if (dispatch == nullptr) return E_POINTER;
  std::wstring wideName = ui::Widen(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params{};
  params.rgvarg = args.empty() ? nullptr : args.data();
  params.cArgs = static_cast<UINT>(args.size());
  EXCEPINFO exception{};
  UINT argError = 0;
  hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                        &argError);
  FreeExcepInfo(exception);
  return hr;
}

// A property read is sent the way script engines send one, as a property
// get that may also be a method: some objects serve their dynamic properties
// (an instance's class properties) only for that combination.
AutomationValue ReadProperty(const AutomationObject& object, std::string_view name) {
  AutomationValue value;
  std::vector<VARIANT> noArgs;
  if (FAILED(InvokeByName(object.As<IDispatch>(), name, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                          noArgs, value.OutParam()))) {
    value.Clear();  // a failing callee may still have written something
  }
  return value;
}

// The size a SAFEARRAY element of a numeric type must have; 0 for types that
// are not numbers.
std::size_t NumberElementSize(VARTYPE type) {
  switch (type) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
    case VT_DECIMAL: return sizeof(DECIMAL);
    default: return 0;
  }
}

// Reads element `index` of `array` into `element` (cleared by the caller)
// as a VARIANT. What SafeArrayGetElement copies is decided by the array's own
// features and element size, not by the type the enclosing VARIANT claims, so
// both are checked before the copy: a lying type could otherwise make it write
// past the destination.
bool ReadElement(SAFEARRAY* array, VARTYPE declared, LONG index, VARIANT& element) {
  const USHORT features = array->fFeatures;
  if ((features & FADF_VARIANT) != 0) {
    if (array->cbElements != sizeof(VARIANT)) return false;
    return SUCCEEDED(SafeArrayGetElement(array, &index, &element));
  }
  if ((features & FADF_BSTR) != 0) {
    if (array->cbElements != sizeof(BSTR)) return false;
    BSTR text = nullptr;
    if (FAILED(SafeArrayGetElement(array, &index, &text))) return false;
    element.vt = VT_BSTR;
    element.bstrVal = text;
    return true;
  }
  if ((features & (FADF_UNKNOWN | FADF_DISPATCH | FADF_RECORD)) != 0) return false;
  VARTYPE type = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &type))) type = declared;
  const std::size_t size = NumberElementSize(type);
  if (size == 0 || size != array->cbElements) return false;
  if (type == VT_DECIMAL) {
    // DECIMAL fills the whole VARIANT, its first field overlapping vt.
    DECIMAL number{};
    if (FAILED(SafeArrayGetElement(array, &index, &number))) return false;
    element.decVal = number;
    element.vt = VT_DECIMAL;
    return true;
  }
  // Every scalar member of the union starts at the same address.
  if (FAILED(SafeArrayGetElement(array, &index, &element.llVal))) return false;
  element.vt = type;
  return true;
}

}  // namespace

// --- AutomationObject ---

AutomationObject::AutomationObject(const AutomationObject& other) noexcept
    : pointer_(other.pointer_), iid_(other.iid_) {
  if (pointer_ != nullptr) pointer_->AddRef();
}

AutomationObject& AutomationObject::operator=(const AutomationObject& other) noexcept {
  if (this != &other) {
    AutomationObject copy(other);
    *this = std::move(copy);
  }
  return *this;
}

AutomationObject::AutomationObject(AutomationObject&& other) noexcept
    : pointer_(std::exchange(other.pointer_, nullptr)), iid_(other.iid_) {}

AutomationObject& AutomationObject::operator=(AutomationObject&& other) noexcept {
  if (this != &other) {
    // Take the new reference first: releasing the old one may destroy the
    // object that owns `other`.
    IUnknown* incoming = std::exchange(other.pointer_, nullptr);
    const IID incomingIid = other.iid_;
    IUnknown* outgoing = std::exchange(pointer_, incoming);
    iid_ = incomingIid;
    if (outgoing != nullptr) outgoing->Release();
  }
  return *this;
}

AutomationObject::~AutomationObject() { Clear(); }

AutomationObject AutomationObject::Adopt(void* pointer, const IID& iid) noexcept {
  AutomationObject object;
  if (pointer != nullptr) {
    // Every COM interface begins with IUnknown's three methods.
    object.pointer_ = static_cast<IUnknown*>(pointer);
    object.iid_ = iid;
  }
  return object;
}

void AutomationObject::Clear() noexcept {
  if (IUnknown* outgoing = std::exchange(pointer_, nullptr)) outgoing->Release();
  iid_ = IID_NULL;
}

// --- AutomationValue ---

AutomationValue::AutomationValue() noexcept { VariantInit(&variant_); }

AutomationValue::AutomationValue(AutomationValue&& other) noexcept : variant_(other.variant_) {
  VariantInit(&other.variant_);
}

AutomationValue& AutomationValue::operator=(AutomationValue&& other) noexcept {
  if (this != &other) {
    Clear();
    variant_ = other.variant_;
    VariantInit(&other.variant_);
  }
  return *this;
}

AutomationValue::~AutomationValue() { Clear(); }

void AutomationValue::Clear() noexcept {
  VariantClear(&variant_);
  // Should VariantClear refuse (a locked array), leaking beats handing a
  // still-owned variant to a callee that would overwrite it.
  VariantInit(&variant_);
}

VARIANT* AutomationValue::OutParam() noexcept {
  Clear();
  return &variant_;
}

SAFEARRAY* AutomationValue::Array() const noexcept {
  if ((variant_.vt & VT_ARRAY) == 0) return nullptr;
  if ((variant_.vt & VT_BYREF) != 0) {
    return variant_.pparray != nullptr ? *variant_.pparray : nullptr;
  }
  return variant_.parray;
}

bool AutomationValue::IsArray() const noexcept { return Array() != nullptr; }

std::size_t AutomationValue::MemberCount() const noexcept {
  SAFEARRAY* array = Array();
  if (array == nullptr || SafeArrayGetDim(array) != 1) return 0;
  return array->rgsabound[0].cElements;
}

std::optional<double> AutomationValue::MemberAsNumber(std::size_t i) const noexcept {
  const std::size_t count = MemberCount();
  if (i == 0 || i > count) return std::nullopt;
  SAFEARRAY* array = Array();
  const long long at = static_cast<long long>(array->rgsabound[0].lLbound) +
                       static_cast<long long>(i - 1);
  if (at > LONG_MAX) return std::nullopt;
  const VARTYPE declared = static_cast<VARTYPE>(variant_.vt & VT_TYPEMASK);

  VARIANT element;
  VariantInit(&element);
  if (!ReadElement(array, declared, static_cast<LONG>(at), element)) return std::nullopt;
  // An object member would be asked for its default value by the
  // conversion, a call into arbitrary code; it is simply not a number.
  const VARTYPE kind = static_cast<VARTYPE>(element.vt & VT_TYPEMASK);
  const bool convertible = (element.vt & VT_ARRAY) == 0 && kind != VT_DISPATCH &&
                           kind != VT_UNKNOWN && kind != VT_RECORD;
  VARIANT number;
  VariantInit(&number);
  const HRESULT hr = convertible ? VariantChangeType(&number, &element, 0, VT_R8) : E_FAIL;
  VariantClear(&element);
  if (FAILED(hr) || number.vt != VT_R8) return std::nullopt;
  return number.dblVal;
}

std::optional<bool> AutomationValue::AsFlag() const noexcept {
  if (variant_.vt != VT_BOOL) return std::nullopt;
  return variant_.boolVal != VARIANT_FALSE;
}

AutomationObject AutomationValue::AsObject() const noexcept {
  IUnknown* unknown = nullptr;
  switch (variant_.vt) {
    case VT_DISPATCH: unknown = variant_.pdispVal; break;
    case VT_DISPATCH | VT_BYREF:
      unknown = variant_.ppdispVal != nullptr ? *variant_.ppdispVal : nullptr;
      break;
    case VT_UNKNOWN: unknown = variant_.punkVal; break;
    case VT_UNKNOWN | VT_BYREF:
      unknown = variant_.ppunkVal != nullptr ? *variant_.ppunkVal : nullptr;
      break;
    default: return {};
  }
  if (unknown == nullptr) return {};
  if ((variant_.vt & VT_TYPEMASK) == VT_DISPATCH) {
    unknown->AddRef();
    return AutomationObject::Adopt(static_cast<IDispatch*>(unknown));
  }
  IDispatch* dispatch = nullptr;
  if (SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) &&
      dispatch != nullptr) {
    return AutomationObject::Adopt(dispatch);
  }
  unknown->AddRef();
  return AutomationObject::Adopt(unknown);
}

// --- by-name calls ---

AutomationObject CreateAutomationObject(std::string_view progId) {
  const std::wstring wide = ui::Widen(progId);
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(wide.c_str(), &clsid))) return {};
  IDispatch* dispatch = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    return {};
  }
  return AutomationObject::Adopt(dispatch);
}

AutomationObject CallMethodForObject(const AutomationObject& object, std::string_view name,
                                     std::initializer_list<std::string_view> args) {
  IDispatch* dispatch = object.As<IDispatch>();
  if (dispatch == nullptr) return {};
  // IDispatch takes the arguments last to first.
  std::vector<VARIANT> reversed(args.size());
  bool complete = true;
  std::size_t slot = args.size();
  for (std::string_view arg : args) {
    VARIANT& v = reversed[--slot];
    VariantInit(&v);
    const std::wstring wide = ui::Widen(arg);
    v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (v.bstrVal == nullptr) complete = false;
    else v.vt = VT_BSTR;
  }
  AutomationValue result;
  if (complete &&
      FAILED(InvokeByName(dispatch, name, DISPATCH_METHOD, reversed, result.OutParam()))) {
    result.Clear();
  }
  for (VARIANT& v : reversed) VariantClear(&v);
  return result.AsObject();
}

AutomationObject GetObjectProperty(const AutomationObject& object, std::string_view name) {
  return ReadProperty(object, name).AsObject();
}

AutomationValue GetValueProperty(const AutomationObject& object, std::string_view name) {
  return ReadProperty(object, name);
}

std::string GetTextProperty(const AutomationObject& object, std::string_view name) {
  const AutomationValue value = ReadProperty(object, name);
  const VARIANT& v = value.Variant();
  if (v.vt != VT_BSTR || v.bstrVal == nullptr) return {};
  return ui::Narrow(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal)));
}

bool QueryAutomationInterface(const AutomationObject& source, std::string_view iidText,
                              AutomationObject& target) {
  IUnknown* unknown = source.Unknown();
  std::wstring wide = ui::Widen(iidText);
  IID iid{};
  void* answer = nullptr;
  if (unknown == nullptr || FAILED(IIDFromString(wide.c_str(), &iid)) ||
      FAILED(unknown->QueryInterface(iid, &answer))) {
    answer = nullptr;
  }
  // `target` may be `source`: the answer holds its own reference before the
  // old one is released.
  target = AutomationObject::Adopt(answer, iid);
  return !target.IsEmpty();
}

}  // namespace disk::automation
