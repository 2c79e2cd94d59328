// brannock-empty-hive FILE: writes a hive that holds an empty root key and
// nothing else, for tools that only merge into an existing hive
// (hivexregedit --merge), which is how the comparison's tests make a hive
// from a registry export.
#include <cstdio>
#include <exception>

#include "registry/hive_writer_support.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: brannock-empty-hive FILE\n", stderr);
    return 2;
  }
  try {
    brannock::testing::WriteHive(brannock::registry::MemoryStore::Node{}, argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brannock-empty-hive: %s\n", e.what());
    return 1;
  }
  return 0;
}
