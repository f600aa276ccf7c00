#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Where the settings live: one key with named values that are either strings
// or 32-bit numbers. A key is opened, read or written, and closed again
// within one load or save; nothing is held open.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    // False when the key does not exist or cannot be read.
    virtual bool OpenForRead() = 0;
    // Creates the key when missing; false when it cannot be written.
    virtual bool OpenForWrite() = 0;

    // A string value of at most `bufferChars` - 1 characters (the buffer
    // keeps room for its terminating zero); false when missing, of another
    // type or too long.
    virtual bool ReadString(const char* name, size_t bufferChars, std::string& value) = 0;
    // A 32-bit number value; false when missing or of another type.
    virtual bool ReadNumber(const char* name, uint32_t& value) = 0;

    virtual void WriteString(const char* name, const std::string& value) = 0;
    virtual void WriteNumber(const char* name, uint32_t value) = 0;

    // Ends a read or a write; false when written values could not be stored.
    virtual bool Close() = 0;
};
