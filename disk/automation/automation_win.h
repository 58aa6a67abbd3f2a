// Late-bound COM Automation for the disk report: holders for an interface
// pointer and for one VARIANT, object creation from a ProgID, and methods and
// properties called by name through IDispatch. Every operation is total:
// a failure anywhere (no class, no member of that name, an error raised by the
// call, a result of the wrong kind, an empty holder) yields the empty result,
// and nothing is reported, so a chain of calls on a missing object simply
// produces nothing. No exceptions leave this module. Text is the program's
// UTF-8 on this side and BSTR on the COM side.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace disk::automation {

// Registry form of IEnumVARIANT's IID, as the walk queries it.
inline constexpr std::string_view kEnumVariantIid = "{00020404-0000-0000-C000-000000000046}";
inline constexpr std::string_view kDispatchIid = "{00020400-0000-0000-C000-000000000046}";

// Empty, or one counted reference to a COM interface together with the IID it
// was obtained as. Objects obtained by name hold IDispatch; after an interface
// query the holder holds the queried interface. Copying adds a reference;
// replacing, clearing or destroying releases the one held.
class AutomationObject {
 public:
  AutomationObject() = default;
  AutomationObject(const AutomationObject& other) noexcept;
  AutomationObject& operator=(const AutomationObject& other) noexcept;
  AutomationObject(AutomationObject&& other) noexcept;
  AutomationObject& operator=(AutomationObject&& other) noexcept;
  ~AutomationObject();

  // Takes over a reference the caller owns; `pointer` is an interface of
  // type `iid`. A null pointer gives an empty holder.
  static AutomationObject Adopt(void* pointer, const IID& iid) noexcept;
  template <class Interface>
  static AutomationObject Adopt(Interface* pointer) noexcept {
    return Adopt(static_cast<void*>(pointer), __uuidof(Interface));
  }

  void Clear() noexcept;
  bool IsEmpty() const noexcept { return pointer_ == nullptr; }
  // The interface pointer value at full width (a table key), 0 when empty.
  std::uintptr_t Key() const noexcept { return reinterpret_cast<std::uintptr_t>(pointer_); }
  IUnknown* Unknown() const noexcept { return pointer_; }

  // The held interface as Interface, or null when the holder is empty or
  // holds another interface.
  template <class Interface>
  Interface* As() const noexcept {
    return pointer_ != nullptr && IsEqualIID(iid_, __uuidof(Interface))
               ? static_cast<Interface*>(pointer_)
               : nullptr;
  }

 private:
  IUnknown* pointer_ = nullptr;
  IID iid_ = IID_NULL;
};

// Owns one VARIANT: cleared before it is reused and when the holder goes.
// Move-only; a copy would need a deep VariantCopy nobody here wants.
class AutomationValue {
 public:
  AutomationValue() noexcept;
  AutomationValue(AutomationValue&& other) noexcept;
  AutomationValue& operator=(AutomationValue&& other) noexcept;
  AutomationValue(const AutomationValue&) = delete;
  AutomationValue& operator=(const AutomationValue&) = delete;
  ~AutomationValue();

  void Clear() noexcept;
  // Clears the variant and hands out its address for a callee to fill.
  VARIANT* OutParam() noexcept;
  const VARIANT& Variant() const noexcept { return variant_; }

  bool IsEmpty() const noexcept { return variant_.vt == VT_EMPTY; }
  // Whether it holds an array (of any element type or number of dimensions).
  bool IsArray() const noexcept;
  // The member count of a one-dimensional array; 0 for anything else,
  // two-dimensional arrays included.
  std::size_t MemberCount() const noexcept;
  // Member i, counted from 1, as a number: numeric elements, VARIANT elements
  // and BSTR elements go through VariantChangeType to VT_R8. No value when i
  // is out of range or the member is not a number; object and array members
  // count as not a number, and are not asked for a default value.
  std::optional<double> MemberAsNumber(std::size_t i) const noexcept;
  // A yes/no value, as WMI's boolean properties arrive: VT_BOOL. No value for
  // anything else, text included ("False" reads differently by locale).
  std::optional<bool> AsFlag() const noexcept;
  // The held object reference: IDispatch when the object offers it; an
  // object that does not (an enumerator) is held as the IUnknown delivered.
  // Empty for null references and for anything that is not an object.
  AutomationObject AsObject() const noexcept;

 private:
  SAFEARRAY* Array() const noexcept;
  VARIANT variant_;
};

// An object of the class registered under `progId`, as IDispatch; in-process
// or local server.
AutomationObject CreateAutomationObject(std::string_view progId);

// Calls method `name` with the text arguments in the given order; optional
// parameters after them are not passed. The result as an object.
AutomationObject CallMethodForObject(const AutomationObject& object, std::string_view name,
                                     std::initializer_list<std::string_view> args = {});

// Property `name` read as an object, as a value, and as text. Only a BSTR
// counts as text; any other value reads as empty text.
AutomationObject GetObjectProperty(const AutomationObject& object, std::string_view name);
AutomationValue GetValueProperty(const AutomationObject& object, std::string_view name);
std::string GetTextProperty(const AutomationObject& object, std::string_view name);

// Asks the interface held by `source` for the interface whose IID is given in
// registry form ("{00020404-0000-0000-C000-000000000046}") and stores the
// answer into `target`, which may be `source` itself: the queried interface,
// or empty on failure. Returns whether `target` holds the interface now.
bool QueryAutomationInterface(const AutomationObject& source, std::string_view iidText,
                              AutomationObject& target);

}  // namespace disk::automation
