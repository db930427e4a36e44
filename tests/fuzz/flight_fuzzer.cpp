// Feeds arbitrary bytes to the recorded-flight reader. Besides crashes and
// runaway allocations it stops on a broken promise: every snapshot of an
// accepted file reads back and writes out to the same bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "record/flight_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane::record;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Recording rec;
  try {
    rec = ParseRecording(bytes);
  } catch (const FormatError&) {
    return 0;
  }
  auto again = [](const std::string& snapshot) {
    veltrane::SimState s;
    ByteReader r(snapshot);
    int contacts = 0;
    ReadSnapshot(r, s, &contacts);
    s.Heli.ContactCount = contacts;
    if (EncodeSnapshot(s) != snapshot) {
      std::fprintf(stderr, "a snapshot does not write back to itself\n");
      std::abort();
    }
  };
  again(rec.start);
  for (const Recording::Check& c : rec.checks) again(c.state);
  for (const Recording::Event& e : rec.events)
    if (e.kind == Tag::State) again(e.state);
  return 0;
}
