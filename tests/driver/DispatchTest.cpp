#include "FakeKernel.h"

extern "C" {
#include "driver/PortioRequest.h"
#include "driver/PortvaneControl.h"
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Reply {
    NTSTATUS status;
    ULONG_PTR information;
    std::vector<uint8_t> buffer;
};

// One request as the I/O manager hands it over for buffered transfer: a
// system buffer of max(input, output) bytes, the input copied in, and the
// rest holding stale bytes from earlier use.
Reply Control(ULONG code, const std::vector<uint8_t>& input, ULONG outputLength,
              const PORTVANE_CALLER_MEMORY* memory = nullptr)
{
    const auto inputLength = static_cast<ULONG>(input.size());
    std::vector<uint8_t> system(std::max(inputLength, outputLength), 0xCD);
    std::copy(input.begin(), input.end(), system.begin());
    ULONG_PTR information = 0xDEAD;
    const NTSTATUS status = PortvaneControl(code, system.empty() ? nullptr : system.data(), inputLength,
                                            outputLength, memory, &information);
    return {status, information, system};
}

// A request record whose every byte differs, with the port and value set.
std::vector<uint8_t> Record(uint16_t port, uint32_t value = 0, uint32_t buffer = 0, uint32_t count = 0)
{
    std::vector<uint8_t> record(PORTIO_REQUEST_SIZE);
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<uint8_t>(0x80 + i);
    PORTIO_REQUEST request;
    std::memcpy(&request, record.data(), sizeof request);
    request.Port = port;
    request.Value = value;
    request.Buffer = buffer;
    request.Count = count;
    std::memcpy(record.data(), &request, sizeof request);
    return record;
}

const std::vector<ULONG>& PortCodes()
{
    static const std::vector<ULONG> codes = [] {
        std::vector<ULONG> all;
        for (ULONG code = IOCTL_PORTIO_WRITE_UCHAR; code <= IOCTL_PORTIO_READ_BUFFER_ULONG; code += 4)
            all.push_back(code);
        return all;
    }();
    return codes;
}

// The memory of a calling process: `size` bytes from `base`; anything else
// is not the caller's.
class CCallerMemory {
public:
    CCallerMemory(ULONG base, size_t size) : m_base(base), m_bytes(size, 0xEE) {}

    const PORTVANE_CALLER_MEMORY* Get() { return &m_interface; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }
    int Accesses() const { return m_nAccesses; }

private:
    bool Owns(ULONG address, ULONG length) const
    {
        return address >= m_base && uint64_t{address} + length <= uint64_t{m_base} + m_bytes.size();
    }
    static NTSTATUS Read(void* context, ULONG address, void* destination, ULONG length)
    {
        auto* self = static_cast<CCallerMemory*>(context);
        ++self->m_nAccesses;
        if (!self->Owns(address, length))
            return STATUS_ACCESS_VIOLATION;
        std::memcpy(destination, self->m_bytes.data() + (address - self->m_base), length);
        return STATUS_SUCCESS;
    }
    static NTSTATUS Write(void* context, ULONG address, const void* source, ULONG length)
    {
        auto* self = static_cast<CCallerMemory*>(context);
        ++self->m_nAccesses;
        if (!self->Owns(address, length))
            return STATUS_ACCESS_VIOLATION;
        std::memcpy(self->m_bytes.data() + (address - self->m_base), source, length);
        return STATUS_SUCCESS;
    }

    ULONG m_base;
    std::vector<uint8_t> m_bytes;
    int m_nAccesses = 0;
    PORTVANE_CALLER_MEMORY m_interface{&CCallerMemory::Read, &CCallerMemory::Write, this};
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override { Fake().Reset(); }
};

} // namespace

TEST_F(Dispatch, ByteReadFillsOffsetFourAndLeavesTheRestAsSent)
{
    Fake().onRead = [](uint16_t port, unsigned) { return port == 0x379 ? 0xA7u : 0u; };
    const auto sent = Record(0x379, 0xA1B2C3D4, 0x11223344, 0x55667788);
    const Reply reply = Control(IOCTL_PORTIO_READ_UCHAR, sent, 24);

    EXPECT_EQ(reply.status, STATUS_SUCCESS);
    EXPECT_EQ(reply.information, 24u);
    auto expected = sent;
    expected[4] = 0xA7;
    EXPECT_EQ(reply.buffer, expected);
    EXPECT_EQ(Fake().ports, (std::vector<FakePortAccess>{{false, 1, 0x379, 0xA7}}));
}

