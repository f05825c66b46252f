#include "ui/editor/AcceleratorsOff.h"

namespace quarvel {

AcceleratorsOff::AcceleratorsOff(int& enabledFlag) : m_flag(enabledFlag), m_before(enabledFlag) {
    m_flag = 0;
}

AcceleratorsOff::~AcceleratorsOff() {
    m_flag = m_before;
}

} // namespace quarvel
