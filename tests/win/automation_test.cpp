// The automation holders and by-name calls against a recording IDispatch, and array member reads.
#include "disk/automation/automation_win.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace disk::automation;

// Answers every name, records every Invoke, returns itself, a text, a number or an error.
class RecordingDispatch final : public IDispatch {
 public:
  enum class Answer { kSelf, kText, kError, kNumber };
  Answer answer = Answer::kSelf;
  std::wstring text;
  int invokes = 0;
  std::wstring lastName;
  WORD lastFlags = 0;
  std::vector<std::wstring> lastArgs;  // as found in rgvarg, last argument first

  ULONG References() {
    AddRef();
    return Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    const bool offered = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch);
    *out = offered ? static_cast<IDispatch*>(this) : nullptr;
    return offered ? (AddRef(), S_OK) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    return lastName = names[0], ids[0] = 7, S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    ++invokes;
    lastFlags = flags;
    lastArgs.clear();
    for (UINT i = 0; i < params->cArgs; ++i) {
      const VARIANT& v = params->rgvarg[i];
      lastArgs.push_back(v.vt == VT_BSTR ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal))
                                         : L"<not text>");
    }
    if (answer == Answer::kError) {
      exception->bstrDescription = SysAllocString(L"raised by the callee");
      return DISP_E_EXCEPTION;
    }
    result->vt = answer == Answer::kSelf ? VT_DISPATCH : answer == Answer::kText ? VT_BSTR : VT_I4;
    if (answer == Answer::kSelf) result->pdispVal = this, AddRef();
    if (answer == Answer::kText) result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (answer == Answer::kNumber) result->lVal = 7;
    return S_OK;
  }

 private:
  ULONG references_ = 1;
};

// An object without IDispatch, like an enumerator.
class PlainUnknown final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
    return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 1;
};

AutomationObject Hold(RecordingDispatch& d) {
  d.AddRef();
  return AutomationObject::Adopt(static_cast<IDispatch*>(&d));
}

TEST(AutomationObject, CopiesCountReferencesAndReleaseOnce) {
  RecordingDispatch d;
  {
    AutomationObject a = Hold(d);
    EXPECT_EQ(d.References(), 2u);
    AutomationObject b = a;
    EXPECT_EQ(d.References(), 3u);
    EXPECT_EQ(a.Key(), b.Key());
    EXPECT_EQ(a.Key(), reinterpret_cast<std::uintptr_t>(static_cast<IDispatch*>(&d)));
    AutomationObject c = std::move(b);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Key(), 0u);
    EXPECT_EQ(d.References(), 3u);
    const AutomationObject& self = a;
    a = self;  // self-assignment neither adds nor drops a reference
    EXPECT_EQ(d.References(), 3u);
    c = AutomationObject();
    EXPECT_EQ(d.References(), 2u);
    a.Clear();
    a.Clear();
    EXPECT_EQ(d.References(), 1u);
    a = Hold(d);
  }
  EXPECT_EQ(d.References(), 1u);
  EXPECT_TRUE(AutomationObject::Adopt(static_cast<IDispatch*>(nullptr)).IsEmpty());
}

