#include "app/cli/render_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/text.h"
#include "platform/messages.h"
#include "typelib/memory_typelib.h"

namespace brannock::cli {
namespace {

using namespace typelib;
using namespace typelib::testing;

// Makes `loader` serve `lib` as the file `path` (UTF-8); the request for it.
RenderRequest FileRequestFor(std::shared_ptr<MemoryTypeLib> lib, const std::string& path, MemoryLoader* loader) {
  loader->fromFile = std::move(lib);
  loader->fileResult = 0;
  loader->existingFiles = {Utf8ToUtf16(path)};
  RenderRequest request;
  request.file = path;
  return request;
}

TEST(RenderTypeLibrary, FileRequestPrintsTheUnitInUtf8) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Lib\u00e9", u"Caf\u00e9 types");
  lib->AddType(TKIND_ALIAS, u"Handle")->attr.tdescAlias = Vt(VT_I4);
  MemoryLoader loader;
  const RenderRequest request = FileRequestFor(lib, "/tmp/x\xc3\xa9.tlb", &loader);
  std::string out, err;
  EXPECT_EQ(RenderTypeLibrary(request, loader, &out, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out,
            "// typelib filename: /tmp/x\xc3\xa9.tlb\n\n// uid: \n// version: 0.0\n"
            "// helpstring: Caf\xc3\xa9 types\n// helpfile: \n\nunit Lib\xc3\xa9;\n\ninterface\n\n"
            "uses Windows, ActiveX, Classes;\n\ntype\n  Handle = LongInt;\n\n\nimplementation\n\nend.\n");
  EXPECT_TRUE(loader.regCalls.empty());
}

TEST(RenderTypeLibrary, IdlOnRequest) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Lib\u00e9");
  lib->AddType(TKIND_ALIAS, u"Handle")->attr.tdescAlias = Vt(VT_I4);
  MemoryLoader loader;
  // The type's GUID is the memory library's (its position + 1).
  RenderRequest request = FileRequestFor(lib, "/tmp/x.tlb", &loader);
  request.language = RenderLanguage::Idl;
  std::string out, err;
  EXPECT_EQ(RenderTypeLibrary(request, loader, &out, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out,
            "// typelib filename: /tmp/x.tlb\n\n[\n  uuid(00000000-0000-0000-0000-000000000000),\n  version(0.0),\n"
            "  lcid(0x00000000)\n]\nlibrary Lib\xc3\xa9\n{\n    typedef [public, uuid(00000001-1234-5678-9ABC-000000000001)] long Handle;\n\n};\n");
}

TEST(RenderTypeLibrary, StreamedUnitIsTheSameBytes) {
  // Some 300 KiB of unit: several blocks go to the stream as they fill, the
  // last partial one stays in `out`.
  auto lib = std::make_shared<MemoryTypeLib>(u"Big");
  for (int i = 0; i < 10000; ++i)
    lib->AddType(TKIND_ALIAS, u"Handle\u00e9" + UIntToText(static_cast<uint32_t>(i)))->attr.tdescAlias = Vt(VT_I4);
  MemoryLoader loader;
  const RenderRequest request = FileRequestFor(lib, "/tmp/big.tlb", &loader);
  std::string whole, err;
  ASSERT_EQ(RenderTypeLibrary(request, loader, &whole, &err), 0);
  ASSERT_GT(whole.size(), 4 * 64 * 1024u);

  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  std::string rest;
  ASSERT_EQ(RenderTypeLibrary(request, loader, &rest, &err, nullptr, stream), 0);
  EXPECT_LT(rest.size(), 64 * 1024u + 4096);
  const long written = std::ftell(stream);
  ASSERT_GT(written, 0);
  std::string streamed(static_cast<size_t>(written), '\0');
  std::rewind(stream);
  ASSERT_EQ(std::fread(streamed.data(), 1, streamed.size(), stream), streamed.size());
  std::fclose(stream);
  EXPECT_TRUE(streamed + rest == whole);
  EXPECT_EQ(err, "");
}

TEST(RenderTypeLibrary, RegisteredRequestAndFailures) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Reg");
  MemoryLoader loader;
  loader.registered = lib;
  loader.regResult = 0;
  RenderRequest request;
  request.typeLibGuid = "{00020430-0000-0000-c000-000000000046}";
  request.version = "2.10";
  std::string out, err;
  EXPECT_EQ(RenderTypeLibrary(request, loader, &out, &err), 0);
  ASSERT_EQ(loader.regCalls.size(), 1u);
  EXPECT_EQ(loader.regCalls[0].major, 2);
  EXPECT_EQ(loader.regCalls[0].minor, 10);
  EXPECT_NE(out.find("// uid: {00020430-0000-0000-c000-000000000046}\n// version: 2.10\n"), std::string::npos);

  loader.regResult = Code::TypeLibNotRegistered;
  out.clear();
  EXPECT_EQ(RenderTypeLibrary(request, loader, &out, &err), kRenderExitLoadFailed);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, Utf16ToUtf8(platform::ErrorCodeText(0x8002801D)) + "\n");

  request.typeLibGuid = "00020430";
  err.clear();
  EXPECT_EQ(RenderTypeLibrary(request, loader, &out, &err), kRenderExitBadRequest);
  EXPECT_EQ(err, "brannock-cli: Invalid class string\n");

  // A file that is not there is never handed to the loader.
  RenderRequest missing;
  missing.file = "/nonexistent/lib.tlb";
  err.clear();
  EXPECT_EQ(RenderTypeLibrary(missing, loader, &out, &err), kRenderExitLoadFailed);
  EXPECT_EQ(err, Utf16ToUtf8(platform::ErrorCodeText(0x80004001)) + "\n");
  EXPECT_TRUE(loader.fileCalls.empty());
}

}  // namespace
}  // namespace brannock::cli
