#pragma once

namespace quarvel {

// Switches the main window's accelerators off for as long as it lives, so that keys typed into a text
// field stay keystrokes there, and back on however the scope is left.
class AcceleratorsOff {
public:
    explicit AcceleratorsOff(int& enabledFlag);
    ~AcceleratorsOff();
    AcceleratorsOff(const AcceleratorsOff&) = delete;
    AcceleratorsOff& operator=(const AcceleratorsOff&) = delete;

private:
    int& m_flag;
    int m_before;
};

} // namespace quarvel