TEST(AutomationCalls, ArgumentsGoLastToFirstAndTextRoundTrips) {
  RecordingDispatch d;
  const AutomationObject object = Hold(d);
  const AutomationObject result = CallMethodForObject(object, "ConnectServer", {".", "root\\WMI", "硬盘"});
  EXPECT_EQ(result.Key(), object.Key());
  EXPECT_EQ(d.lastName, L"ConnectServer");
  EXPECT_EQ(d.lastFlags, DISPATCH_METHOD);
  EXPECT_EQ(d.lastArgs, (std::vector<std::wstring>{L"\x786C\x76D8", L"root\\WMI", L"."}));
  CallMethodForObject(object, "ExecQuery", {"q"});
  EXPECT_EQ(d.lastArgs, (std::vector<std::wstring>{L"q"}));  // nothing for the optional ones

  d.answer = RecordingDispatch::Answer::kText;
  d.text = std::wstring(L"温度\0x", 4);
  EXPECT_EQ(GetTextProperty(object, "Name"), std::string("温度\0x", 8));
  EXPECT_EQ(d.lastFlags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
  EXPECT_TRUE(d.lastArgs.empty());
  // Text is only a BSTR; a number is not coerced.
  d.answer = RecordingDispatch::Answer::kNumber;
  EXPECT_EQ(GetTextProperty(object, "Name"), "");
  EXPECT_TRUE(GetObjectProperty(object, "Name").IsEmpty());
  EXPECT_EQ(GetValueProperty(object, "Value").Variant().vt, VT_I4);
}

TEST(AutomationCalls, FailuresAndEmptyHoldersGiveEmptyResults) {
  RecordingDispatch d;
  const AutomationObject object = Hold(d);
  d.answer = RecordingDispatch::Answer::kError;
  const AutomationObject empty;
  for (bool held : {true, false}) {  // a callee that raises, and no callee at all
    const AutomationObject& o = held ? object : empty;
    const int invokes = d.invokes;
    EXPECT_TRUE(CallMethodForObject(o, "ExecQuery", {"x"}).IsEmpty()) << held;
    EXPECT_TRUE(GetObjectProperty(o, "Properties_").IsEmpty()) << held;
    EXPECT_TRUE(GetValueProperty(o, "Value").IsEmpty()) << held;
    EXPECT_EQ(GetTextProperty(o, "Name"), "") << held;
    EXPECT_EQ(d.References(), 2u) << held;  // nothing leaked from the failing calls
    EXPECT_TRUE(held || d.invokes == invokes) << "an empty holder invoked";
  }
  AutomationObject target = object;
  EXPECT_FALSE(QueryAutomationInterface(empty, kDispatchIid, target));
  EXPECT_TRUE(target.IsEmpty());
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  EXPECT_TRUE(CreateAutomationObject("QuondaHalvix.NoSuchClass").IsEmpty());
  EXPECT_TRUE(CreateAutomationObject("").IsEmpty());
  CoUninitialize();
}

TEST(AutomationCalls, InterfaceQueryByIidText) {
  RecordingDispatch d;
  AutomationObject holder = Hold(d);
  // Into the same holder: the answer is taken before the old reference goes.
  EXPECT_TRUE(QueryAutomationInterface(holder, kDispatchIid, holder));
  EXPECT_NE(holder.As<IDispatch>(), nullptr);
  EXPECT_EQ(d.References(), 2u);
  for (const char* bad : {"", "00020400-0000-0000-C000-000000000046", "{not an iid}",
                          "{00020404-0000-0000-C000-000000000046}"}) {  // IEnumVARIANT: not offered
    AutomationObject target = holder;
    EXPECT_FALSE(QueryAutomationInterface(holder, bad, target)) << bad;
    EXPECT_TRUE(target.IsEmpty()) << bad;
  }
  EXPECT_EQ(d.References(), 2u);
  holder.Clear();
  EXPECT_EQ(d.References(), 1u);
}

TEST(AutomationValue, AsObject) {
  RecordingDispatch d;
  PlainUnknown plain;
  AutomationValue value;
  VARIANT* v = nullptr;
  for (VARTYPE type : {VT_DISPATCH, VT_UNKNOWN, VT_I4}) {  // null objects, and no object
    v = value.OutParam();
    v->vt = type;
    v->punkVal = nullptr;
    EXPECT_TRUE(value.AsObject().IsEmpty()) << type;
  }
  v = value.OutParam();
  v->vt = VT_UNKNOWN;
  v->punkVal = &d;  // offers IDispatch: held as IDispatch
  d.AddRef();
  EXPECT_NE(value.AsObject().As<IDispatch>(), nullptr);
  v = value.OutParam();  // releases d
  v->vt = VT_UNKNOWN;
  v->punkVal = &plain;  // does not: held as what it is
  plain.AddRef();
  {
    const AutomationObject object = value.AsObject();
    EXPECT_FALSE(object.IsEmpty());
    EXPECT_EQ(object.As<IDispatch>(), nullptr);
    EXPECT_EQ(plain.references, 3u);
  }
  value.Clear();
  EXPECT_EQ(plain.references, 1u);
  EXPECT_EQ(d.References(), 1u);
}

// Builds a one-dimensional array value of `type` from `elements`.
AutomationValue ArrayValue(VARTYPE type, const std::vector<VARIANT>& elements, LONG lowerBound = 0) {
  AutomationValue value;
  SAFEARRAY* array = SafeArrayCreateVector(type, lowerBound, static_cast<ULONG>(elements.size()));
  for (LONG i = 0; i < static_cast<LONG>(elements.size()); ++i) {
    LONG index = lowerBound + i;
    VARIANT element = elements[static_cast<std::size_t>(i)];
    if (type == VT_VARIANT) {
      SafeArrayPutElement(array, &index, &element);
    } else if (type == VT_BSTR) {
      SafeArrayPutElement(array, &index, element.bstrVal);
    } else {
      VariantChangeType(&element, &element, 0, type);
      // A DECIMAL fills the whole VARIANT; every other number sits in the union.
      void* data = type == VT_DECIMAL ? static_cast<void*>(&element.decVal)
                                      : static_cast<void*>(&element.llVal);
      SafeArrayPutElement(array, &index, data);
    }
  }
  VARIANT* v = value.OutParam();
  v->vt = VT_ARRAY | type;
  v->parray = array;
  return value;
}

VARIANT Of(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  return v;
}
VARIANT Number(double x) {
  VARIANT v = Of(VT_R8);
  v.dblVal = x;
  return v;
}

TEST(AutomationValue, MembersAsNumbers) {
  static BSTR texts[] = {SysAllocString(L"12.5"), SysAllocString(L"abc"), SysAllocString(L"")};
  auto text = [](int k) {
    VARIANT v = Of(VT_BSTR);
    v.bstrVal = texts[k];
    return v;
  };
  RecordingDispatch object;
  object.answer = RecordingDispatch::Answer::kNumber;
  VARIANT dispatch = Of(VT_DISPATCH);
  dispatch.pdispVal = &object;

  // The reads of members 0 .. n+1: both ends are past the array.
  struct { const char* what; AutomationValue value; std::vector<std::optional<double>> reads; } cases[] = {
      {"bytes", ArrayValue(VT_UI1, {Number(0), Number(136), Number(255)}),
       {std::nullopt, 0, 136, 255, std::nullopt}},
      {"lower bound 5", ArrayValue(VT_UI1, {Number(9), Number(194)}, 5),
       {std::nullopt, 9, 194, std::nullopt}},
      {"shorts", ArrayValue(VT_I2, {Number(-2), Number(300)}), {std::nullopt, -2, 300, std::nullopt}},
      {"doubles", ArrayValue(VT_R8, {Number(35.4), Number(1e300)}),
       {std::nullopt, 35.4, 1e300, std::nullopt}},
      {"decimals", ArrayValue(VT_DECIMAL, {Number(7), Number(-1.5)}),
       {std::nullopt, 7, -1.5, std::nullopt}},
      {"texts", ArrayValue(VT_BSTR, {text(0), text(1), text(2)}),
       {std::nullopt, 12.5, std::nullopt, std::nullopt, std::nullopt}},
      {"variants", ArrayValue(VT_VARIANT, {Number(3), text(0), Of(VT_NULL), Of(VT_EMPTY), dispatch}),
       {std::nullopt, 3, 12.5, std::nullopt, 0, std::nullopt, std::nullopt}},
      {"empty array", ArrayValue(VT_UI1, {}), {std::nullopt, std::nullopt}},
  };
  for (auto& c : cases) {
    EXPECT_TRUE(c.value.IsArray()) << c.what;
    EXPECT_EQ(c.value.MemberCount(), c.reads.size() - 2) << c.what;
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
      EXPECT_EQ(c.value.MemberAsNumber(i), c.reads[i]) << c.what << " member " << i;
    }
  }
  // An object member is not asked for its default value.
  EXPECT_EQ(object.invokes, 0);
  auto nan = ArrayValue(VT_R8, {Number(std::nan(""))});
  ASSERT_TRUE(nan.MemberAsNumber(1).has_value());
  EXPECT_TRUE(std::isnan(*nan.MemberAsNumber(1)));
}

