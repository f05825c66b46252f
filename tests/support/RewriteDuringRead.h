#pragma once

#include "store/profile/FileReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace quarvel::test {

// Rewrites the file in place in two pieces with a pause between, as the simulator or an editor saving
// in place does; `halfWritten` is kept once the first piece is on disk.
inline void rewriteInPlaceWithPause(const std::filesystem::path& file, std::string_view bytes,
                                    std::chrono::milliseconds pause, std::promise<void>& halfWritten) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
    const std::size_t half = bytes.size() / 2;
    EXPECT_EQ(::write(fd, bytes.data(), half), static_cast<ssize_t>(half));
    halfWritten.set_value();
    std::this_thread::sleep_for(pause);
    EXPECT_EQ(::write(fd, bytes.data() + half, bytes.size() - half),
              static_cast<ssize_t>(bytes.size() - half));
    ::close(fd);
}

// Another program that begins such a rewrite just as the next whole-file read has made its first pass
// over the bytes: that pass saw the old file, and the next one finds it half written. finish() waits for
// the rewrite to end; so does the destructor.
class RewriteDuringRead {
public:
    RewriteDuringRead(std::filesystem::path file, std::string bytes, std::chrono::milliseconds pause)
        : m_file(std::move(file)), m_bytes(std::move(bytes)), m_pause(pause) {
        FileReader::setReadHook([this] { begin(); });
    }
    ~RewriteDuringRead() { finish(); }
    RewriteDuringRead(const RewriteDuringRead&) = delete;
    RewriteDuringRead& operator=(const RewriteDuringRead&) = delete;

    void finish() {
        if (m_writer.valid())
            m_writer.get();
        FileReader::setReadHook({});
    }

private:
    void begin() {
        if (m_writer.valid())
            return;
        std::promise<void> halfWritten;
        std::future<void> started = halfWritten.get_future();
        m_writer = std::async(std::launch::async, [this, halfWritten = std::move(halfWritten)]() mutable {
            rewriteInPlaceWithPause(m_file, m_bytes, m_pause, halfWritten);
        });
        started.wait();
    }

    std::filesystem::path m_file;
    std::string m_bytes;
    std::chrono::milliseconds m_pause;
    std::future<void> m_writer;
};

} // namespace quarvel::test
