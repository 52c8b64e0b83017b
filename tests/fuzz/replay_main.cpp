// Feeds saved fuzzer inputs through a fuzz target's entry point. Each argument is a
// folder (every regular file in it, recursively) or a file; a missing folder is skipped.
// A crash or sanitizer report fails the test; the entry point itself asserts nothing more.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

static void replay(const fs::path& file, int& count) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
}

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) {
            replay(p, count);
        } else if (fs::is_directory(p, ec)) {
            for (const auto& entry : fs::recursive_directory_iterator(p, ec))
                if (entry.is_regular_file())
                    replay(entry.path(), count);
        }
    }
    std::printf("replayed %d saved inputs\n", count);
    return 0;
}
