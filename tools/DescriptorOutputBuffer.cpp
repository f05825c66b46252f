#include "tools/DescriptorOutputBuffer.h"

#include <cerrno>
#include <unistd.h>

namespace quarvel {

DescriptorOutputBuffer::DescriptorOutputBuffer(int descriptor, std::size_t size)
    : m_descriptor(descriptor), m_buffer(std::make_unique_for_overwrite<char[]>(size)), m_size(size) {
    setp(m_buffer.get(), m_buffer.get() + m_size);
}

DescriptorOutputBuffer::~DescriptorOutputBuffer() {
    writeBuffered();
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type c) {
    if (!writeBuffered())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int DescriptorOutputBuffer::sync() {
    return writeBuffered() ? 0 : -1;
}

bool DescriptorOutputBuffer::writeBuffered() {
    const char* next = pbase();
    while (next < pptr()) {
        const ssize_t written = ::write(m_descriptor, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
    }
    setp(m_buffer.get(), m_buffer.get() + m_size);
    return true;
}

} // namespace quarvel
