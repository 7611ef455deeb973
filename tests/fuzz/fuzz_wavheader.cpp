// Any bytes as a WAV file: the header reader stays inside them, and a header it
// passes lies within every bound the sound relies on, with whole frames of
// samples inside the file.
#include "alarms/soundfile.h"
#include "fuzz/fuzzcheck.h"

#include <cstdlib>

using namespace ovra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const WavHeader h = readWavHeader(bytes);
    const bool named = !wavFaultText(h, QStringLiteral("f.wav")).isEmpty();
    CHECK(named == (h.fault != WavHeader::Fault::None));
    if (h.fault != WavHeader::Fault::None)
        return 0;
    CHECK(h.channels >= kMinSoundChannels && h.channels <= kMaxSoundChannels);
    CHECK(h.rate >= kMinSoundRate && h.rate <= kMaxSoundRate);
    CHECK(h.isFloat ? h.bits == 32 : (h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32));
    CHECK(h.dataBytes >= h.frameBytes() && h.dataBytes % h.frameBytes() == 0);
    CHECK(h.dataOffset >= 12 && h.dataOffset + h.dataBytes <= qint64(size));
    return 0;
}
