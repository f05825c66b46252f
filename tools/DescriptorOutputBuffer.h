#pragma once

#include <cstddef>
#include <memory>
#include <streambuf>

namespace quarvel {

// An output stream buffer over a file descriptor, with one large buffer of its own: a listing of many
// short lines goes out in a few big writes, with no C standard I/O between. A failed write makes the
// stream fail (overflow or sync answers with an error), so that the caller can tell the user.
class DescriptorOutputBuffer : public std::streambuf {
public:
    explicit DescriptorOutputBuffer(int descriptor, std::size_t size = std::size_t{256} * 1024);
    ~DescriptorOutputBuffer() override;
    DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
    DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool writeBuffered();

    int m_descriptor;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_size;
};

} // namespace quarvel