TEST(AutomationValue, ArraysThatAreNotOneDimensionalOrLieAboutTheirType) {
  // Two dimensions: an array, but without a member count.
  SAFEARRAYBOUND bounds[2] = {{3, 0}, {2, 0}};
  AutomationValue twoD;
  VARIANT* v = twoD.OutParam();
  v->vt = VT_ARRAY | VT_UI1;
  v->parray = SafeArrayCreate(VT_UI1, 2, bounds);
  EXPECT_TRUE(twoD.IsArray());
  EXPECT_EQ(twoD.MemberCount(), 0u);
  EXPECT_EQ(twoD.MemberAsNumber(1), std::nullopt);

  // Declared as doubles, holding bytes: read as the bytes the array holds.
  AutomationValue lying = ArrayValue(VT_UI1, {Number(5), Number(6)});
  lying.OutParam();
  lying = ArrayValue(VT_UI1, {Number(5), Number(6)});
  const_cast<VARIANT&>(lying.Variant()).vt = VT_ARRAY | VT_R8;
  EXPECT_EQ(lying.MemberAsNumber(2), 6.0);

  // No element type and a size unlike the declared one: refused, not 8 bytes read from a 1-byte element.
  SAFEARRAY* bare = nullptr;
  ASSERT_EQ(SafeArrayAllocDescriptor(1, &bare), S_OK);
  bare->cbElements = 1;
  bare->rgsabound[0].cElements = 4;
  ASSERT_EQ(SafeArrayAllocData(bare), S_OK);
  AutomationValue untyped;
  v = untyped.OutParam();
  v->vt = VT_ARRAY | VT_R8;
  v->parray = bare;
  EXPECT_EQ(untyped.MemberCount(), 4u);
  EXPECT_EQ(untyped.MemberAsNumber(1), std::nullopt);
  const_cast<VARIANT&>(untyped.Variant()).vt = VT_ARRAY | VT_UI1;
  EXPECT_EQ(untyped.MemberAsNumber(1), 0.0);

  // By reference.
  AutomationValue bytes = ArrayValue(VT_UI1, {Number(42)});
  SAFEARRAY* array = bytes.Variant().parray;
  AutomationValue byRef;
  v = byRef.OutParam();
  v->vt = VT_ARRAY | VT_UI1 | VT_BYREF;
  v->pparray = &array;
  EXPECT_EQ(byRef.MemberAsNumber(1), 42.0);
  *byRef.OutParam() = VARIANT{};  // a by-reference variant owns nothing; drop it plainly

  AutomationValue scalar;
  v = scalar.OutParam();
  v->vt = VT_I4;
  EXPECT_FALSE(scalar.IsArray());
  EXPECT_EQ(scalar.MemberCount(), 0u);
}

}  // namespace
