// The scripting objects and the IEnumVARIANT of the two collections. Each holds the scenario and nothing else
// but its collection (an enumerator), so releasing what a client received brings the live count back to zero.
#include "tests/provider/objects_win.h"

#include <oleauto.h>

#include <utility>

#include "tests/provider/com_object_win.h"

namespace wmi_provider {
namespace {

constexpr Member kCollectionMembers[] = {{L"_NewEnum", DISPID_NEWENUM, false}, {L"Count", 1, false}};
constexpr DISPID kDispidName = 1;
constexpr Member kPropertyMembers[] = {{L"Name", kDispidName, false}, {L"Value", DISPID_VALUE, false}};
constexpr Member kInstanceMembers[] = {{L"Properties_", 1, false}};
constexpr Member kServiceMembers[] = {{L"ExecQuery", 1, true}};
constexpr Member kLocatorMembers[] = {{L"ConnectServer", 1, true}};

// RPC_S_SERVER_UNAVAILABLE as an HRESULT, for a remote computer name.
constexpr HRESULT kServerUnavailable = static_cast<HRESULT>(0x800706BA);
constexpr HRESULT kInvalidQueryType = static_cast<HRESULT>(0x80041018);
constexpr HRESULT kFailed = static_cast<HRESULT>(0x80041001);

std::wstring JoinArgs(const wchar_t* method, std::span<const VARIANT* const> args) {
  std::wstring call = method;
  call += L'(';
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) call += L'|';
    call += ArgumentText(args[i]).value_or(L"<not text>");
  }
  return call + L')';
}

bool IsMissing(const VARIANT* arg) {
  return arg->vt == VT_ERROR && arg->scode == DISP_E_PARAMNOTFOUND;
}

// A collection with "_NewEnum" and "Count"; subclasses say what member i is.
class Collection : public DispatchObject {
 public:
  Collection(std::shared_ptr<const Scenario> scenario, CollectionBehaviour behaviour)
      : DispatchObject(kCollectionMembers), scenario_(std::move(scenario)), behaviour_(behaviour) {}

  // Members 0..Size()-1 are the real ones; an endless collection also answers
  // for every index after them.
  virtual std::size_t Size() const = 0;
  // Writes member `index` into `out` (cleared) and returns false past the end.
  virtual bool GetMember(std::size_t index, VARIANT* out) = 0;
  Fault fault() const { return behaviour_.fault; }

 protected:
  HRESULT Call(DISPID id, std::span<const VARIANT* const> args, VARIANT* result) override;

  std::shared_ptr<const Scenario> scenario_;

 private:
  CollectionBehaviour behaviour_;
};

class Enumerator final : public IEnumVARIANT {
 public:
  explicit Enumerator(Collection* collection, std::size_t position = 0)
      : collection_(collection), position_(position) {
    collection_->AddRef();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOne<IEnumVARIANT>(this, IID_IEnumVARIANT, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
    if (fetched != nullptr) *fetched = 0;
    if (out == nullptr || (wanted > 1 && fetched == nullptr)) return E_INVALIDARG;
    ULONG done = 0;
    for (; done < wanted; ++done) {
      const Fault fault = collection_->fault();
      if (position_ >= 1 && fault == Fault::kNothingFetched) return S_OK;
      if (position_ >= 1 && fault == Fault::kError) return kFailed;
      VariantInit(&out[done]);
      if (!collection_->GetMember(position_, &out[done])) break;
      ++position_;
      if (fetched != nullptr) *fetched = done + 1;
    }
    return done == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    position_ += count;
    return position_ <= collection_->Size() || collection_->fault() == Fault::kEndless ? S_OK
                                                                                        : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out == nullptr) return E_POINTER;
    *out = new Enumerator(collection_, position_);
    return S_OK;
  }

 private:
  ~Enumerator() { collection_->Release(); }

  std::atomic<ULONG> references_{1};
  LiveCount live_;
  Collection* collection_;
  std::size_t position_;
};

HRESULT Collection::Call(DISPID id, std::span<const VARIANT* const> args, VARIANT* result) {
  if (!args.empty()) return DISP_E_BADPARAMCOUNT;
  if (id == DISPID_NEWENUM) {
    result->vt = VT_UNKNOWN;
    result->punkVal = behaviour_.nullEnumerator ? nullptr : new Enumerator(this);
    return S_OK;
  }
  result->vt = VT_I4;
  result->lVal = static_cast<LONG>(Size());
  return S_OK;
}

class Property final : public DispatchObject {
 public:
  explicit Property(std::shared_ptr<const PropertyData> data)
      : DispatchObject(kPropertyMembers), data_(std::move(data)) {}

 protected:
  HRESULT Call(DISPID id, std::span<const VARIANT* const> args, VARIANT* result) override {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    const VARIANT* source = id == kDispidName ? data_->name.Get() : data_->value.Get();
    return VariantCopy(result, const_cast<VARIANT*>(source));
  }

 private:
  std::shared_ptr<const PropertyData> data_;
};

class PropertySet final : public Collection {
 public:
  PropertySet(std::shared_ptr<const Scenario> scenario, std::shared_ptr<const DiskData> disk)
      : Collection(scenario, scenario->properties), disk_(std::move(disk)) {}

