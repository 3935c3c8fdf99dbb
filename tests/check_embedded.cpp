// Checks that files are carried byte for byte inside an executable (its
// resources store them unchanged): check_embedded EXE FILE[@SKIP]...
// where SKIP leading bytes of FILE are not part of the resource (the file
// header of a .bmp).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

static std::vector<char> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: check_embedded EXE FILE[@SKIP]...\n");
    return 2;
  }
  const std::vector<char> exe = readFile(argv[1]);
  int failures = 0;
  for (int k = 2; k < argc; ++k) {
    std::string spec = argv[k];
    std::size_t skip = 0;
    const std::size_t at = spec.rfind('@');
    if (at != std::string::npos) {
      skip = std::strtoul(spec.c_str() + at + 1, nullptr, 10);
      spec.resize(at);
    }
    const std::vector<char> file = readFile(spec);
    if (file.size() <= skip) {
      std::printf("FAIL: %s is empty or missing\n", spec.c_str());
      ++failures;
      continue;
    }
    const auto found =
        std::search(exe.begin(), exe.end(), file.begin() + static_cast<long>(skip), file.end());
    if (found == exe.end()) {
      std::printf("FAIL: %s is not carried byte for byte\n", spec.c_str());
      ++failures;
    } else {
      std::printf("ok: %s (%zu bytes)\n", spec.c_str(), file.size() - skip);
    }
  }
  return failures == 0 ? 0 : 1;
}
