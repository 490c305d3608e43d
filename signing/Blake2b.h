#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// BLAKE2b-512 hashes, written as coreutils' b2sum prints them: 128 lower-case
// hexadecimal digits. The release manifest names every file and every script
// text by such a hash, so a maker can check one by hand.
namespace signing {

inline constexpr std::size_t HashBytes = 64;
inline constexpr std::size_t HashDigits = 2 * HashBytes;

// What the manifest holds of a file's content: its hash (128 lower-case
// hexadecimal digits) and its size in bytes.
struct FileDigest {
    std::string hash;
    std::uint64_t size = 0;
    friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

// A BLAKE2b-512 hash over bytes handed in piece by piece, as the blocks of a
// download arrive. The file phase checks a fetched file against the manifest
// without holding it whole:
//
//     signing::Blake2bHasher hasher;
//     for each block received: hasher.Update(block);
//     const std::optional<signing::FileDigest> entry = manifest.File(name);
//     if (!entry || hasher.Final() != *entry) refuse the file;
class Blake2bHasher {
public:
    Blake2bHasher();
    ~Blake2bHasher();
    Blake2bHasher(Blake2bHasher&&) noexcept;
    Blake2bHasher& operator=(Blake2bHasher&&) noexcept;

    void Update(std::string_view bytes);
    // The number of bytes handed in since construction or the last Final.
    std::uint64_t Size() const { return size_; }
    // The hash and count of the bytes handed in; the hasher then starts afresh.
    FileDigest Final();
    // The hash as its 64 bytes; the hasher then starts afresh.
    std::array<unsigned char, HashBytes> FinalBytes();

private:
    struct State;
    std::unique_ptr<State> state_;
    std::uint64_t size_ = 0;
};

// The hash of bytes held in memory (a script's text), as hexadecimal digits.
std::string HashText(std::string_view bytes);

// The hash and size of a regular file, read in blocks of
// platform::FileBlockSize, so that an archive of any size takes little memory.
// The name is a native path used as given: a name written Windows-style goes
// through platform::NativePath first.
// @throw base::EInOutError (the framework's text for the errno) when the file
//        cannot be opened or read; platform::EFileRefused when it is not a
//        regular file (a folder, a device, a FIFO).
FileDigest HashFile(const std::string& path);

} // namespace signing
