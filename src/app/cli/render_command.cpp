#include "app/cli/render_command.h"

#include <cstdio>

#include "analysis/object_typelib.h"
#include "app/cli/source_loader.h"
#include "common/error.h"
#include "common/text_rules.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "registry/registry_source.h"
#include "typelib/loader.h"
#include "typelib/idl_text.h"
#include "typelib/typelib_resources.h"
#include "typelib/unit_text.h"

namespace brannock::cli {
namespace {

TObjectData RecordOf(const RenderRequest& request) {
  TObjectData record;
  record.Typ = TObjectType::otTypeLib;
  if (request.file) {
    record.Server = Utf8ToUtf16(*request.file);
  } else if (request.typeLibGuid) {
    record.TypeLib = Utf8ToUtf16(*request.typeLibGuid);
    record.GUID = record.TypeLib;
    ParseVersion(Utf8ToUtf16(request.version), &record.MajorVersion, &record.MinorVersion);
  }
  return record;
}

// The unit's lines in UTF-8, each ending in "\n", in one buffer; with a
// stream, the buffer goes to it whenever it holds a block, so that it never
// grows past one.
class Utf8Lines : public typelib::LineSink {
 public:
  static constexpr size_t kBlock = 64 * 1024;

  Utf8Lines(std::string* out, std::FILE* stream) : out_(out), stream_(stream) {
    if (stream_ != nullptr) out_->reserve(kBlock + 4096);
  }
  void Add(TextView line) override {
    AppendUtf8(line, out_);
    out_->push_back('\n');
    if (stream_ != nullptr && out_->size() >= kBlock) {
      std::fwrite(out_->data(), 1, out_->size(), stream_);
      out_->clear();
    }
  }

 private:
  std::string* out_;
  std::FILE* stream_;
};

void WriteAll(const std::string& text, std::FILE* stream) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int RenderTypeLibrary(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err, std::shared_ptr<typelib::TypeLib>* loaded, std::FILE* stream) {
  const TObjectData record = RecordOf(request);
  std::shared_ptr<typelib::TypeLib> lib;
  typelib::HRESULT hr;
  try {
    hr = analysis::LoadObjectTypeLib(record, loader, &lib);
  } catch (const ConversionError& e) {
    *err += "brannock-cli: " + Utf16ToUtf8(e.Message()) + "\n";
    return kRenderExitBadRequest;
  }
  if (typelib::Succeeded(hr) && !lib) hr = typelib::Code::Pointer;
  if (typelib::Failed(hr)) {
    *err += Utf16ToUtf8(analysis::LoadFailureText(hr, loader)) + "\n";
    return kRenderExitLoadFailed;
  }
  Utf8Lines unit(out, stream);
  if (request.language == RenderLanguage::Idl) {
    TextList lines;
    typelib::TypeLibToIdl(analysis::UnitHeaderOf(record), *lib, &lines);
    for (const Text& line : lines) unit.Add(line);
  } else {
    typelib::TypeLibToStrings(analysis::UnitHeaderOf(record), *lib, unit);
  }
  if (loaded) *loaded = std::move(lib);
  return 0;
}

int ListTypeLibraries(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err) {
  std::vector<typelib::TypeLibResource> resources;
  const Text file = Utf8ToUtf16(request.listFile.value_or(""));
  const typelib::HRESULT hr = typelib::ListTypeLibResources(loader, file, &resources);
  if (typelib::Failed(hr)) {
    *err += Utf16ToUtf8(analysis::LoadFailureText(hr, loader)) + "\n";
    return kRenderExitLoadFailed;
  }
  bool any = false;
  for (const auto& r : resources) {
    *out += std::to_string(r.number) + " ";
    if (typelib::Failed(r.hr)) {
      *out += Utf16ToUtf8(platform::ErrorCodeText(static_cast<uint32_t>(r.hr))) + "\n";
      continue;
    }
    any = true;
    *out += Utf16ToUtf8(r.name) + " " + Utf16ToUtf8(GuidToText(r.guid)) + " " + std::to_string(r.majorVersion) + "." +
            std::to_string(r.minorVersion) + "\n";
  }
  return any ? 0 : kRenderExitLoadFailed;
}

int RunRenderCommand(const RenderRequest& request, registry::RegistrySource* source, registry::RegistryView view,
                     int (*end)(int)) {
  std::unique_ptr<typelib::TypeLibLoader> loader = SourceLoader(source, request.drives, view);
  if (!loader) {
    std::fputs("brannock-cli: no type library reader is available on this platform\n", stderr);
    return kRenderExitNoReader;
  }
  // Lines end in "\n" on every platform.
  platform::UseBinaryStandardOutput();
  std::string out, err;
  std::shared_ptr<typelib::TypeLib> lib;
  int code = request.listFile ? ListTypeLibraries(request, *loader, &out, &err)
                              : RenderTypeLibrary(request, *loader, &out, &err, &lib, stdout);
  WriteAll(out, stdout);
  WriteAll(err, stderr);
  return end ? end(code) : code;
}

}  // namespace brannock::cli
