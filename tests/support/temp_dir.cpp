#include "temp_dir.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace sorv::test {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void WriteFileBytes(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream out(PathFromUtf8(utf8Path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + utf8Path);
}

std::string ReadFileBytes(const std::string& utf8Path) {
    std::ifstream in(PathFromUtf8(utf8Path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + utf8Path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& utf8Path) {
    std::error_code ec;
    return fs::exists(PathFromUtf8(utf8Path), ec);
}

std::string PatternBytes(std::size_t size, unsigned shift) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + shift + i / 251) % 251);
    return bytes;
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = base / ("sorv-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        if (fs::create_directory(dir)) {
            const std::u8string u8 = (dir / "").u8string();
            folder_.assign(u8.begin(), u8.end());
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    const fs::path dir = PathFromUtf8(folder_);
    // Read-only files left by a test must not stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
}

}  // namespace sorv::test
