// snoozlet-manpages: writes the manual pages snoozlet.1 and snoozlet-pmset.1
// into a folder, made from the help texts the programs print. The build runs
// it for the package (see packaging/CMakeLists.txt).

#include "Pages.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::cerr << "snoozlet-manpages: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: snoozlet-manpages VERSION YYYY-MM-DD FOLDER\n";
    return 2;
  }
  const snoozlet::manual::Release release{argv[1], argv[2]};
  const std::string folder = argv[3];
  const bool written = write(folder + "/snoozlet.1", snoozlet::manual::snoozletPage(release)) &&
                       write(folder + "/snoozlet-pmset.1", snoozlet::manual::pmsetPage(release));
  return written ? 0 : 1;
}
