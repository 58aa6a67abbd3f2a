// Reference counting, the live-object count and the hand-made IDispatch of
// the test provider's objects.
#include "tests/provider/com_object_win.h"

#include <oleauto.h>

#include <vector>

namespace wmi_provider {
namespace {

std::atomic<long> liveObjects{0};

}  // namespace

long LiveObjects() { return liveObjects.load(); }

LiveCount::LiveCount() { ++liveObjects; }
LiveCount::~LiveCount() { --liveObjects; }

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  return QueryOne<IDispatch>(this, IID_IDispatch, iid, out);
}

ULONG DispatchObject::AddRef() { return ++references_; }

ULONG DispatchObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  // Only the member name (names[0]); named arguments are not supported.
  for (const Member& m : members_) {
    if (names[0] != nullptr && lstrcmpiW(names[0], m.name) == 0) {
      ids[0] = m.id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT*) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (params == nullptr) return E_INVALIDARG;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != 0 && params->rgvarg == nullptr) return E_INVALIDARG;
  const Member* member = nullptr;
  for (const Member& m : members_) {
    if (m.id == id) member = &m;
  }
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  const WORD wanted = member->method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
  if ((flags & wanted) == 0) return DISP_E_MEMBERNOTFOUND;
  // rgvarg holds the arguments last to first.
  std::vector<const VARIANT*> args(params->cArgs);
  for (UINT i = 0; i < params->cArgs; ++i) args[i] = &params->rgvarg[params->cArgs - 1 - i];
  VARIANT scratch;
  VARIANT* out = result != nullptr ? result : &scratch;
  VariantInit(out);
  const HRESULT hr = Call(id, args, out);
  if (FAILED(hr) || out == &scratch) VariantClear(out);
  return hr;
}

std::optional<std::wstring> ArgumentText(const VARIANT* arg) {
  const BSTR* text = nullptr;
  if (arg->vt == VT_BSTR) text = &arg->bstrVal;
  else if (arg->vt == (VT_BSTR | VT_BYREF)) text = arg->pbstrVal;
  if (text == nullptr) return std::nullopt;
  if (*text == nullptr) return std::wstring();
  return std::wstring(*text, SysStringLen(*text));
}

void ReturnObject(IDispatch* object, VARIANT* result) {
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
}

}  // namespace wmi_provider
