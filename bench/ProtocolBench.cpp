// Cost of building and reading packets, next to a memcpy of the same bytes as the floor.
//
// Every benchmark reports bytes per second over the bytes of the frames it makes or reads, so that
// "per byte" comparisons read straight off the report.

#include "oscar/Channel1.h"
#include "oscar/Channel2.h"
#include "oscar/FlapStreamReassembler.h"
#include "oscar/SplitSNAC.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

using pagewing::Channel1;
using pagewing::Channel2;

void ReportBytes(benchmark::State& state, std::size_t bytesPerIteration) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytesPerIteration));
}

// FLAP header, meta header, the fixed text of the XML document and the other five arguments below.
constexpr std::size_t SmsFrameOverhead = 6 + 50 + 226 + 5 + 4 + 9 + 3 + 3;

std::u16string MessageForFrameOf(std::size_t frameSize) {
    return std::u16string(frameSize - SmsFrameOverhead, u'm');
}

void BuildSms(benchmark::State& state, std::size_t messageLength) {
    Channel2 builder;
    const std::u16string message(messageLength, u'm');
    for (auto _ : state) {
        builder.SNAC1502(u"12345", message, u"1252", u"123456789", u"Ann", u"Yes");
        benchmark::DoNotOptimize(builder);
    }
    const auto frameSize = SmsFrameOverhead + messageLength;
    ReportBytes(state, frameSize);
    state.counters["frame_bytes"] = static_cast<double>(frameSize);
}

void BM_SNAC1502_140Characters(benchmark::State& state) {
    BuildSms(state, 140);
}

void BM_SNAC1502_1KiBFrame(benchmark::State& state) {
    BuildSms(state, MessageForFrameOf(1024).size());
}

void BM_SNAC1502_LargestFrame(benchmark::State& state) {
    BuildSms(state, MessageForFrameOf(6 + 65535).size());
}

void BM_LogInToICQString(benchmark::State& state) {
    Channel1 builder;
    for (auto _ : state) {
        builder.LogInToICQString(u"123456789", u"password");
        benchmark::DoNotOptimize(builder);
    }
    ReportBytes(state, 140);
}

std::vector<std::uint8_t> ReferenceSmsFrame() {
    Channel2 builder;
    builder.SNAC1502(u"12345", u"Hi", u"1252", u"123456789", u"Ann", u"Yes");
    return builder.ToByteArray();
}

void BM_SplitSNAC_ReferenceFrame(benchmark::State& state) {
    const auto frame = ReferenceSmsFrame();
    pagewing::SplitSNAC reader;
    for (auto _ : state) {
        reader.SplitPacket(frame);
        benchmark::DoNotOptimize(reader.GetSNACFamily());
    }
    ReportBytes(state, frame.size());
}

// 1 MiB of frames as a gateway sends them: SNAC replies of varying size and a few login-channel frames.
std::vector<std::uint8_t> MebibyteOfFrames() {
    std::mt19937 random(42);
    std::vector<std::uint8_t> wire;
    for (std::uint16_t sequence = 0; wire.size() < (1u << 20); ++sequence) {
        const bool snac = random() % 8 != 0;
        const auto length = static_cast<std::size_t>(snac ? 10 + random() % 600 : 4 + random() % 300);
        const std::uint8_t header[] = {0x2A,
                                       static_cast<std::uint8_t>(snac ? 2 : 4),
                                       static_cast<std::uint8_t>(sequence >> 8),
                                       static_cast<std::uint8_t>(sequence),
                                       static_cast<std::uint8_t>(length >> 8),
                                       static_cast<std::uint8_t>(length)};
        wire.insert(wire.end(), std::begin(header), std::end(header));
        for (std::size_t i = 0; i < length; ++i) {
            wire.push_back(static_cast<std::uint8_t>(i % 4 == 0 ? 0 : 'a' + i % 26));
        }
    }
    return wire;
}

std::vector<std::size_t> RandomPieces(std::size_t total) {
    std::mt19937 random(7);
    std::vector<std::size_t> pieces;
    for (std::size_t at = 0; at < total;) {
        const auto piece = std::min<std::size_t>(1 + random() % 3000, total - at);
        pieces.push_back(piece);
        at += piece;
    }
    return pieces;
}

void BM_ReassembleAndSplit_1MiB(benchmark::State& state) {
    const auto wire = MebibyteOfFrames();
    const auto pieces = RandomPieces(wire.size());
    for (auto _ : state) {
        pagewing::FlapStreamReassembler stream;
        pagewing::SplitSNAC reader;
        std::size_t at = 0;
        std::int64_t frames = 0;
        for (const auto piece : pieces) {
            stream.Append(std::span(wire).subspan(at, piece));
            at += piece;
            for (auto frame = stream.NextFrame(); !frame.empty(); frame = stream.NextFrame()) {
                reader.SplitPacket(frame);
                frames += reader.GetSucceed() ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(frames);
    }
    ReportBytes(state, wire.size());
}

void Memcpy(benchmark::State& state, std::size_t size) {
    const std::vector<std::uint8_t> source(size, 0x5A);
    std::vector<std::uint8_t> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::ClobberMemory();
    }
    ReportBytes(state, size);
}

void BM_Memcpy_1MiB(benchmark::State& state) {
    Memcpy(state, 1u << 20);
}

void BM_Memcpy_LargestFrame(benchmark::State& state) {
    Memcpy(state, 6 + 65535);
}

void BM_Memcpy_ReferenceFrame(benchmark::State& state) {
    Memcpy(state, 308);
}

} // namespace

BENCHMARK(BM_SNAC1502_140Characters);
BENCHMARK(BM_SNAC1502_1KiBFrame);
BENCHMARK(BM_SNAC1502_LargestFrame);
BENCHMARK(BM_LogInToICQString);
BENCHMARK(BM_SplitSNAC_ReferenceFrame);
BENCHMARK(BM_ReassembleAndSplit_1MiB);
BENCHMARK(BM_Memcpy_ReferenceFrame);
BENCHMARK(BM_Memcpy_LargestFrame);
BENCHMARK(BM_Memcpy_1MiB);

BENCHMARK_MAIN();
