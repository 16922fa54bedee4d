// The abstract input states the keyboard is bound to, and the set type that holds them.
#pragma once

#include <bitset>
#include <cstdint>

namespace tamtara {

enum InputState : std::uint8_t {
    inUp,
    inDown,
    inLeft,
    inRight,
    inButton1,
    inButton2,
    inButton3,
    inButton4,
    inButton5,
    inButton6,
    inButton7,
    inButton8,
    inButton9,
    inButton10,
    inButton11,
    inButton12,
    inButton13,
    inButton14,
    inButton15,
    inButton16,
    inButton17,
    inButton18,
    inButton19,
    inButton20,
    inButton21,
    inButton22,
    inButton23,
    inButton24,
    inButton25,
    inButton26,
    inButton27,
    inButton28,
    inButton29,
    inButton30,
    inButton31,
    inButton32,
};

inline constexpr int InputStateCount = 36;

// Button N as a state: inButton1 + (N - 1).
constexpr InputState ButtonState(int number) {
    return static_cast<InputState>(inButton1 + number - 1);
}

class TInputStates {
public:
    bool Contains(InputState state) const { return Bits.test(state); }
    void Include(InputState state) { Bits.set(state); }
    void Exclude(InputState state) { Bits.reset(state); }
    void Clear() { Bits.reset(); }
    bool Empty() const { return Bits.none(); }
    TInputStates& operator|=(const TInputStates& other) {
        Bits |= other.Bits;
        return *this;
    }
    bool operator==(const TInputStates&) const = default;

private:
    std::bitset<40> Bits; // room for 40 members, of which 36 are used
};

} // namespace tamtara
