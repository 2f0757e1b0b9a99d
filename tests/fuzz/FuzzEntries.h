// The entry points the fuzzers drive, one per file format the program reads. The same functions
// replay the kept inputs in the normal test run. Each returns normally for any input; a fault it
// finds is a crash, a sanitizer report or a broken promise it checks (then it aborts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pellucard::fuzz {

using Entry = void (*)(const std::uint8_t* data, std::size_t size);

// A contact file as the contact folder reads it.
void vcard(const std::uint8_t* data, std::size_t size);
// A calendar or task file: the outline scan, then each event and task parsed and read.
void icalendar(const std::uint8_t* data, std::size_t size);
// The settings file: loaded, saved, and loaded again to the same values.
void settings(const std::uint8_t* data, std::size_t size);
// The registry file: parsed, and when it parses, written out and parsed again to the same keys.
void registry(const std::uint8_t* data, std::size_t size);
// A stored record of a volume: split into properties, unpacked as a read does, and turned into
// each of the four kinds of item.
void record(const std::uint8_t* data, std::size_t size);
// A file offered as a backup: checked, restored over a database, and the store opened on it.
void backup(const std::uint8_t* data, std::size_t size);

// The entry of that name, or null.
Entry entryNamed(std::string_view name);

}  // namespace pellucard::fuzz
