#include "smtp/UUEncoder.h"

#include "ui/SysUtils.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr size_t LineBytes = 45;
// Input read per block: a whole number of lines.
constexpr size_t BlockLines = 1456;
constexpr size_t BlockBytes = LineBytes * BlockLines;

const char MimeAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Value 0 is the grave accent, 1 to 63 are "!" to "_".
const char UUAlphabet[] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";

// Two output characters for every 12-bit value, so a group of three bytes
// costs two look-ups.
struct TPairTable {
    explicit TPairTable(const char* alphabet)
    {
        for (unsigned value = 0; value < 4096; ++value) {
            Pairs[value][0] = alphabet[value >> 6];
            Pairs[value][1] = alphabet[value & 63];
        }
    }
    char Pairs[4096][2];
};

const TPairTable& PairTable(UUMethods method)
{
    static const TPairTable mime(MimeAlphabet);
    static const TPairTable uu(UUAlphabet);
    return method == uuMime ? mime : uu;
}

// Encodes one line of at most 45 bytes; returns the end of the output.
char* EncodeLine(UUMethods method, const char* alphabet, const TPairTable& table, const unsigned char* in,
                 size_t count, char* out)
{
    if (method == uuCode)
        *out++ = alphabet[count];
    size_t i = 0;
    for (; i + 3 <= count; i += 3) {
        const unsigned group = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        std::memcpy(out, table.Pairs[group >> 12], 2);
        std::memcpy(out + 2, table.Pairs[group & 4095], 2);
        out += 4;
    }
    const size_t left = count - i;
    if (left == 1) {
        const unsigned b1 = in[i];
        *out++ = alphabet[b1 >> 2];
        *out++ = alphabet[(b1 << 4) & 48];
        if (method == uuMime) {
            *out++ = '=';
            *out++ = '=';
        }
    } else if (left == 2) {
        const unsigned b1 = in[i], b2 = in[i + 1];
        *out++ = alphabet[b1 >> 2];
        *out++ = alphabet[((b1 << 4) & 48) | (b2 >> 4)];
        *out++ = alphabet[(b2 << 2) & 60];
        if (method == uuMime)
            *out++ = '=';
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

size_t ReadUpTo(TStream& stream, unsigned char* buffer, size_t count)
{
    size_t got = 0;
    while (got < count) {
        size_t n = stream.Read(buffer + got, count - got);
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace

uint64_t TUUProcessor::EncodedSize(UUMethods method, uint64_t size)
{
    const uint64_t lines = (size + LineBytes - 1) / LineBytes;
    const uint64_t characters = method == uuMime ? (size + 2) / 3 * 4 : size / 3 * 4 + (size % 3) + (size % 3 != 0);
    return characters + lines * (method == uuCode ? 3 : 2) + (method == uuCode ? 3 : 0);
}

void TUUProcessor::Encode()
{
    if (!InputStream || !OutputStream)
        throw Exception("No stream to encode");
    try {
        InputStream->SetPosition(0);
        Fire(OnBeginEncode, this);
        const char* alphabet = Method == uuMime ? MimeAlphabet : UUAlphabet;
        const TPairTable& table = PairTable(Method);

        if (auto* memory = dynamic_cast<TMemoryStream*>(OutputStream)) {
            const int64_t left = InputStream->Size() - InputStream->Position();
            if (left > 0)
                memory->Reserve(memory->DataSize() + EncodedSize(Method, static_cast<uint64_t>(left)));
        }
        std::vector<unsigned char> input(BlockBytes);
        // A line is at most 1 + 60 + 2 characters.
        std::vector<char> output(BlockLines * 64);
        for (;;) {
            const size_t got = ReadUpTo(*InputStream, input.data(), BlockBytes);
            if (got == 0)
                break;
            char* out = output.data();
            for (size_t offset = 0; offset < got; offset += LineBytes)
                out = EncodeLine(Method, alphabet, table, input.data() + offset, std::min(LineBytes, got - offset),
                                 out);
            OutputStream->WriteBuffer(output.data(), out - output.data());
            if (got < BlockBytes)
                break;
        }
        if (Method == uuCode) {
            const char last[] = {alphabet[0], '\r', '\n'};
            OutputStream->WriteBuffer(last, sizeof last);
        }
    } catch (...) {
        OutputStream->SetPosition(0);
        Fire(OnEndEncode, this);
        throw;
    }
    OutputStream->SetPosition(0);
    Fire(OnEndEncode, this);
}