  std::size_t Size() const override { return disk_->properties.size(); }
  bool GetMember(std::size_t index, VARIANT* out) override {
    std::shared_ptr<const PropertyData> data;
    if (index < Size()) {
      data = disk_->properties[index];
    } else if (fault() == Fault::kEndless) {
      data = scenario_->filler;
    } else {
      return false;
    }
    ReturnObject(data ? new Property(data) : nullptr, out);
    return true;
  }

 private:
  std::shared_ptr<const DiskData> disk_;
};

class Instance final : public DispatchObject {
 public:
  Instance(std::shared_ptr<const Scenario> scenario, std::shared_ptr<const DiskData> disk)
      : DispatchObject(kInstanceMembers), scenario_(std::move(scenario)), disk_(std::move(disk)) {}

 protected:
  HRESULT Call(DISPID, std::span<const VARIANT* const> args, VARIANT* result) override {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    ReturnObject(scenario_->nullPropertySet ? nullptr : new PropertySet(scenario_, disk_), result);
    return S_OK;
  }

 private:
  std::shared_ptr<const Scenario> scenario_;
  std::shared_ptr<const DiskData> disk_;
};

class ResultSet final : public Collection {
 public:
  // `disks`: the scenario's list of the class queried.
  ResultSet(std::shared_ptr<const Scenario> scenario, const std::vector<std::shared_ptr<const DiskData>>& disks)
      : Collection(scenario, scenario->instances), disks_(disks) {}

  std::size_t Size() const override { return disks_.size(); }
  bool GetMember(std::size_t index, VARIANT* out) override {
    std::shared_ptr<const DiskData> disk;
    if (index < Size()) {
      disk = disks_[index];
    } else if (fault() == Fault::kEndless && !disks_.empty()) {
      disk = disks_.back();  // more of the last disk, a new instance each time
    } else {
      return false;
    }
    ReturnObject(disk ? new Instance(scenario_, disk) : nullptr, out);
    return true;
  }

 private:
  const std::vector<std::shared_ptr<const DiskData>>& disks_;
};

class Service final : public DispatchObject {
 public:
  explicit Service(std::shared_ptr<const Scenario> scenario)
      : DispatchObject(kServiceMembers), scenario_(std::move(scenario)) {}

 protected:
  // ExecQuery(strQuery, [strQueryLanguage], [iFlags], [objWbemNamedValueSet])
  HRESULT Call(DISPID, std::span<const VARIANT* const> args, VARIANT* result) override {
    RecordCall(JoinArgs(L"ExecQuery", args));
    if (args.empty() || args.size() > 4) return DISP_E_BADPARAMCOUNT;
    const auto query = ArgumentText(args[0]);
    if (!query) return DISP_E_TYPEMISMATCH;
    if (args.size() >= 2 && !IsMissing(args[1]) &&
        lstrcmpiW(ArgumentText(args[1]).value_or(L"").c_str(), L"WQL") != 0) {
      return kInvalidQueryType;
    }
    const bool verdicts = lstrcmpiW(query->c_str(), L"Select * from MSStorageDriver_FailurePredictStatus") == 0;
    if (!verdicts && lstrcmpiW(query->c_str(), L"Select * from MSStorageDriver_ATAPISmartData") != 0) {
      return kInvalidClass;
    }
    if (FAILED(scenario_->queryResult)) return scenario_->queryResult;
    ReturnObject(scenario_->nullResultSet ? nullptr
                                          : new ResultSet(scenario_, verdicts ? scenario_->verdicts : scenario_->disks),
                 result);
    return S_OK;
  }

 private:
  std::shared_ptr<const Scenario> scenario_;
};

class Locator final : public DispatchObject {
 public:
  explicit Locator(std::shared_ptr<const Scenario> scenario)
      : DispatchObject(kLocatorMembers), scenario_(std::move(scenario)) {}

 protected:
  // ConnectServer([strServer], [strNamespace], [strUser], [strPassword],
  //               [strLocale], [strAuthority], [iSecurityFlags], [objWbemNamedValueSet])
  HRESULT Call(DISPID, std::span<const VARIANT* const> args, VARIANT* result) override {
    RecordCall(JoinArgs(L"ConnectServer", args));
    if (args.size() > 8) return DISP_E_BADPARAMCOUNT;
    const std::wstring server =
        args.size() >= 1 && !IsMissing(args[0]) ? ArgumentText(args[0]).value_or(L"?") : L".";
    const std::wstring space = args.size() >= 2 && !IsMissing(args[1])
                                   ? ArgumentText(args[1]).value_or(L"?")
                                   : L"root\\cimv2";
    if (server != L"." && server != L"" && lstrcmpiW(server.c_str(), L"localhost") != 0) {
      return kServerUnavailable;
    }
    if (lstrcmpiW(space.c_str(), L"root\\WMI") != 0) return kInvalidNamespace;
    if (FAILED(scenario_->connectResult)) return scenario_->connectResult;
    ReturnObject(scenario_->nullService ? nullptr : new Service(scenario_), result);
    return S_OK;
  }

 private:
  std::shared_ptr<const Scenario> scenario_;
};

}  // namespace

IDispatch* NewLocator(std::shared_ptr<const Scenario> scenario) {
  return new Locator(std::move(scenario));
}

}  // namespace wmi_provider
