// The base of the test provider's COM objects: a process-wide count of live objects, and an IDispatch by hand
// over a table of member names (matched case-insensitively, as automation clients expect), with no type library.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <optional>
#include <span>
#include <string>

namespace wmi_provider {

// Objects of this provider alive now (created and not yet destroyed).
long LiveObjects();

// Counts one live object for as long as it exists.
class LiveCount {
 public:
  LiveCount();
  LiveCount(const LiveCount&) = delete;
  LiveCount& operator=(const LiveCount&) = delete;
  ~LiveCount();
};

// A by-name member: called with DISPATCH_METHOD, or else read as a property.
struct Member {
  const wchar_t* name;
  DISPID id;
  bool method;
};

class DispatchObject : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override;

 protected:
  explicit DispatchObject(std::span<const Member> members) : members_(members) {}
  virtual ~DispatchObject() = default;

  // `args` are in the caller's order (first argument first); `result` is
  // cleared and never null.
  virtual HRESULT Call(DISPID id, std::span<const VARIANT* const> args, VARIANT* result) = 0;

 private:
  std::span<const Member> members_;
  std::atomic<ULONG> references_{1};
  LiveCount live_;
};

// Text of an argument: a BSTR (also by reference); no value for anything else.
std::optional<std::wstring> ArgumentText(const VARIANT* arg);

// Stores `object` (may be null) into `result` as VT_DISPATCH, taking over the reference.
void ReturnObject(IDispatch* object, VARIANT* result);

// QueryInterface of an object that offers IUnknown and the one interface `offered` of type I.
template <typename I>
HRESULT QueryOne(I* self, REFIID offered, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  const bool ok = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, offered);
  *out = ok ? self : nullptr;
  return ok ? (self->AddRef(), S_OK) : E_NOINTERFACE;
}

}  // namespace wmi_provider