TEST_F(Dispatch, SingleTransfersUseOneAccessOfTheirWidthAndOnlyTheirBytes)
{
    struct Case {
        ULONG code;
        unsigned width;
        bool bRead;
    };
    for (const Case& c : {Case{IOCTL_PORTIO_WRITE_UCHAR, 1, false}, Case{IOCTL_PORTIO_READ_UCHAR, 1, true},
                          Case{IOCTL_PORTIO_WRITE_USHORT, 2, false}, Case{IOCTL_PORTIO_READ_USHORT, 2, true},
                          Case{IOCTL_PORTIO_WRITE_ULONG, 4, false}, Case{IOCTL_PORTIO_READ_ULONG, 4, true}}) {
        SCOPED_TRACE(c.code);
        Fake().Reset();
        const uint32_t mask = c.width == 4 ? 0xFFFFFFFFu : (1u << (8 * c.width)) - 1;
        const auto sent = Record(0x378, 0xA1B2C3D4);
        const Reply reply = Control(c.code, sent, 24);
        EXPECT_EQ(reply.status, STATUS_SUCCESS);
        EXPECT_EQ(reply.information, 24u);

        auto expected = sent;
        if (c.bRead) {
            const uint32_t value = 0x44332211u & mask;
            std::memcpy(expected.data() + 4, &value, c.width);
            EXPECT_EQ(Fake().ports, (std::vector<FakePortAccess>{{false, c.width, 0x378, value}}));
        } else {
            EXPECT_EQ(Fake().ports, (std::vector<FakePortAccess>{{true, c.width, 0x378, 0xA1B2C3D4u & mask}}));
        }
        EXPECT_EQ(reply.buffer, expected);
    }
}

TEST_F(Dispatch, OutputBufferUnderTwentyFourBytesIsRefusedWithoutAccess)
{
    for (ULONG code : PortCodes()) {
        for (ULONG output : {23u, 0u}) {
            SCOPED_TRACE(testing::Message() << std::hex << code << " output " << output);
            const auto sent = Record(0x378, 0xFF, 0x1000, 4);
            const Reply reply = Control(code, output == 0 ? std::vector<uint8_t>{} : sent, output);
            EXPECT_EQ(reply.status, STATUS_BUFFER_TOO_SMALL);
            EXPECT_EQ(reply.information, 0u);
        }
    }
    EXPECT_TRUE(Fake().ports.empty());
}

TEST_F(Dispatch, OutsideTheKernelsPrivilegeLevelPortCodesFailWithoutAnAccess)
{
    Fake().bKernelMode = false;
    for (ULONG code : PortCodes()) {
        SCOPED_TRACE(code);
        const Reply reply = Control(code, Record(0x379, 0x12, 0x1000, 1), 24);
        EXPECT_EQ(reply.status, code == IOCTL_PORTIO_RESERVED ? STATUS_NOT_SUPPORTED : STATUS_PRIVILEGED_INSTRUCTION);
        EXPECT_EQ(reply.information, 0u);
    }
    EXPECT_TRUE(Fake().ports.empty());
    // The identification needs no port.
    EXPECT_EQ(Control(IOCTL_PORTIO_INFO, {}, 512).status, STATUS_SUCCESS);
}

TEST_F(Dispatch, ReservedCodeExecutesNothing)
{
    const auto sent = Record(0x378, 0x12345678, 0x401000, 1);
    const Reply reply = Control(IOCTL_PORTIO_RESERVED, sent, 24);
    EXPECT_EQ(reply.status, STATUS_NOT_SUPPORTED);
    EXPECT_EQ(reply.information, 0u);
    EXPECT_EQ(reply.buffer, sent);
    EXPECT_TRUE(Fake().ports.empty());
}

