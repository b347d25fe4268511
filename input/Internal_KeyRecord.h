#pragma once
// The per-key and per-button record that the input devices keep, record and replay.
#include <cstdint>

namespace Input {

// Five bytes, stored and sent exactly in this order.
struct KeyRecord {
  std::uint8_t held = 0;      // down now
  std::uint8_t wentDown = 0;  // went down in the last update only
  std::uint8_t wasHeld = 0;   // held at the previous update
  std::uint8_t down = 0;      // set like wentDown; read by IsDown
  std::uint8_t wentUp = 0;    // released in the last update only
};
static_assert(sizeof(KeyRecord) == 5, "KeyRecord is a 5-byte stored record");

// One update of a record from the key's state now; true when the key belongs in the change list
// (held now, or released in this update).
inline bool UpdateKeyRecord(KeyRecord& record, bool heldNow) {
  const bool wasHeld = record.wasHeld != 0;
  if (heldNow) {
    record.held = 1;
    record.wentDown = wasHeld ? 0 : 1;
    record.down = record.wentDown;
    record.wasHeld = 1;
    record.wentUp = 0;
    return true;
  }
  record.wentUp = wasHeld ? 1 : 0;
  record.held = record.wentDown = record.wasHeld = record.down = 0;
  return wasHeld;
}

}  // namespace Input
