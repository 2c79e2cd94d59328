// A type library that times every call into the one it wraps: how long the
// renderer waits for the type library services (oleaut32 under Wine) and
// how long it works itself. For the viewer's benchmark.
#pragma once

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "typelib/access.h"

namespace brannock::bench {

class TCallTimes {
 public:
  struct Entry {
    double Ms = 0;
    long Calls = 0;
  };
  template <typename Call>
  typelib::HRESULT Time(const char* what, Call call) {
    const auto start = std::chrono::steady_clock::now();
    const typelib::HRESULT hr = call();
    Entry& entry = entries_[typelib::Failed(hr) ? std::string(what) + " (failed)" : std::string(what)];
    entry.Ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ++entry.Calls;
    return hr;
  }
  double TotalMs() const {
    double total = 0;
    for (const auto& [name, entry] : entries_) total += entry.Ms;
    return total;
  }
  void Print() const {
    for (const auto& [name, entry] : entries_)
      std::wprintf(L"    %hs: %ld calls, %.0f ms (%.3f ms each)\n", name.c_str(), entry.Calls, entry.Ms,
                   entry.Calls ? entry.Ms / entry.Calls : 0.0);
  }

 private:
  std::map<std::string, Entry> entries_;
};

class TTimedTypeInfo : public typelib::TypeInfo {
 public:
  TTimedTypeInfo(std::shared_ptr<typelib::TypeInfo> inner, TCallTimes* times) : inner_(std::move(inner)), times_(times) {}
  typelib::HRESULT GetTypeAttr(typelib::TypeAttr* attr) override {
    return times_->Time("ITypeInfo::GetTypeAttr", [&] { return inner_->GetTypeAttr(attr); });
  }
  typelib::HRESULT GetFuncDesc(unsigned index, typelib::FuncDesc* desc) override {
    return times_->Time("ITypeInfo::GetFuncDesc", [&] { return inner_->GetFuncDesc(index, desc); });
  }
  typelib::HRESULT GetVarDesc(unsigned index, typelib::VarDesc* desc) override {
    return times_->Time("ITypeInfo::GetVarDesc", [&] { return inner_->GetVarDesc(index, desc); });
  }
  typelib::HRESULT GetNames(typelib::MEMBERID memid, TextList* names, unsigned maxNames) override {
    return times_->Time("ITypeInfo::GetNames", [&] { return inner_->GetNames(memid, names, maxNames); });
  }
  typelib::HRESULT GetDocumentation(typelib::MEMBERID memid, typelib::Documentation* doc) override {
    return times_->Time("ITypeInfo::GetDocumentation", [&] { return inner_->GetDocumentation(memid, doc); });
  }
  typelib::HRESULT GetRefTypeOfImplType(unsigned index, typelib::HREFTYPE* href) override {
    return times_->Time("ITypeInfo::GetRefTypeOfImplType", [&] { return inner_->GetRefTypeOfImplType(index, href); });
  }
  typelib::HRESULT GetRefTypeInfo(typelib::HREFTYPE href, std::shared_ptr<typelib::TypeInfo>* info) override {
    const typelib::HRESULT hr =
        times_->Time("ITypeInfo::GetRefTypeInfo", [&] { return inner_->GetRefTypeInfo(href, info); });
    if (*info) *info = std::make_shared<TTimedTypeInfo>(*info, times_);
    return hr;
  }
  typelib::HRESULT GetImplTypeFlags(unsigned index, int32_t* flags) override {
    return times_->Time("ITypeInfo::GetImplTypeFlags", [&] { return inner_->GetImplTypeFlags(index, flags); });
  }
  typelib::HRESULT GetContainingTypeLib(std::shared_ptr<typelib::TypeLib>* lib, unsigned* index) override {
    return times_->Time("ITypeInfo::GetContainingTypeLib", [&] { return inner_->GetContainingTypeLib(lib, index); });
  }
  typelib::HRESULT GetDllEntry(typelib::MEMBERID memid, typelib::InvokeKind invkind, Text* dllName, Text* entryName,
                               uint16_t* ordinal) override {
    return times_->Time("ITypeInfo::GetDllEntry",
                        [&] { return inner_->GetDllEntry(memid, invkind, dllName, entryName, ordinal); });
  }

 private:
  std::shared_ptr<typelib::TypeInfo> inner_;
  TCallTimes* times_;
};

class TTimedTypeLib : public typelib::TypeLib {
 public:
  TTimedTypeLib(std::shared_ptr<typelib::TypeLib> inner, TCallTimes* times) : inner_(std::move(inner)), times_(times) {}
  typelib::HRESULT GetLibAttr(typelib::LibAttr* attr) override {
    return times_->Time("ITypeLib::GetLibAttr", [&] { return inner_->GetLibAttr(attr); });
  }
  unsigned GetTypeInfoCount() override {
    unsigned count = 0;
    times_->Time("ITypeLib::GetTypeInfoCount", [&] {
      count = inner_->GetTypeInfoCount();
      return typelib::HRESULT{0};
    });
    return count;
  }
  typelib::HRESULT GetDocumentation(int32_t index, typelib::Documentation* doc) override {
    return times_->Time("ITypeLib::GetDocumentation", [&] { return inner_->GetDocumentation(index, doc); });
  }
  typelib::HRESULT GetTypeInfoType(unsigned index, typelib::TypeKind* kind) override {
    return times_->Time("ITypeLib::GetTypeInfoType", [&] { return inner_->GetTypeInfoType(index, kind); });
  }
  typelib::HRESULT GetTypeInfo(unsigned index, std::shared_ptr<typelib::TypeInfo>* info) override {
    const typelib::HRESULT hr = times_->Time("ITypeLib::GetTypeInfo", [&] { return inner_->GetTypeInfo(index, info); });
    if (*info) *info = std::make_shared<TTimedTypeInfo>(*info, times_);
    return hr;
  }
  typelib::HRESULT GetLibraryFile(Text* path) override {
    return times_->Time("ITypeLib::GetLibraryFile", [&] { return inner_->GetLibraryFile(path); });
  }

 private:
  std::shared_ptr<typelib::TypeLib> inner_;
  TCallTimes* times_;
};

}  // namespace brannock::bench
