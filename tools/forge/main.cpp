// vane-forge: draws the sprite files, composes the sound banks and writes them into a folder.
#include <cstdio>
#include <cstring>

#include "art.h"
#include "preview.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--preview") == 0) {
    return vane::forge::writePreviews(argv[2]) ? 0 : 1;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: vane-forge DIR | vane-forge --preview DIR\n");
    return 2;
  }
  return vane::forge::writeDataFiles(argv[1]) ? 0 : 1;
}
