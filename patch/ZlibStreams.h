#pragma once

#include <string>

#include <zlib.h>

// zlib's streams of raw deflate data, the form zip stores (no zlib or gzip wrapper around
// it), each ended when its object goes.
namespace kitloom {

class Inflater {
public:
    Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater();

    // False when zlib could not start one (out of memory): nothing else may be called.
    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

class Deflater {
public:
    Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater();

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

// zlib's words for what went wrong with `stream`, or for `status` when it gave none.
std::string zlibWords(const z_stream& stream, int status);

}  // namespace kitloom
