// brannock-cli: placeholder until the batch command lands.
#include <cstdio>

int main() {
  std::puts("brannock-cli");
  return 0;
}
