#include "patch/ArchiveKind.h"

namespace kitloom {
namespace {

using namespace std::string_view_literals;

struct Signature {
    ArchiveKind kind;
    std::size_t offset;
    std::string_view bytes;
};

constexpr Signature kSignatures[] = {
    {ArchiveKind::Zip, 0, "PK\3\4"sv},
    {ArchiveKind::Zip, 0, "PK\5\6"sv},
    {ArchiveKind::Zip, 0, "PK\7\x08"sv},
    {ArchiveKind::SevenZip, 0, "7z\xBC\xAF\x27\x1C"sv},
    {ArchiveKind::Rar, 0, "Rar!\x1A\x07"sv},  // then 0 for RAR 4, 1 0 for RAR 5
    {ArchiveKind::Xz, 0,
     "\xFD"
     "7zXZ\0"sv},
    {ArchiveKind::Gzip, 0, "\x1F\x8B\x08"sv},  // 8: deflate, gzip's only method
    {ArchiveKind::Bzip2, 0, "BZh"sv},
    // POSIX and GNU tar alike: "ustar" then a NUL (POSIX) or two spaces (GNU).
    {ArchiveKind::Tar, 257, "ustar"sv},
};

}  // namespace

ArchiveKind archiveKindOf(std::string_view firstBytes)
{
    for (const Signature& signature : kSignatures) {
        if (firstBytes.size() >= signature.offset + signature.bytes.size() &&
            firstBytes.substr(signature.offset, signature.bytes.size()) == signature.bytes) {
            // "BZh" is text too: a block size digit follows in every bzip2 file.
            if (signature.kind == ArchiveKind::Bzip2 &&
                (firstBytes.size() < 4 || firstBytes[3] < '1' || firstBytes[3] > '9'))
                continue;
            return signature.kind;
        }
    }
    return ArchiveKind::Unknown;
}

}  // namespace kitloom
