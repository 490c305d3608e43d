#include "signing/Blake2b.h"

#include "platform/FileHandle.h"
#include "platform/TextFile.h"
#include "signing/Sodium.h"

#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace signing {

namespace {

std::string HexOf(const std::array<unsigned char, HashBytes>& bytes) {
    std::string hex(HashDigits + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
    hex.pop_back();
    return hex;
}

// Opening does not wait for the writer of a FIFO; a FIFO is then refused.
platform::FileHandle OpenRegularFile(const std::string& path) {
    platform::FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file)
        throw base::EInOutError::FromErrno(errno);
    struct stat info {};
    if (fstat(file.get(), &info) != 0)
        throw base::EInOutError::FromErrno(errno);
    if (!S_ISREG(info.st_mode))
        throw platform::EFileRefused("\"" + path + "\" is not a regular file");
    return file;
}

} // namespace

struct Blake2bHasher::State {
    crypto_generichash_state sodium;
    void Start() { crypto_generichash_init(&sodium, nullptr, 0, HashBytes); }
};

Blake2bHasher::Blake2bHasher() : state_(std::make_unique<State>()) {
    RequireSodium();
    state_->Start();
}

Blake2bHasher::~Blake2bHasher() = default;
Blake2bHasher::Blake2bHasher(Blake2bHasher&&) noexcept = default;
Blake2bHasher& Blake2bHasher::operator=(Blake2bHasher&&) noexcept = default;

void Blake2bHasher::Update(std::string_view bytes) {
    crypto_generichash_update(&state_->sodium, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    size_ += bytes.size();
}

FileDigest Blake2bHasher::Final() {
    const std::uint64_t size = size_;
    return {HexOf(FinalBytes()), size};
}

std::array<unsigned char, HashBytes> Blake2bHasher::FinalBytes() {
    std::array<unsigned char, HashBytes> hash{};
    crypto_generichash_final(&state_->sodium, hash.data(), hash.size());
    state_->Start();
    size_ = 0;
    return hash;
}

std::string HashText(std::string_view bytes) {
    Blake2bHasher hasher;
    hasher.Update(bytes);
    return hasher.Final().hash;
}

FileDigest HashFile(const std::string& path) {
    const platform::FileHandle file = OpenRegularFile(path);
    Blake2bHasher hasher;
    std::string block(platform::FileBlockSize, '\0');
    for (;;) {
        const ssize_t got = read(file.get(), block.data(), block.size());
        if (got == 0)
            return hasher.Final();
        if (got > 0)
            hasher.Update(std::string_view(block.data(), static_cast<std::size_t>(got)));
        else if (errno != EINTR)
            throw base::EInOutError::FromErrno(errno);
    }
}

} // namespace signing
