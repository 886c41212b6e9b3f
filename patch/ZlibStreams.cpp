#include "patch/ZlibStreams.h"

namespace kitloom {
namespace {

// Negative window bits: raw deflate data, with no header or check of zlib's own.
constexpr int kRawWindowBits = -MAX_WBITS;
// zlib's defaults: what every build of one commit deflates alike.
constexpr int kMemoryLevel = 8;

}  // namespace

Inflater::Inflater() : ready_(inflateInit2(&stream_, kRawWindowBits) == Z_OK) {}

Inflater::~Inflater()
{
    if (ready_)
        inflateEnd(&stream_);
}

Deflater::Deflater()
    : ready_(deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, kMemoryLevel,
                          Z_DEFAULT_STRATEGY) == Z_OK)
{
}

Deflater::~Deflater()
{
    if (ready_)
        deflateEnd(&stream_);
}

std::string zlibWords(const z_stream& stream, int status)
{
    if (stream.msg)
        return stream.msg;
    return zError(status);
}

}  // namespace kitloom
