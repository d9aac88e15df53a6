#pragma once

// Accelerator table 128: virtual-key accelerators, each naming the command it sends. Keys use
// virtual-key codes (letters and digits are their upper-case ASCII codes); the modifier flags
// combine.

#include <cstdint>
#include <span>

namespace res {

enum AccelFlags : std::uint8_t {
    FVIRTKEY = 0x01,
    FSHIFT = 0x04,
    FCONTROL = 0x08,
    FALT = 0x10,
};

enum VirtualKey : std::uint16_t {
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_RIGHT = 0x27,
    VK_ADD = 0x6B,      // keypad plus
    VK_SUBTRACT = 0x6D, // keypad minus
    VK_F12 = 0x7B,
};

struct SAccel {
    std::uint8_t fVirt;
    std::uint16_t key;
    int nCmd;
};

// The accelerators of table nId (IDR_MAINFRAME); empty for any other.
std::span<const SAccel> LoadAccelerators(int nId);

} // namespace res