TEST_F(Dispatch, OtherCodesFailWithoutTouchingTheBuffer)
{
    // Past the last code, another transfer method, another access, another device type.
    for (ULONG code : {0x22E038u, 0x22E009u, 0x22A008u, 0x12E008u, 0u}) {
        SCOPED_TRACE(code);
        const auto sent = Record(0x379);
        const Reply reply = Control(code, sent, 64);
        EXPECT_FALSE(NT_SUCCESS(reply.status));
        EXPECT_EQ(reply.information, 0u);
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), reply.buffer.begin()));
        EXPECT_TRUE(std::all_of(reply.buffer.begin() + 24, reply.buffer.end(), [](uint8_t b) { return b == 0xCD; }));
    }
    EXPECT_TRUE(Fake().ports.empty());
}

TEST_F(Dispatch, IdentificationTextAndItsShortBuffer)
{
    const std::string expected = PortvaneIdentification;
    EXPECT_EQ(expected.rfind("Portvane Driver (sys)\n", 0), 0u);
    const std::string ending = "\n(Built Sat Jul 14 08:41:06 2001)";
    EXPECT_EQ(expected.substr(expected.size() - ending.size()), ending);
    EXPECT_EQ(expected.find('\r'), std::string::npos);
    EXPECT_EQ(PortvaneIdentificationSize(), expected.size() + 1);

    const Reply reply = Control(IOCTL_PORTIO_INFO, {}, 256);
    EXPECT_EQ(reply.status, STATUS_SUCCESS);
    EXPECT_EQ(reply.information, 256u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.buffer.data())), expected);
    // Nothing stale goes back behind the text.
    EXPECT_TRUE(std::all_of(reply.buffer.begin() + static_cast<long>(expected.size()), reply.buffer.end(),
                            [](uint8_t b) { return b == 0; }));

    // One byte short: refused, and (checked by the sanitizer on this exactly
    // sized buffer) nothing is written past it.
    const Reply shortReply = Control(IOCTL_PORTIO_INFO, {}, PortvaneIdentificationSize() - 1);
    EXPECT_EQ(shortReply.status, STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(shortReply.information, 0u);
    EXPECT_EQ(Control(IOCTL_PORTIO_INFO, {}, PortvaneIdentificationSize()).status, STATUS_SUCCESS);
    EXPECT_TRUE(Fake().ports.empty());
}

TEST_F(Dispatch, ShortInputIsReadAsZerosNotAsStaleMemory)
{
    const std::vector<uint8_t> portOnly = {0x78, 0x03};
    const Reply reply = Control(IOCTL_PORTIO_WRITE_UCHAR, portOnly, 24);
    EXPECT_EQ(reply.status, STATUS_SUCCESS);
    EXPECT_EQ(Fake().ports, (std::vector<FakePortAccess>{{true, 1, 0x378, 0}}));
    EXPECT_TRUE(std::all_of(reply.buffer.begin() + 2, reply.buffer.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(Dispatch, BufferCodesAreRefusedWithoutSafeAccessToTheCaller)
{
    for (ULONG code = IOCTL_PORTIO_WRITE_BUFFER_UCHAR; code <= IOCTL_PORTIO_READ_BUFFER_ULONG; code += 4) {
        for (uint32_t count : {0u, 5u}) {
            const Reply reply = Control(code, Record(0x378, 0, 0x401000, count), 24);
            EXPECT_EQ(reply.status, STATUS_NOT_SUPPORTED) << code;
            EXPECT_EQ(reply.information, 0u);
        }
    }
    EXPECT_TRUE(Fake().ports.empty());
}

TEST_F(Dispatch, BufferTransfersMoveCountElementsToOneFixedPort)
{
    struct Case {
        ULONG code;
        unsigned width;
        bool bRead;
    };
    const ULONG base = 0x401000;
    for (const Case& c : {Case{IOCTL_PORTIO_WRITE_BUFFER_UCHAR, 1, false},
                          Case{IOCTL_PORTIO_READ_BUFFER_UCHAR, 1, true},
                          Case{IOCTL_PORTIO_WRITE_BUFFER_USHORT, 2, false},
                          Case{IOCTL_PORTIO_READ_BUFFER_USHORT, 2, true},
                          Case{IOCTL_PORTIO_WRITE_BUFFER_ULONG, 4, false},
                          Case{IOCTL_PORTIO_READ_BUFFER_ULONG, 4, true}}) {
        SCOPED_TRACE(c.code);
        Fake().Reset();
        // More elements than one pass of the driver's stack chunk holds.
        const uint32_t count = 150;
        CCallerMemory memory(base, count * c.width + 8);
        for (size_t i = 0; i < memory.Bytes().size(); ++i)
            memory.Bytes()[i] = static_cast<uint8_t>(i * 13 + 1);
        const auto before = memory.Bytes();
        uint32_t next = 0x10000000;
        Fake().onRead = [&](uint16_t, unsigned) { return next++ * 0x01010101u; };

        const Reply reply = Control(c.code, Record(0x3BC, 0, base, count), 24, memory.Get());
        EXPECT_EQ(reply.status, STATUS_SUCCESS);
        EXPECT_EQ(reply.information, 24u);
        ASSERT_EQ(Fake().ports.size(), count);
        const uint32_t mask = c.width == 4 ? 0xFFFFFFFFu : (1u << (8 * c.width)) - 1;
        for (uint32_t i = 0; i < count; ++i) {
            const auto& access = Fake().ports[i];
            EXPECT_EQ(access.bWrite, !c.bRead);
            EXPECT_EQ(access.width, c.width);
            EXPECT_EQ(access.port, 0x3BC);
            uint32_t element = 0;
            std::memcpy(&element, memory.Bytes().data() + i * c.width, c.width);
            EXPECT_EQ(element & mask, access.value) << i;
        }
        if (!c.bRead) {
            EXPECT_EQ(memory.Bytes(), before);
        }
        // Past the last element the caller's memory is untouched.
        EXPECT_TRUE(std::equal(memory.Bytes().end() - 8, memory.Bytes().end(), before.end() - 8));
    }
}

TEST_F(Dispatch, BufferTransferOfNothingTouchesNothing)
{
    CCallerMemory memory(0x401000, 16);
    for (ULONG code = IOCTL_PORTIO_WRITE_BUFFER_UCHAR; code <= IOCTL_PORTIO_READ_BUFFER_ULONG; code += 4) {
        const Reply reply = Control(code, Record(0x378, 0, 0, 0), 24, memory.Get());
        EXPECT_EQ(reply.status, STATUS_SUCCESS);
        EXPECT_EQ(reply.information, 24u);
    }
    EXPECT_TRUE(Fake().ports.empty());
    EXPECT_EQ(memory.Accesses(), 0);
}

TEST_F(Dispatch, BufferNotTheCallersOwnFailsWithoutCrashing)
{
    CCallerMemory memory(0x401000, 64);
    // Starts inside and runs past the end: no part of a chunk that cannot be
    // read in full reaches the port.
    Reply reply = Control(IOCTL_PORTIO_WRITE_BUFFER_UCHAR, Record(0x378, 0, 0x401000 + 32, 100), 24, memory.Get());
    EXPECT_EQ(reply.status, STATUS_ACCESS_VIOLATION);
    EXPECT_EQ(reply.information, 0u);
    EXPECT_TRUE(Fake().ports.empty());

    // Reads are stored only where the caller may write.
    Fake().Reset();
    const auto before = memory.Bytes();
    reply = Control(IOCTL_PORTIO_READ_BUFFER_ULONG, Record(0x378, 0, 0x400FF0, 8), 24, memory.Get());
    EXPECT_EQ(reply.status, STATUS_ACCESS_VIOLATION);
    EXPECT_EQ(memory.Bytes(), before);

    // Ranges that wrap around the 32-bit address space are refused before any access.
    Fake().Reset();
    const int accesses = memory.Accesses();
    for (const auto& [address, count] : std::vector<std::pair<uint32_t, uint32_t>>{
             {0xFFFFFFF0u, 5u}, {0x401000u, 0xFFFFFFFFu}, {0x401000u, 0x40000000u}, {0x401000u, 0x40000001u}}) {
        reply = Control(IOCTL_PORTIO_READ_BUFFER_ULONG, Record(0x378, 0, address, count), 24, memory.Get());
        EXPECT_EQ(reply.status, STATUS_INVALID_PARAMETER) << address << " " << count;
    }
    EXPECT_TRUE(Fake().ports.empty());
    EXPECT_EQ(memory.Accesses(), accesses);
}
